#include "tracks/TrackText.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {

constexpr std::size_t kBlock = 1 << 16;

void appendDigits(std::string& out, uint64_t value, int width) {
    char digits[24];
    const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    const auto length = static_cast<int>(end - digits);
    if (length < width)
        out.append(static_cast<std::size_t>(width - length), '0');
    out.append(digits, end);
}

} // namespace

void appendFixed(std::string& out, double value, int decimals) {
    static constexpr double kScale[] = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const double scaled = std::round(std::fabs(value) * kScale[decimals]);
    if (!(scaled < 9e15)) { // beyond exact integers, or not a number
        char text[400];
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        out += text;
        return;
    }
    const auto units = static_cast<uint64_t>(scaled);
    const auto whole = static_cast<uint64_t>(kScale[decimals]);
    if (value < 0 && units != 0)
        out += '-';
    appendDigits(out, units / whole, 1);
    if (decimals > 0) {
        out += '.';
        appendDigits(out, units % whole, decimals);
    }
}

void appendIsoTime(std::string& out, double time) {
    using namespace std::chrono;
    const auto milliseconds = static_cast<int64_t>(std::llround(time * 1000));
    const int64_t secondsSince1970 = milliseconds >= 0 ? milliseconds / 1000 : (milliseconds - 999) / 1000;
    const auto fraction = static_cast<uint64_t>(milliseconds - secondsSince1970 * 1000);
    const sys_seconds at{seconds(secondsSince1970)};
    const sys_days day = floor<days>(at);
    const year_month_day date(day);
    const auto clock = static_cast<uint64_t>((at - day).count());
    appendDigits(out, static_cast<uint64_t>(std::max(0, static_cast<int>(date.year()))), 4);
    out += '-';
    appendDigits(out, static_cast<unsigned>(date.month()), 2);
    out += '-';
    appendDigits(out, static_cast<unsigned>(date.day()), 2);
    out += 'T';
    appendDigits(out, clock / 3600, 2);
    out += ':';
    appendDigits(out, clock / 60 % 60, 2);
    out += ':';
    appendDigits(out, clock % 60, 2);
    if (fraction != 0) {
        out += '.';
        appendDigits(out, fraction, 3);
    }
    out += 'Z';
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
