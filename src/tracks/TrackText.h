#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

// Text for a stream, gathered in a block and written a block at a time, with numbers and times as
// the track formats write them: whatever the locale, fast enough for millions of points.
class TextBlock {
public:
    explicit TextBlock(std::ostream& out);
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    TextBlock& operator<<(std::string_view text);
    TextBlock& operator<<(char c);
    // "47.12345678" for 8 decimals; never "-0.000".
    TextBlock& fixed(double value, int decimals);
    // "2024-05-01T08:00:01Z", or "...:01.500Z" where the time has a fraction of a second (to the
    // millisecond).
    TextBlock& isoTime(double time);
    // Writes what it holds; the caller checks the stream.
    void flush();

private:
    void makeRoom(std::size_t bytes);

    std::ostream& out_;
    std::vector<char> block_;
    std::size_t used_ = 0;
    // The date part of the last day written, which the next times nearly always share.
    long long day_ = -1;
    char datePart_[11] = {};
};

// The text with &, <, >, " and ' written as XML entities, and control characters left out.
std::string xmlEscaped(std::string_view text);
