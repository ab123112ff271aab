#pragma once

#include <chrono>
#include <string>

// One line of progress on the terminal's standard error, rewritten in place at most ten times a
// second; nothing at all when standard error is not a terminal (a log file gets no progress).
class TerminalLine {
public:
    TerminalLine();

    // Whether a new text is due now; when it is, the next show() writes it.
    bool due();
    void show(const std::string& text);
    // Takes the line away before other output follows.
    void clear();

private:
    bool shown_;
    std::chrono::steady_clock::time_point last_{};
};
