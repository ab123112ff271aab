#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

// A failure of the video writer: its message is the whole report.
class VideoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes 24-bit frames (bottom-up rows, each padded to four bytes, as a window's pixels are
// captured) into a video file with one video stream, through FFmpeg's libraries: the codec from
// VideoCodecs, the container from the file's extension, constant quality (bitrate 0) or a bitrate,
// the encoder's speed as the complexity, key frames at most 3 s apart.
class WmvWriter {
public:
    // 100-ns units per second: the sample times' unit.
    static constexpr int64_t kSampleUnits = 10000000;

    WmvWriter();
    ~WmvWriter();
    WmvWriter(const WmvWriter&) = delete;
    WmvWriter& operator=(const WmvWriter&) = delete;

    std::vector<std::string> getCodecNames() const;
    uint32_t getCodecCount() const;
    uint16_t getMaxComplexity() const;
    uint16_t getOfflineComplexity() const;
    uint16_t getLiveComplexity() const;
    bool isVbrSupported() const;

    // Each refused while open.
    void setFrameRate(float framesPerSecond);
    void setCodec(uint32_t index);
    void setBitrate(uint32_t bitsPerSecond); // 0: quality-based VBR
    void setQuality(uint32_t quality);       // 0 … 100
    void setComplexity(uint16_t complexity);

    // Input sizes are rounded down to even; an output size of 0 is the input's.
    void open(const std::string& fileName, uint32_t inputWidth, uint32_t inputHeight, uint32_t outputWidth = 0,
              uint32_t outputHeight = 0);
    // One frame of exactly the input image size (`imageSize()` bytes).
    void writeFrame(const uint8_t* pixels);
    void close();

    bool isOpen() const { return opened_; }
    uint32_t inputWidth() const { return inputWidth_; }
    uint32_t inputHeight() const { return inputHeight_; }
    // Bytes of one input frame: rows of width × 3 bytes padded to four, times the height.
    uint32_t imageSize() const;
    // The next sample's time in 100-ns units.
    int64_t sampleTime() const { return sampleTime_; }

private:
    struct Encoder;
    void refuseWhileOpen() const;
    void fail(const char* message);

    bool opened_ = false;
    float frameRate_ = 25.0f;
    uint32_t codec_ = 0;
    uint32_t bitrate_ = 1000000;
    uint32_t quality_ = 90;
    uint16_t complexity_ = 0;
    uint32_t inputWidth_ = 0, inputHeight_ = 0;
    int64_t sampleTime_ = 0;
    std::unique_ptr<Encoder> encoder_;
};
