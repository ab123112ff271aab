#pragma once

#include <cstddef>
#include <cstring>
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

    // Inline, so that the copy of a literal, the most of what is written, is a few moves.
    TextBlock& operator<<(std::string_view text) {
        if (text.size() > block_.size() - used_)
            return appendLong(text);
        std::memcpy(block_.data() + used_, text.data(), text.size());
        used_ += text.size();
        return *this;
    }
    TextBlock& operator<<(char c);
    // "47.12345678" for 8 decimals; never "-0.000".
    TextBlock& fixed(double value, int decimals);
    // "2024-05-01T08:00:01Z", or "...:01.500Z" where the time has a fraction of a second (to the
    // millisecond).
    TextBlock& isoTime(double time);
    // Writes what it holds; the caller checks the stream.
    void flush();

private:
    TextBlock& appendLong(std::string_view text);
    // Room for `bytes` more in the block, which is flushed where it has not; where they go.
    char* makeRoom(std::size_t bytes) {
        if (block_.size() - used_ < bytes)
            flush();
        return block_.data() + used_;
    }

    std::ostream& out_;
    std::vector<char> block_;
    std::size_t used_ = 0;
    // The date part of the last day written, which the next times nearly always share.
    long long day_ = -1;
    char datePart_[11] = {};
};

// The text with &, <, >, " and ' written as XML entities, and control characters left out.
std::string xmlEscaped(std::string_view text);
