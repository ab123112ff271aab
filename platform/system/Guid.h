#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A 128-bit identifier laid out like the original platform's GUID, so that the 16 bytes stored in
// recording and camera files keep their meaning.
struct Guid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];

    using Bytes = std::array<uint8_t, 16>;

    // A random RFC 4122 version 4 identifier.
    static Guid create();
    // "xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx", optionally in braces, hex digits in either case.
    static std::optional<Guid> parse(std::string_view text);
    // The text form above in lower case, without braces.
    std::string toString() const;

    // data1, data2 and data3 little-endian, then data4, as the structure sits in memory there.
    Bytes toBytes() const;
    static Guid fromBytes(const Bytes& bytes);

    friend bool operator==(const Guid&, const Guid&) = default;
};
