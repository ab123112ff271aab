#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "winsys/Types.h"

// The main window's picture written as PNG files while a run goes on (zephrel-sim --frames).
struct PictureFiles {
    std::string folder;
    uint64_t every = 1; // frames between pictures
    std::optional<int> width;
    std::optional<int> height;

    // "frame-000120.png" in the folder for frame 120.
    std::string pathFor(uint64_t frame) const;
};

// Writes the client pixels of a window as a PNG file; false when the window has none or the file
// cannot be written.
bool writeClientPng(win::HWND window, const std::string& path);
