#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The data lines an import leaves out (a value missing or malformed, or no "#Data:" line before
// them), as the user is told of them: how many, and why the first one was.
class SkippedLines {
public:
    // Only the first line's reason is kept, so it is asked for only then.
    bool wantsReason() const { return count_ == 0; }
    void note(uint64_t lineNumber, std::string reason = {});

    uint64_t count() const { return count_; }
    // "74 data lines skipped (first: line 362, column windDir: "-167" is not an unsigned
    // number)"; empty when none was.
    std::string summary() const;

private:
    uint64_t count_ = 0;
    uint64_t firstLine_ = 0;
    std::string firstReason_;
};
