#include "video/VideoFileInfo.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

std::optional<VideoFileInfo> readVideoFileInfo(const std::string& path) {
    AVFormatContext* format = nullptr;
    if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0)
        return std::nullopt;
    std::optional<VideoFileInfo> info;
    const int stream = avformat_find_stream_info(format, nullptr) < 0
                           ? -1
                           : av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    AVPacket* packet = av_packet_alloc();
    if (stream >= 0 && packet != nullptr) {
        const AVStream& video = *format->streams[stream];
        info = VideoFileInfo{avcodec_get_name(video.codecpar->codec_id), video.codecpar->width,
                             video.codecpar->height, av_q2d(video.avg_frame_rate), 0};
        while (av_read_frame(format, packet) >= 0) {
            if (packet->stream_index == stream)
                ++info->frames;
            av_packet_unref(packet);
        }
    }
    av_packet_free(&packet);
    avformat_close_input(&format);
    return info;
}
