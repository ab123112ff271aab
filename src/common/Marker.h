#pragma once

#include <array>
#include <cstdint>
#include <string>

// A marker of a recording: at its time, playback acts on it by type.
struct Marker {
    enum Type : uint32_t { None = 0, PlaySound = 1, DisplayText = 2, Pause = 3, SwitchCamera = 4 };
    static constexpr uint32_t kChapter = 0x80000000u; // flags bit: the marker starts a chapter
    // A sound's flags: the kinds of view it plays in.
    static constexpr uint32_t kInsideViews = 0x1;
    static constexpr uint32_t kOutsideViews = 0x2;
    // A text's flags: the seconds it stays, and whether it scrolls.
    static constexpr uint32_t kTextSeconds = 0x3F;
    static constexpr uint32_t kScrolling = 0x40;

    uint32_t time = 0; // 1/10000 s
    uint32_t type = None;
    uint32_t flags = 0;
    std::string text;                   // file name, text or comment; at most 255 characters are stored
    std::array<uint8_t, 16> cameraId{}; // a GUID in its stored layout, for SwitchCamera
    uint8_t include = 0;
};
