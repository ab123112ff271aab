#include "ui/AngleText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace AngleText {

const char* symbol(Format format) {
    switch (format) {
    case Format::Degrees:
        return "°";
    case Format::Minutes:
        return "°'";
    case Format::Seconds:
        break;
    }
    return "°'\"";
}

Format next(Format format) {
    return format == Format::Degrees ? Format::Minutes : format == Format::Minutes ? Format::Seconds : Format::Degrees;
}

std::string format(double degrees, Format format) {
    char text[48];
    const char* sign = degrees < 0 ? "-" : "";
    const double whole = std::fabs(degrees);
    if (format == Format::Degrees) {
        std::snprintf(text, sizeof text, "%s%.6f°", sign, whole);
        return text;
    }
    // Rounded first at the shown precision, so that 59.99995 minutes never show as 60.0000.
    if (format == Format::Minutes) {
        const double minutes = std::round(whole * 60 * 1e4) / 1e4;
        const double d = std::floor(minutes / 60);
        std::snprintf(text, sizeof text, "%s%.0f° %.4f'", sign, d, minutes - d * 60);
        return text;
    }
    const double seconds = std::round(whole * 3600 * 100) / 100;
    const double d = std::floor(seconds / 3600);
    const double m = std::floor((seconds - d * 3600) / 60);
    std::snprintf(text, sizeof text, "%s%.0f° %.0f' %.2f\"", sign, d, m, seconds - d * 3600 - m * 60);
    return text;
}

std::optional<double> parse(const std::string& text) {
    double parts[3] = {0, 0, 0};
    int count = 0;
    bool negative = false;
    const char* at = text.c_str();
    while (*at != '\0' && count < 3) {
        if ((*at >= '0' && *at <= '9') || *at == '.' || (*at == '-' && count == 0)) {
            char* end = nullptr;
            const double value = std::strtod(at, &end);
            if (end == at) {
                ++at;
                continue;
            }
            if (count == 0)
                negative = value < 0 || *at == '-';
            parts[count++] = std::fabs(value);
            at = end;
        } else {
            ++at;
        }
    }
    if (count == 0 || parts[1] >= 60 || parts[2] >= 60 || !std::isfinite(parts[0]))
        return std::nullopt;
    const double value = parts[0] + parts[1] / 60 + parts[2] / 3600;
    return negative ? -value : value;
}

} // namespace AngleText
