#pragma once

#include <stdexcept>
#include <string>

// What is wrong with a scenario: a line that cannot be read ("scenario line N: what"), or the
// file as a whole (line 0: the text is given as it is).
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(int line, const std::string& what)
        : std::runtime_error(line > 0 ? "scenario line " + std::to_string(line) + ": " + what : what),
          line_(line) {}

    int line() const { return line_; }

private:
    int line_;
};
