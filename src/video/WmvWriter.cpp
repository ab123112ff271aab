#include "video/WmvWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

#include "video/VideoCodecs.h"

namespace {

constexpr int kKeyFrameSeconds = 3;
// Beyond any display; also keeps the key-frame distance in frames within an int.
constexpr float kMaxFrameRate = 1000;
constexpr const char* kX264Presets[] = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                                        "medium",    "slow",      "slower",   "veryslow"};

// Quality 0 … 100 onto the encoder's constant-quality scale.
int qscaleFor(uint32_t quality) {
    return 31 - static_cast<int>(std::lround(quality * 30 / 100.0));
}
int crfFor(uint32_t quality) {
    return 51 - static_cast<int>(std::lround(quality * 35 / 100.0));
}

} // namespace

// Everything FFmpeg holds for an open file; freed in the order it depends on.
struct WmvWriter::Encoder {
    AVFormatContext* format = nullptr;
    AVCodecContext* codec = nullptr;
    AVStream* stream = nullptr;
    SwsContext* scaler = nullptr;
    AVFrame* frame = nullptr;
    AVPacket* packet = nullptr;
    int64_t framesWritten = 0;
    bool fileOpen = false;
    bool headerWritten = false;

    ~Encoder() {
        av_packet_free(&packet);
        av_frame_free(&frame);
        sws_freeContext(scaler);
        avcodec_free_context(&codec);
        if (format != nullptr && fileOpen)
            avio_closep(&format->pb);
        avformat_free_context(format);
    }

    // Sends a frame (null: the end) and writes every packet the encoder gives back; false when the
    // file refused one, now or in an earlier buffered write.
    bool encode(AVFrame* input) {
        if (avcodec_send_frame(codec, input) < 0)
            return false;
        for (;;) {
            const int got = avcodec_receive_packet(codec, packet);
            if (got == AVERROR(EAGAIN) || got == AVERROR_EOF)
                return true;
            if (got < 0)
                return false;
            // Each packet lasts one frame, so that the container keeps the last one too.
            if (packet->duration == 0)
                packet->duration = 1;
            av_packet_rescale_ts(packet, codec->time_base, stream->time_base);
            packet->stream_index = stream->index;
            // The file's writes are buffered: a write that failed earlier shows in its error.
            if (av_interleaved_write_frame(format, packet) < 0 || (format->pb != nullptr && format->pb->error < 0))
                return false;
        }
    }
};

WmvWriter::WmvWriter() = default;

WmvWriter::~WmvWriter() {
    try {
        close();
    } catch (const VideoError&) {
        // A file that cannot be finished is left as far as it got.
    }
}

std::vector<std::string> WmvWriter::getCodecNames() const {
    std::vector<std::string> names;
    for (const VideoCodec& codec : VideoCodecs::available())
        names.emplace_back(codec.name);
    return names;
}

uint32_t WmvWriter::getCodecCount() const {
    return static_cast<uint32_t>(VideoCodecs::available().size());
}

namespace {
const VideoCodec& codecAt(uint32_t index) {
    const auto& codecs = VideoCodecs::available();
    if (index >= codecs.size())
        throw VideoError("Invalid codec!");
    return codecs[index];
}
} // namespace

uint16_t WmvWriter::getMaxComplexity() const {
    return codecAt(codec_).maxComplexity;
}
uint16_t WmvWriter::getOfflineComplexity() const {
    return codecAt(codec_).offlineComplexity;
}
uint16_t WmvWriter::getLiveComplexity() const {
    return codecAt(codec_).liveComplexity;
}
bool WmvWriter::isVbrSupported() const {
    codecAt(codec_);
    return true; // every codec offered has a constant-quality mode
}

void WmvWriter::refuseWhileOpen() const {
    if (opened_)
        throw VideoError("Parameters cannot be change while opened!");
}

void WmvWriter::setFrameRate(float framesPerSecond) {
    refuseWhileOpen();
    if (!(framesPerSecond > 0 && framesPerSecond <= kMaxFrameRate))
        throw VideoError("Invalid frame rate!");
    frameRate_ = framesPerSecond;
}

void WmvWriter::setCodec(uint32_t index) {
    refuseWhileOpen();
    if (index >= getCodecCount())
        throw VideoError("Invalid codec!");
    codec_ = index;
}

void WmvWriter::setBitrate(uint32_t bitsPerSecond) {
    refuseWhileOpen();
    if (bitsPerSecond == 0 && !isVbrSupported())
        throw VideoError("Codec does not support VBR!");
    bitrate_ = bitsPerSecond;
}

void WmvWriter::setQuality(uint32_t quality) {
    refuseWhileOpen();
    if (quality > 100)
        throw VideoError("Invalid quality value!");
    quality_ = quality;
}

void WmvWriter::setComplexity(uint16_t complexity) {
    refuseWhileOpen();
    if (complexity > getMaxComplexity())
        throw VideoError("Invalid complexity value!");
    complexity_ = complexity;
}

uint32_t WmvWriter::imageSize() const {
    return ((inputWidth_ * 3 + 3) / 4 * 4) * inputHeight_;
}

void WmvWriter::fail(const char* message) {
    encoder_.reset();
    opened_ = false;
    throw VideoError(message);
}

void WmvWriter::open(const std::string& fileName, uint32_t inputWidth, uint32_t inputHeight, uint32_t outputWidth,
                     uint32_t outputHeight) {
    if (opened_)
        throw VideoError("Video already opened!");
    inputWidth_ = inputWidth & ~1u;
    inputHeight_ = inputHeight & ~1u;
    const int width = static_cast<int>((outputWidth != 0 ? outputWidth : inputWidth) & ~1u);
    const int height = static_cast<int>((outputHeight != 0 ? outputHeight : inputHeight) & ~1u);
    if (inputWidth_ == 0 || inputHeight_ == 0 || width == 0 || height == 0)
        throw VideoError("Failed to set media type!");
    const VideoCodec& chosen = codecAt(codec_);
    const std::string container = VideoCodecs::containerFor(fileName);
    if (container.empty())
        throw VideoError("Unknown video file type: use .wmv, .mp4 or .mkv!");
    if (std::find(chosen.containers.begin(), chosen.containers.end(), container) == chosen.containers.end())
        throw VideoError(std::string("The codec ") + chosen.name + " cannot be written into a " + container +
                         " file!");

    // The encoders' own chatter stays out of the simulator's output; their errors are ours to report.
    av_log_set_level(AV_LOG_ERROR);
    encoder_ = std::make_unique<Encoder>();
    Encoder& e = *encoder_;
    if (avformat_alloc_output_context2(&e.format, nullptr, container.c_str(), fileName.c_str()) < 0)
        fail("Failed to create profile!");
    const AVCodec* codec = avcodec_find_encoder_by_name(chosen.encoder);
    if (codec == nullptr)
        fail("Failed to get codec format!");
    e.stream = avformat_new_stream(e.format, nullptr);
    e.codec = avcodec_alloc_context3(codec);
    if (e.stream == nullptr || e.codec == nullptr)
        fail("Failed to set stream number!");

    AVCodecContext& c = *e.codec;
    c.width = width;
    c.height = height;
    c.pix_fmt = AV_PIX_FMT_YUV420P;
    c.time_base = av_inv_q(av_d2q(frameRate_, 100000));
    c.framerate = av_d2q(frameRate_, 100000);
    c.gop_size = std::max(1, static_cast<int>(kKeyFrameSeconds * frameRate_));
    if (e.format->oformat->flags & AVFMT_GLOBALHEADER)
        c.flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    AVDictionary* options = nullptr;
    if (chosen.family == VideoCodec::Family::H264) {
        av_dict_set(&options, "preset", kX264Presets[std::min<uint16_t>(complexity_, 8)], 0);
        if (bitrate_ == 0)
            av_dict_set_int(&options, "crf", crfFor(quality_), 0);
        else
            c.bit_rate = bitrate_;
    } else {
        c.mb_decision = std::min<int>(complexity_, FF_MB_DECISION_RD);
        if (complexity_ >= 2)
            c.trellis = 1;
        if (bitrate_ == 0) {
            c.flags |= AV_CODEC_FLAG_QSCALE;
            c.global_quality = FF_QP2LAMBDA * qscaleFor(quality_);
        } else {
            c.bit_rate = bitrate_;
        }
    }
    const int opened = avcodec_open2(e.codec, codec, &options);
    av_dict_free(&options);
    if (opened < 0)
        fail("Failed to set media type!");
    if (avcodec_parameters_from_context(e.stream->codecpar, e.codec) < 0)
        fail("Failed to add stream!");
    e.stream->time_base = c.time_base;

    e.scaler = sws_getContext(static_cast<int>(inputWidth_), static_cast<int>(inputHeight_), AV_PIX_FMT_BGR24,
                              width, height, AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr);
    e.frame = av_frame_alloc();
    e.packet = av_packet_alloc();
    if (e.scaler == nullptr || e.frame == nullptr || e.packet == nullptr)
        fail("Failed to set input properties!");
    e.frame->format = c.pix_fmt;
    e.frame->width = width;
    e.frame->height = height;
    if (av_frame_get_buffer(e.frame, 0) < 0)
        fail("Failed to set input properties!");

    if (!(e.format->oformat->flags & AVFMT_NOFILE)) {
        if (avio_open(&e.format->pb, fileName.c_str(), AVIO_FLAG_WRITE) < 0)
            fail("Failed to set output filename!");
        e.fileOpen = true;
    }
    if (avformat_write_header(e.format, nullptr) < 0) {
        // A video that could not be begun is no video: nothing is left of it.
        encoder_.reset();
        std::remove(fileName.c_str());
        fail("Failed to begin writing!");
    }
    e.headerWritten = true;
    opened_ = true;
    sampleTime_ = 0;
}

void WmvWriter::writeFrame(const uint8_t* pixels) {
    if (!opened_)
        throw VideoError("Video not opened!");
    Encoder& e = *encoder_;
    if (av_frame_make_writable(e.frame) < 0)
        throw VideoError("Failed to get buffer!");
    // The rows come bottom-up: read from the last row upwards.
    const int stride = static_cast<int>((inputWidth_ * 3 + 3) / 4 * 4);
    const uint8_t* top = pixels + static_cast<ptrdiff_t>(stride) * (inputHeight_ - 1);
    const uint8_t* source[1] = {top};
    const int strides[1] = {-stride};
    sws_scale(e.scaler, source, strides, 0, static_cast<int>(inputHeight_), e.frame->data, e.frame->linesize);
    e.frame->pts = e.framesWritten++;
    // The MPEG-4 family takes its constant quality from each frame, not from the encoder.
    e.frame->quality = e.codec->global_quality;
    if (!e.encode(e.frame))
        throw VideoError("Failed to write sample!");
    sampleTime_ += static_cast<int64_t>(static_cast<double>(kSampleUnits) / frameRate_);
}

void WmvWriter::close() {
    if (!opened_)
        return;
    opened_ = false;
    const bool flushed = encoder_->encode(nullptr);
    const bool finished = av_write_trailer(encoder_->format) >= 0;
    encoder_.reset();
    if (!flushed || !finished)
        throw VideoError("Failed to end writing!");
}
