#pragma once

#include <cstdint>

#include "common/FlightData.h"

// The on-disk headers of a recording file, exactly as stored (packed, little-endian); the format
// is described in docs/formats/zfl.md.
namespace Zfl {

constexpr char kMagic[4] = {'Z', 'F', 'L', '2'};
constexpr uint32_t kMajorVersion = 1;
constexpr uint32_t kMinorVersion = 3;
constexpr uint32_t kVersion = (kMajorVersion << 16) | kMinorVersion;
// Minor versions before this one had no markers and fewer data groups.
constexpr uint32_t kFirstMinorWithMarkers = 2;

constexpr uint32_t kTitleBytes = 256;
constexpr uint32_t kTailNumberBytes = 10;
constexpr uint32_t kMaxMarkerText = 255;
constexpr uint32_t kCameraIdBytes = 16;

#pragma pack(push, 1)

struct FileHeader {
    char magic[4];
    uint32_t version; // major << 16 | minor
    uint16_t headerSize;
    uint32_t tracksSize; // all track headers and track data
    uint32_t nTracks;
    uint32_t markersSize; // minor version 2 and later
    uint32_t nMarkers;    // minor version 2 and later
};
static_assert(sizeof(FileHeader) == 26);

// Bytes of the file header that every minor version has (up to and including nTracks).
constexpr uint32_t kFileHeaderCoreSize = 18;

struct TrackHeader {
    uint16_t headerSize;
    uint32_t dataSize; // bytes of track data after the header
    char title[kTitleBytes];
    char tailNumber[kTailNumberBytes];
    float staticCGtoGround;
    DataFormat format;
    uint32_t nCont;
    uint32_t nDisc;
    uint64_t trackDigest; // 0 = none
};
static_assert(sizeof(TrackHeader) == 309);

// The fixed leading fields of a marker record.
struct MarkerHead {
    uint16_t length; // bytes after this field
    uint32_t time;
    uint32_t type;
    uint32_t flags;
    uint8_t textLength;
};
static_assert(sizeof(MarkerHead) == 15);

#pragma pack(pop)

// Bytes a marker's length field must at least cover: time, type, flags and the text length.
constexpr uint32_t kMarkerKnownFields = sizeof(MarkerHead) - sizeof(uint16_t);

} // namespace Zfl
