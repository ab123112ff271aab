#include "tracks/ImportReport.h"

#include <algorithm>

void ImportReport::skipped(const std::string& reason, uint64_t line) {
    const auto known =
        std::find_if(skips_.begin(), skips_.end(), [&](const Skip& s) { return s.reason == reason; });
    if (known != skips_.end())
        ++known->count;
    else
        skips_.push_back({reason, 1, line});
}

std::string ImportReport::text(const std::string& file) const {
    std::string text = file + ": " + std::to_string(read_) + " points read, " +
                       std::to_string(skippedCount()) + " skipped, " + std::to_string(kept_) + " kept\n";
    for (const Skip& skip : skips_)
        text += "  " + std::to_string(skip.count) + " skipped: " + skip.reason + " (first at line " +
                std::to_string(skip.firstLine) + ")\n";
    return text;
}
