#include "converter/SkippedLines.h"

void SkippedLines::note(uint64_t lineNumber, uint64_t character, std::string reason) {
    if (count_++ != 0)
        return;
    firstLine_ = lineNumber;
    firstCharacter_ = character;
    firstReason_ = std::move(reason);
}

std::string SkippedLines::summary() const {
    if (count_ == 0)
        return {};
    std::string where = "line " + std::to_string(firstLine_);
    if (firstCharacter_ > 1)
        where += " from character " + std::to_string(firstCharacter_);
    where += ", " + firstReason_;
    if (count_ == 1)
        return "1 data line skipped (" + where + ")";
    return std::to_string(count_) + " data lines skipped (first: " + where + ")";
}
