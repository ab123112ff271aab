#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What an import made of a file's points: how many it read, kept and skipped, and for each reason
// a point was skipped how often and the first line where it was.
class ImportReport {
public:
    struct Skip {
        std::string reason;
        uint64_t count = 0;
        uint64_t firstLine = 0;
    };

    void read() { ++read_; }
    void kept() { ++kept_; }
    void skipped(const std::string& reason, uint64_t line);

    uint64_t readCount() const { return read_; }
    uint64_t keptCount() const { return kept_; }
    uint64_t skippedCount() const { return read_ - kept_; }
    const std::vector<Skip>& skips() const { return skips_; }
    // "FILE: 14819 points read, 1 skipped, 14818 kept", then a line per reason:
    // "  1 skipped: the time stamp repeats the one before (first at line 1234)".
    std::string text(const std::string& file) const;

private:
    uint64_t read_ = 0;
    uint64_t kept_ = 0;
    std::vector<Skip> skips_;
};
