#pragma once

#include <cstdint>

// The failures the module and the converter report, numbered as their texts are (the numbers
// appear in no file, but every user and log text is chosen by them).
enum class ErrorCode : uint32_t {
    InitializationFailed = 0,
    NotCompatible = 1,        // the simulator's version
    AircraftNotCreated = 2,
    InvalidAircraftId = 3,
    AllocationFailed = 4,
    TempFileNotOpened = 5,
    TempFileWriteFailed = 6,
    TempFileReadFailed = 7,
    FileNotOpened = 8,
    FileReadFailed = 9,
    FileWriteFailed = 10,
    InvalidFile = 11,         // damaged, or a format this program does not read
    RenameFailed = 12,
    VideoNotOpened = 13,
    WindowNotResized = 14,    // to the video's size
    WindowResized = 15,       // during video rendering
    Unexpected = 16,          // a condition that should not occur; the detail says which
};

constexpr uint32_t kErrorCodeCount = static_cast<uint32_t>(ErrorCode::Unexpected) + 1;
