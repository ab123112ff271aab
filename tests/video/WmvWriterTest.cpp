// The video writer on FFmpeg: its parameters and their refusals, and the files it writes as
// ffprobe and ffmpeg read them back.

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "support/TempDir.h"
#include "support/VideoProbe.h"
#include "video/VideoCodecs.h"
#include "video/WmvWriter.h"

namespace {

// A picture with something to see: a gradient with a square, bottom-up 24-bit rows padded to 4.
std::vector<uint8_t> picture(uint32_t width, uint32_t height, int shift) {
    const uint32_t stride = (width * 3 + 3) / 4 * 4;
    std::vector<uint8_t> pixels(stride * height);
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x) {
            uint8_t* p = &pixels[y * stride + x * 3];
            const bool square = x > 100 + static_cast<uint32_t>(shift) && x < 200 + static_cast<uint32_t>(shift) &&
                                y > 100 && y < 200;
            p[0] = static_cast<uint8_t>(square ? 40 : x * 255 / width);   // blue
            p[1] = static_cast<uint8_t>(square ? 200 : y * 255 / height); // green
            p[2] = static_cast<uint8_t>(square ? 60 : 128);               // red
        }
    return pixels;
}

TEST(WmvWriterTest, ParametersAreCheckedAndRefusedWhileOpen) {
    TempDir dir;
    WmvWriter writer;
    ASSERT_GE(writer.getCodecCount(), 2u);
    EXPECT_EQ("Windows Media Video 7", writer.getCodecNames()[0]);
    const auto refused = [](auto&& call, const char* message) {
        try {
            call();
            ADD_FAILURE() << "not refused: " << message;
        } catch (const VideoError& e) {
            EXPECT_STREQ(message, e.what());
        }
    };
    for (const float rate : {0.0f, -1.0f, 1001.0f, std::numeric_limits<float>::infinity(),
                             std::numeric_limits<float>::quiet_NaN()})
        refused([&] { writer.setFrameRate(rate); }, "Invalid frame rate!");
    refused([&] { writer.setCodec(writer.getCodecCount()); }, "Invalid codec!");
    refused([&] { writer.setQuality(101); }, "Invalid quality value!");
    refused([&] { writer.setComplexity(static_cast<uint16_t>(writer.getMaxComplexity() + 1)); },
            "Invalid complexity value!");
    refused([&] { writer.writeFrame(nullptr); }, "Video not opened!");
    refused([&] { writer.open(dir.file("a.avi"), 64, 48); }, "Unknown video file type: use .wmv, .mp4 or .mkv!");
    if (const int x264 = videoCodecIndex("libx264"); x264 >= 0) {
        writer.setCodec(static_cast<uint32_t>(x264));
        refused([&] { writer.open(dir.file("a.wmv"), 64, 48); },
                "The codec H.264 (x264) cannot be written into a asf file!");
        writer.setCodec(0);
    }
    EXPECT_FALSE(writer.isOpen());

    writer.open(dir.file("a.wmv"), 64, 48);
    const char* const whileOpen = "Parameters cannot be change while opened!";
    refused([&] { writer.setFrameRate(30); }, whileOpen);
    refused([&] { writer.setCodec(0); }, whileOpen);
    refused([&] { writer.setBitrate(0); }, whileOpen);
    refused([&] { writer.setQuality(50); }, whileOpen);
    refused([&] { writer.setComplexity(0); }, whileOpen);
    refused([&] { writer.open(dir.file("b.wmv"), 64, 48); }, "Video already opened!");
    writer.close();
    writer.close(); // nothing more to do
}

TEST(WmvWriterTest, EachCodecWritesEvenSizedFramesAtItsRateInItsContainer) {
    TempDir dir;
    struct Case {
        const char* encoder;
        const char* file;
        const char* probed;
        uint32_t bitrate;
    };
    const Case cases[] = {{"wmv2", "v.wmv", "wmv2", 0},
                          {"wmv1", "v7.wmv", "wmv1", 2000000},
                          {"mpeg4", "m.mp4", "mpeg4", 0},
                          {"libx264", "h.mkv", "h264", 0}};
    for (const Case& c : cases) {
        const int index = videoCodecIndex(c.encoder);
        if (index < 0)
            continue; // an encoder this FFmpeg lacks is not offered
        SCOPED_TRACE(c.encoder);
        WmvWriter writer;
        writer.setCodec(static_cast<uint32_t>(index));
        writer.setBitrate(c.bitrate);
        writer.open(dir.file(c.file), 321, 241); // rounded down to 320 × 240
        EXPECT_EQ(320u * 3 * 240, writer.imageSize());
        std::vector<int64_t> times;
        for (int n = 0; n < 30; ++n) {
            times.push_back(writer.sampleTime());
            writer.writeFrame(picture(320, 240, n).data());
        }
        writer.close();
        EXPECT_EQ((std::vector<int64_t>{0, 400000, 800000}), std::vector<int64_t>(times.begin(), times.begin() + 3));
        const auto probed = probeVideo(dir.file(c.file));
        EXPECT_EQ(c.probed, probed.at("codec_name"));
        EXPECT_EQ("320", probed.at("width"));
        EXPECT_EQ("240", probed.at("height"));
        EXPECT_EQ("25/1", probed.at("avg_frame_rate"));
        EXPECT_EQ("30", probed.at("nb_read_frames"));
    }
}

// Constant quality: a lower quality makes a smaller file, for each family of codecs.
TEST(WmvWriterTest, TheQualityDecidesTheSize) {
    TempDir dir;
    for (const char* encoder : {"wmv2", "libx264"}) {
        const int index = videoCodecIndex(encoder);
        if (index < 0)
            continue;
        SCOPED_TRACE(encoder);
        std::vector<std::uintmax_t> sizes;
        for (const uint32_t quality : {90u, 50u}) {
            const std::string file = dir.file(std::string(encoder) + std::to_string(quality) + ".mkv");
            WmvWriter writer;
            writer.setCodec(static_cast<uint32_t>(index));
            writer.setBitrate(0);
            writer.setQuality(quality);
            writer.open(file, 320, 240);
            for (int n = 0; n < 10; ++n)
                writer.writeFrame(picture(320, 240, n).data());
            writer.close();
            sizes.push_back(std::filesystem::file_size(file));
        }
        EXPECT_LT(sizes[1], sizes[0] * 3 / 4);
    }
}

// The first frame decoded again is the picture given, at the default quality.
TEST(WmvWriterTest, TheWrittenPictureReadsBackWithoutVisibleLoss) {
    TempDir dir;
    WmvWriter writer;
    writer.setCodec(static_cast<uint32_t>(videoCodecIndex("wmv2")));
    writer.setBitrate(0);
    writer.setQuality(90);
    const std::vector<uint8_t> frame = picture(320, 240, 0);
    writer.open(dir.file("q.wmv"), 320, 240);
    for (int n = 0; n < 5; ++n)
        writer.writeFrame(frame.data());
    writer.close();
    const double psnr = psnrAgainstBottomUp(firstFrameBgr(dir.file("q.wmv"), dir.file("first.bgr")), frame, 320, 240);
    EXPECT_GE(psnr, 30.0);
}

} // namespace
