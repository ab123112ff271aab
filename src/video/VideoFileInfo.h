#pragma once

#include <optional>
#include <string>

// What a video file holds, as its container says: the first video stream's codec, size, frame
// rate and number of frames (its packets, counted without decoding).
struct VideoFileInfo {
    std::string codec; // FFmpeg's name, e.g. "wmv2"
    int width = 0;
    int height = 0;
    double fps = 0;
    int frames = 0;
};

// Nothing for a file that cannot be read as a video.
std::optional<VideoFileInfo> readVideoFileInfo(const std::string& path);
