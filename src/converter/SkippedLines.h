#pragma once

#include <cstdint>
#include <string>

// The data lines an import leaves out (a value missing or malformed, or no "#Data:" line before
// them), as the user is told of them: how many, and why the first one was. A line longer than a
// read is read as several; each piece counts as a line, known by where it starts.
class SkippedLines {
public:
    // Only the first line's reason is kept, so it is asked for only then.
    bool wantsReason() const { return count_ == 0; }
    // `character` is where in its line the skipped piece starts (1 for a whole line).
    void note(uint64_t lineNumber, uint64_t character, std::string reason = {});

    uint64_t count() const { return count_; }
    // "74 data lines skipped (first: line 362, column windDir: "-167" is not an unsigned
    // number)"; empty when none was.
    std::string summary() const;

private:
    uint64_t count_ = 0;
    uint64_t firstLine_ = 0;
    uint64_t firstCharacter_ = 1;
    std::string firstReason_;
};
