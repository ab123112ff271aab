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
char* digitsBefore(char* end, uint64_t value, int width) {
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

void appendFixed(std::string& out, double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const double scaled = std::fabs(value) * kScale[decimals] + 0.5; // rounded as it is cut
    if (!(scaled < 9e15)) { // beyond exact integers, or not a number
        char text[400];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        out += text;
        return;
    }
    const auto units = static_cast<uint64_t>(scaled);
    const auto whole = static_cast<uint64_t>(kScale[decimals]);
    char text[48];
    char* const end = text + sizeof text;
    char* begin = end;
    if (decimals > 0) {
        begin = digitsBefore(begin, units % whole, decimals);
        *--begin = '.';
    }
    begin = digitsBefore(begin, units / whole, 1);
    if (value < 0 && units != 0)
        *--begin = '-';
    out.append(begin, end);
}

void appendIsoTime(std::string& out, double time) {
    using namespace std::chrono;
    // The date part of the last day written, which the next times nearly always share.
    thread_local int64_t lastDay = INT64_MIN;
    thread_local char datePart[16];
    const auto milliseconds = static_cast<int64_t>(std::llround(time * 1000));
    const int64_t secondsSince1970 = milliseconds >= 0 ? milliseconds / 1000 : (milliseconds - 999) / 1000;
    const auto fraction = static_cast<uint64_t>(milliseconds - secondsSince1970 * 1000);
    const int64_t day = secondsSince1970 >= 0 ? secondsSince1970 / 86400 : (secondsSince1970 - 86399) / 86400;
    if (day != lastDay) {
        const year_month_day date{sys_days{days{day}}};
        char* end = datePart + 11;
        *--end = 'T';
        end = digitsBefore(end, static_cast<unsigned>(date.day()), 2);
        *--end = '-';
        end = digitsBefore(end, static_cast<unsigned>(date.month()), 2);
        *--end = '-';
        digitsBefore(end, static_cast<uint64_t>(std::clamp(static_cast<int>(date.year()), 0, 9999)), 4);
        lastDay = day;
    }
    const auto clock = static_cast<uint64_t>(secondsSince1970 - day * 86400);
    char text[32];
    char* const end = text + sizeof text;
    char* begin = end;
    *--begin = 'Z';
    if (fraction != 0) {
        begin = digitsBefore(begin, fraction, 3);
        *--begin = '.';
    }
    begin = digitsBefore(begin, clock % 60, 2);
    *--begin = ':';
    begin = digitsBefore(begin, clock / 60 % 60, 2);
    *--begin = ':';
    begin = digitsBefore(begin, clock / 3600, 2);
    out.append(datePart, 11);
    out.append(begin, end);
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

void flushText(std::string& text, std::ostream& out, bool force) {
    if (text.size() >= kBlock || force) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        text.clear();
    }
}
