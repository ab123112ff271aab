#include "tracks/IsoTime.h"

#include <chrono>
#include <cstdint>
#include <cstring>

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
    // "YYYY-MM-DDTHH:MM:SS" (or a space for the T) at fixed places, then a fraction and a zone.
    if (text.size() < 19 || text[4] != '-' || text[7] != '-' || (text[10] != 'T' && text[10] != ' ') ||
        text[13] != ':' || text[16] != ':')
        return std::nullopt;
    const auto twoDigits = [text](std::size_t at) {
        const auto tens = static_cast<unsigned>(text[at] - '0'),
                   ones = static_cast<unsigned>(text[at + 1] - '0');
        return tens < 10 && ones < 10 ? static_cast<int>(tens * 10 + ones) : -1;
    };
    const int hours = twoDigits(11), minutes = twoDigits(14), seconds = twoDigits(17);
    if ((hours | minutes | seconds) < 0 || hours > 23 || minutes > 59 || seconds > 60)
        return std::nullopt;
    // A track's points mostly share their date with the one before: the last date read (its
    // first eight characters and its last two, as two numbers), and its day, are kept (one for
    // each thread) instead of worked out again.
    thread_local uint64_t lastHead = 0;
    thread_local uint16_t lastTail = 0;
    thread_local double lastDay = 0;
    uint64_t head = 0;
    uint16_t tail = 0;
    std::memcpy(&head, text.data(), sizeof head);
    std::memcpy(&tail, text.data() + sizeof head, sizeof tail);
    if (head != lastHead || tail != lastTail) {
        const int century = twoDigits(0), year = twoDigits(2), month = twoDigits(5), day = twoDigits(8);
        if ((century | year | month | day) < 0)
            return std::nullopt;
        const std::chrono::year_month_day date{std::chrono::year(century * 100 + year),
                                               std::chrono::month(static_cast<unsigned>(month)),
                                               std::chrono::day(static_cast<unsigned>(day))};
        if (!date.ok())
            return std::nullopt;
        lastDay = static_cast<double>(std::chrono::sys_days(date).time_since_epoch().count());
        lastHead = head;
        lastTail = tail;
    }
    double time = lastDay * 86400 + hours * 3600.0 + minutes * 60.0 + seconds;
    std::size_t at = 19;
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
