#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The video codecs the writer offers: the encoders of the linked FFmpeg that fit, each with the
// containers it may go into and how its properties map onto the encoder.
//
// Complexity: for H.264, the x264 preset (0 "ultrafast" … 8 "veryslow"; offline 6 "slow", live 1
// "superfast"); for the MPEG-4 Part 2 family, the macroblock decision (0 simple, 1 bits, 2 rate
// distortion with trellis quantisation; offline 2, live 0). Quality-based VBR: constant quality,
// `qscale` 31 (quality 0) … 1 (quality 100) for the MPEG-4 family, `crf` 51 … 16 for H.264 (16 is
// already visually lossless; the default quality 90 gives 19, about the MPEG-4 family's qscale 4).
struct VideoCodec {
    enum class Family { Mpeg4Part2, H264 };
    const char* name;     // as the video dialog lists it
    const char* encoder;  // FFmpeg's encoder name
    Family family;
    uint16_t maxComplexity;
    uint16_t offlineComplexity;
    uint16_t liveComplexity;
    std::vector<std::string> containers; // FFmpeg muxer names
};

namespace VideoCodecs {

// The codecs whose encoder the linked FFmpeg has, in the dialog's order.
const std::vector<VideoCodec>& available();
// The container for an output file by its extension (".wmv" and ".asf": asf, ".mp4": mp4, ".mkv":
// matroska); empty for another.
std::string containerFor(const std::string& fileName);

} // namespace VideoCodecs
