#include "text/Utf8.h"

#include <cstdint>

void appendUtf8(std::string& out, char32_t point) {
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (point >> 18));
        out += static_cast<char>(0x80 | ((point >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

std::optional<char32_t> nextUtf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t lead = byte(at);
    const std::size_t length = lead < 0x80                  ? 1
                               : lead >= 0xC2 && lead < 0xE0 ? 2
                               : lead >= 0xE0 && lead < 0xF0 ? 3
                               : lead >= 0xF0 && lead < 0xF5 ? 4
                                                             : 0;
    if (length == 0 || at + length > text.size())
        return std::nullopt;
    char32_t point = static_cast<char32_t>(length == 1 ? lead : lead & (0x7F >> length));
    for (std::size_t i = 1; i < length; ++i) {
        const uint8_t next = byte(at + i);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        point = (point << 6) | static_cast<char32_t>(next & 0x3F);
    }
    constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (point < kShortest[length] || point > 0x10FFFF || (point >= 0xD800 && point < 0xE000))
        return std::nullopt;
    at += length;
    return point;
}
