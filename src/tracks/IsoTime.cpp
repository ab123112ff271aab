#include "tracks/IsoTime.h"

#include <chrono>

namespace {

// The number of `count` digits at text[at], moving `at` past them.
std::optional<int> number(std::string_view text, std::size_t& at, std::size_t count) {
    if (at + count > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = 0; i < count; ++i, ++at) {
        if (text[at] < '0' || text[at] > '9')
            return std::nullopt;
        value = value * 10 + (text[at] - '0');
    }
    return value;
}

bool expect(std::string_view text, std::size_t& at, char c) {
    if (at >= text.size() || text[at] != c)
        return false;
    ++at;
    return true;
}

} // namespace

std::optional<double> parseIsoTime(std::string_view text) {
    std::size_t at = 0;
    const auto year = number(text, at, 4);
    if (!year || !expect(text, at, '-'))
        return std::nullopt;
    const auto month = number(text, at, 2);
    if (!month || !expect(text, at, '-'))
        return std::nullopt;
    const auto day = number(text, at, 2);
    if (!day || !(expect(text, at, 'T') || expect(text, at, ' ')))
        return std::nullopt;
    const auto hours = number(text, at, 2);
    if (!hours || !expect(text, at, ':'))
        return std::nullopt;
    const auto minutes = number(text, at, 2);
    if (!minutes || !expect(text, at, ':'))
        return std::nullopt;
    const auto seconds = number(text, at, 2);
    if (!seconds || *hours > 23 || *minutes > 59 || *seconds > 60)
        return std::nullopt;
    const std::chrono::year_month_day date{std::chrono::year(*year),
                                           std::chrono::month(static_cast<unsigned>(*month)),
                                           std::chrono::day(static_cast<unsigned>(*day))};
    if (!date.ok())
        return std::nullopt;
    double time = static_cast<double>(std::chrono::sys_days(date).time_since_epoch().count()) * 86400 +
                  *hours * 3600.0 + *minutes * 60.0 + *seconds;
    if (expect(text, at, '.') || expect(text, at, ',')) {
        double scale = 0.1;
        const std::size_t first = at;
        for (; at < text.size() && text[at] >= '0' && text[at] <= '9' && at - first < 9; ++at, scale /= 10)
            time += (text[at] - '0') * scale;
        if (at == first)
            return std::nullopt;
    }
    if (at == text.size() || expect(text, at, 'Z'))
        return at == text.size() ? std::optional(time) : std::nullopt;
    const bool ahead = text[at] == '+';
    if (!ahead && text[at] != '-')
        return std::nullopt;
    ++at;
    const auto offsetHours = number(text, at, 2);
    if (!offsetHours)
        return std::nullopt;
    expect(text, at, ':');
    const auto offsetMinutes = number(text, at, 2);
    if (!offsetMinutes || at != text.size() || *offsetHours > 14 || *offsetMinutes > 59)
        return std::nullopt;
    const double offset = *offsetHours * 3600.0 + *offsetMinutes * 60.0;
    return ahead ? time - offset : time + offset;
}
