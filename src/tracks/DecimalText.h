#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

namespace decimal_text {

// Eight ASCII digits from `at` as one number, when they are eight digits: read as one word and
// added up pairwise (a logged number is mostly eight digits after its point).
[[gnu::always_inline]] inline bool eightDigits(const char* at, uint64_t& value) {
    if constexpr (std::endian::native != std::endian::little)
        return false;
    uint64_t word = 0;
    std::memcpy(&word, at, sizeof word);
    const uint64_t less = word - 0x3030303030303030;
    if (((word + 0x4646464646464646) | less) & 0x8080808080808080)
        return false; // some byte below '0' or above '9'
    uint64_t pairs = less * 10 + (less >> 8);
    pairs = ((pairs & 0x000000FF000000FF) * (100 + (1000000ULL << 32)) +
             ((pairs >> 16) & 0x000000FF000000FF) * (1 + (10000ULL << 32))) >>
            32;
    value = pairs;
    return true;
}

// "-47.12345678" and the like, the numbers track files are made of, without from_chars: digits
// with a point, at most 15 of them, are an integer divided by a power of ten, which is exact to
// the last bit (both are exact doubles and the division rounds once). Anything else is left to
// from_chars. Inline where numbers are read, as a call of its own costs a fifth of it.
[[gnu::always_inline]] inline bool simpleDecimal(std::string_view text, double& number) {
    static constexpr double kPowers[] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = !text.empty() && text.front() == '-';
    const char* at = text.data() + (negative ? 1 : 0);
    const char* const end = text.data() + text.size();
    uint64_t digits = 0;
    const auto addDigits = [&]() __attribute__((always_inline)) {
        for (; at < end && static_cast<unsigned char>(*at - '0') < 10; ++at)
            digits = digits * 10 + static_cast<uint64_t>(*at - '0');
    };
    // The whole part is a few digits, the fraction often eight.
    const char* const first = at;
    addDigits();
    const auto wholeDigits = at - first;
    std::ptrdiff_t fraction = 0;
    if (at < end && *at == '.') {
        const char* const point = ++at;
        uint64_t eight = 0;
        if (end - at >= 8 && eightDigits(at, eight)) {
            digits = digits * 100000000 + eight;
            at += 8;
        }
        addDigits();
        fraction = at - point;
    }
    if (at != end || wholeDigits + fraction == 0 || wholeDigits + fraction > 15)
        return false;
    const double value = static_cast<double>(digits) / kPowers[fraction];
    number = negative ? -value : value;
    return true;
}

} // namespace decimal_text

// What readDecimal leaves to the library: spaces around the number, a plus, exponents, long ones.
bool readOtherDecimal(std::string_view text, double& number);

// A decimal number as track files write them ("47.5", " -3 ", "+8.5", "1e3"), whatever the
// locale, into `number`; false, with `number` as it was, for anything else, infinities and NaN
// included. Nearly every number comes without spaces or a plus, and is read in place.
[[gnu::always_inline]] inline bool readDecimal(std::string_view text, double& number) {
    return decimal_text::simpleDecimal(text, number) || readOtherDecimal(text, number);
}

// The same as an optional, nothing for what is no number.
[[gnu::always_inline]] inline std::optional<double> decimalNumber(std::string_view text) {
    double number = 0;
    return readDecimal(text, number) ? std::optional<double>(number) : std::nullopt;
}
