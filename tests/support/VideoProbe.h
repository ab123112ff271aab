#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "video/VideoCodecs.h"

// A video file as the FFmpeg command-line tools read it back.

// A command's standard output.
inline std::string commandOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

// ffprobe's key=value lines for the first video stream with its frames counted: codec_name, width,
// height, avg_frame_rate, nb_read_frames; and the file's duration. Empty for a file it cannot read.
inline std::map<std::string, std::string> probeVideo(const std::string& file) {
    const std::string text = commandOutput(
        "ffprobe -v error -count_frames -select_streams v:0 -show_entries "
        "stream=codec_name,width,height,avg_frame_rate,nb_read_frames:format=duration -of default=noprint_wrappers=1 '" +
        file + "' 2>/dev/null");
    std::map<std::string, std::string> values;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        if (const std::size_t eq = line.find('='); eq != std::string::npos)
            values[line.substr(0, eq)] = line.substr(eq + 1);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return values;
}

// The first frame decoded again: rows top-down, 3 bytes B, G, R per pixel, no padding.
inline Bytes firstFrameBgr(const std::string& file, const std::string& scratch) {
    commandOutput("ffmpeg -v error -y -i '" + file + "' -frames:v 1 -f rawvideo -pix_fmt bgr24 '" + scratch + "'");
    return readBytes(scratch);
}

// The peak signal-to-noise ratio in dB of a decoded frame (top-down, unpadded) against the frame
// that was written (bottom-up 24-bit rows padded to four bytes); 0 when the sizes differ.
inline double psnrAgainstBottomUp(const Bytes& decoded, const std::vector<uint8_t>& written, int width, int height) {
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    const std::size_t stride = (row + 3) / 4 * 4;
    if (decoded.size() != row * static_cast<std::size_t>(height) ||
        written.size() < stride * static_cast<std::size_t>(height))
        return 0;
    double squares = 0;
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y)
        for (std::size_t x = 0; x < row; ++x) {
            const double d = decoded[y * row + x] - written[(static_cast<std::size_t>(height) - 1 - y) * stride + x];
            squares += d * d;
        }
    if (squares == 0)
        return 99;
    return 10 * std::log10(255.0 * 255.0 / (squares / static_cast<double>(decoded.size())));
}

// The writer's index of the codec with this FFmpeg encoder; -1 when the linked FFmpeg lacks it.
inline int videoCodecIndex(const char* encoder) {
    const auto& codecs = VideoCodecs::available();
    for (std::size_t i = 0; i < codecs.size(); ++i)
        if (std::string(codecs[i].encoder) == encoder)
            return static_cast<int>(i);
    return -1;
}
