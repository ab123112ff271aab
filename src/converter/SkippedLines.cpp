#include "converter/SkippedLines.h"

void SkippedLines::note(uint64_t lineNumber, std::string reason) {
    if (count_++ != 0)
        return;
    firstLine_ = lineNumber;
    firstReason_ = std::move(reason);
}

std::string SkippedLines::summary() const {
    if (count_ == 0)
        return {};
    const std::string where = "line " + std::to_string(firstLine_) + ", " + firstReason_;
    if (count_ == 1)
        return "1 data line skipped (" + where + ")";
    return std::to_string(count_) + " data lines skipped (first: " + where + ")";
}
