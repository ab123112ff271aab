#include "tracks/TrackText.h"

#include <chrono>
#include <cmath>
#include <cstdio>

std::string degreesText(double degrees) {
    char text[32];
    std::snprintf(text, sizeof text, "%.8f", degrees);
    return text;
}

std::string millesimalText(double value) {
    if (std::fabs(value) < 0.0005)
        value = 0; // never "-0.000"
    char text[48];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string isoTimeText(double time) {
    using namespace std::chrono;
    const auto milliseconds = static_cast<int64_t>(std::llround(time * 1000));
    const sys_seconds at{seconds(milliseconds >= 0 ? milliseconds / 1000 : (milliseconds - 999) / 1000)};
    const int fraction = static_cast<int>(milliseconds - at.time_since_epoch().count() * 1000);
    const sys_days day = floor<days>(at);
    const year_month_day date(day);
    const hh_mm_ss<seconds> clock(at - day);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
                  static_cast<int>(clock.seconds().count()));
    std::string result = text;
    if (fraction != 0) {
        std::snprintf(text, sizeof text, ".%03d", fraction);
        result += text;
    }
    return result + "Z";
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
