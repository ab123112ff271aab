#include "video/VideoCodecs.h"

#include <algorithm>
#include <filesystem>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "text/AsciiCase.h"

namespace {

using Family = VideoCodec::Family;

const std::vector<VideoCodec>& known() {
    static const std::vector<VideoCodec> codecs = {
        {"Windows Media Video 7", "wmv1", Family::Mpeg4Part2, 2, 2, 0, {"asf", "matroska"}},
        {"Windows Media Video 8", "wmv2", Family::Mpeg4Part2, 2, 2, 0, {"asf", "matroska"}},
        {"MPEG-4 Part 2", "mpeg4", Family::Mpeg4Part2, 2, 2, 0, {"asf", "mp4", "matroska"}},
        {"MPEG-4 Part 2 (Microsoft V3)", "msmpeg4", Family::Mpeg4Part2, 2, 2, 0, {"asf", "matroska"}},
        {"H.264 (x264)", "libx264", Family::H264, 8, 6, 1, {"mp4", "matroska"}},
    };
    return codecs;
}

} // namespace

namespace VideoCodecs {

const std::vector<VideoCodec>& available() {
    static const std::vector<VideoCodec> found = [] {
        std::vector<VideoCodec> present;
        for (const VideoCodec& codec : known())
            if (avcodec_find_encoder_by_name(codec.encoder) != nullptr)
                present.push_back(codec);
        return present;
    }();
    return found;
}

std::string containerFor(const std::string& fileName) {
    const std::string extension = lowerAscii(std::filesystem::path(fileName).extension().string());
    if (extension == ".wmv" || extension == ".asf")
        return "asf";
    if (extension == ".mp4")
        return "mp4";
    if (extension == ".mkv")
        return "matroska";
    return {};
}

} // namespace VideoCodecs
