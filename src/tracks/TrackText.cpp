#include "tracks/TrackText.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::size_t kBlock = 1 << 16;

// "00" to "99", two digits at a time being half the divisions.
constexpr auto kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[static_cast<std::size_t>(2 * i)] = static_cast<char>('0' + i / 10);
        pairs[static_cast<std::size_t>(2 * i + 1)] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// Writes `value` with at least `width` digits (leading zeros) ending at `end`; returns where it begins.
template <typename Unsigned>
[[gnu::always_inline]] inline char* digitsBefore(char* end, Unsigned value, int width) {
    while (value >= 10 || width > 1) {
        const std::size_t pair = 2 * static_cast<std::size_t>(value % 100);
        *--end = kDigitPairs[pair + 1];
        *--end = kDigitPairs[pair];
        value /= 100;
        width -= 2;
        if (value == 0 && width <= 0)
            return end;
    }
    *--end = static_cast<char>('0' + value);
    return end;
}

} // namespace

TextBlock::TextBlock(std::ostream& out) : out_(out), block_(kBlock) {}

void TextBlock::flush() {
    out_.write(block_.data(), static_cast<std::streamsize>(used_));
    used_ = 0;
}

TextBlock& TextBlock::appendLong(std::string_view text) {
    if (text.size() > block_.size() / 2) {
        flush();
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        return *this;
    }
    std::memcpy(makeRoom(text.size()), text.data(), text.size());
    used_ += text.size();
    return *this;
}

TextBlock& TextBlock::operator<<(char c) {
    makeRoom(1);
    block_[used_++] = c;
    return *this;
}

TextBlock& TextBlock::fixed(double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const double scaled = std::fabs(value) * kScale[decimals] + 0.5; // rounded as it is cut
    if (!(scaled < 9e15)) {                                          // beyond exact integers, or not a number
        char text[400];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        return *this << std::string_view(text);
    }
    const auto units = static_cast<uint64_t>(scaled);
    const auto whole = static_cast<uint64_t>(kScale[decimals]);
    const uint64_t integer = units / whole;
    std::size_t integerDigits = 1;
    for (uint64_t rest = integer; rest >= 10; rest /= 10)
        ++integerDigits;
    const bool negative = value < 0 && units != 0;
    const std::size_t length =
        (negative ? 1 : 0) + integerDigits + (decimals > 0 ? 1 + static_cast<std::size_t>(decimals) : 0);
    // Written straight into the block, from its last digit back.
    char* begin = makeRoom(length) + length;
    if (decimals > 0) {
        begin = digitsBefore(begin, static_cast<uint32_t>(units % whole), decimals);
        *--begin = '.';
    }
    begin = digitsBefore(begin, integer, 1);
    if (negative)
        *--begin = '-';
    used_ += length;
    return *this;
}

TextBlock& TextBlock::isoTime(double time) {
    using namespace std::chrono;
    const auto milliseconds = static_cast<int64_t>(std::llround(time * 1000));
    const int64_t secondsSince1970 = milliseconds >= 0 ? milliseconds / 1000 : (milliseconds - 999) / 1000;
    const auto fraction = static_cast<uint64_t>(milliseconds - secondsSince1970 * 1000);
    const int64_t day = secondsSince1970 >= 0 ? secondsSince1970 / 86400 : (secondsSince1970 - 86399) / 86400;
    if (day != day_) {
        const year_month_day date{sys_days{days{day}}};
        char* end = datePart_ + sizeof datePart_;
        *--end = 'T';
        end = digitsBefore(end, static_cast<unsigned>(date.day()), 2);
        *--end = '-';
        end = digitsBefore(end, static_cast<unsigned>(date.month()), 2);
        *--end = '-';
        digitsBefore(end, static_cast<uint64_t>(std::clamp(static_cast<int>(date.year()), 0, 9999)), 4);
        day_ = day;
    }
    const auto clock = static_cast<uint64_t>(secondsSince1970 - day * 86400);
    // "YYYY-MM-DDT" "HH:MM:SS" [".mmm"] "Z", straight into the block.
    const std::size_t length = sizeof datePart_ + 9 + (fraction != 0 ? 4 : 0);
    char* const at = makeRoom(length);
    std::memcpy(at, datePart_, sizeof datePart_);
    char* begin = at + length;
    *--begin = 'Z';
    if (fraction != 0) {
        begin = digitsBefore(begin, fraction, 3);
        *--begin = '.';
    }
    begin = digitsBefore(begin, clock % 60, 2);
    *--begin = ':';
    begin = digitsBefore(begin, clock / 60 % 60, 2);
    *--begin = ':';
    digitsBefore(begin, clock / 3600, 2);
    used_ += length;
    return *this;
}

std::string xmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\'':
            escaped += "&apos;";
            break;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n')
                escaped += c;
        }
    }
    return escaped;
}
