#include "system/Guid.h"

#include <cstdio>
#include <random>

namespace {

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Reads 2 * bytes hex digits at text[pos] as a big-endian number.
std::optional<uint32_t> hexNumber(std::string_view text, std::size_t pos, std::size_t bytes) {
    uint32_t value = 0;
    for (std::size_t i = pos; i < pos + 2 * bytes; ++i) {
        const int digit = hexValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

} // namespace

Guid Guid::create() {
    std::random_device random;
    Bytes bytes;
    for (std::size_t i = 0; i < bytes.size(); i += 4) {
        const uint32_t word = random();
        for (std::size_t j = 0; j < 4; ++j)
            bytes[i + j] = static_cast<uint8_t>(word >> (8 * j));
    }
    Guid guid = fromBytes(bytes);
    guid.data3 = static_cast<uint16_t>((guid.data3 & 0x0FFF) | 0x4000);  // version 4
    guid.data4[0] = static_cast<uint8_t>((guid.data4[0] & 0x3F) | 0x80); // RFC 4122 variant
    return guid;
}

std::optional<Guid> Guid::parse(std::string_view text) {
    if (text.size() == 38 && text.front() == '{' && text.back() == '}')
        text = text.substr(1, 36);
    if (text.size() != 36 || text[8] != '-' || text[13] != '-' || text[18] != '-' || text[23] != '-')
        return std::nullopt;
    // Byte offsets of data1, data2, data3 and the eight data4 bytes in the text.
    constexpr std::size_t data4At[8] = {19, 21, 24, 26, 28, 30, 32, 34};
    const auto d1 = hexNumber(text, 0, 4);
    const auto d2 = hexNumber(text, 9, 2);
    const auto d3 = hexNumber(text, 14, 2);
    if (!d1 || !d2 || !d3)
        return std::nullopt;
    Guid guid{*d1, static_cast<uint16_t>(*d2), static_cast<uint16_t>(*d3), {}};
    for (std::size_t i = 0; i < 8; ++i) {
        const auto byte = hexNumber(text, data4At[i], 1);
        if (!byte)
            return std::nullopt;
        guid.data4[i] = static_cast<uint8_t>(*byte);
    }
    return guid;
}

std::string Guid::toString() const {
    char text[37];
    std::snprintf(text, sizeof text, "%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", data1,
                  unsigned{data2}, unsigned{data3}, unsigned{data4[0]}, unsigned{data4[1]},
                  unsigned{data4[2]}, unsigned{data4[3]}, unsigned{data4[4]}, unsigned{data4[5]},
                  unsigned{data4[6]}, unsigned{data4[7]});
    return text;
}

Guid::Bytes Guid::toBytes() const {
    Bytes bytes{};
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(data1 >> (8 * i));
    for (std::size_t i = 0; i < 2; ++i) {
        bytes[4 + i] = static_cast<uint8_t>(data2 >> (8 * i));
        bytes[6 + i] = static_cast<uint8_t>(data3 >> (8 * i));
    }
    for (std::size_t i = 0; i < 8; ++i)
        bytes[8 + i] = data4[i];
    return bytes;
}

Guid Guid::fromBytes(const Bytes& bytes) {
    Guid guid{};
    for (std::size_t i = 0; i < 4; ++i)
        guid.data1 |= uint32_t{bytes[i]} << (8 * i);
    guid.data2 = static_cast<uint16_t>(bytes[4] | bytes[5] << 8);
    guid.data3 = static_cast<uint16_t>(bytes[6] | bytes[7] << 8);
    for (std::size_t i = 0; i < 8; ++i)
        guid.data4[i] = bytes[8 + i];
    return guid;
}
