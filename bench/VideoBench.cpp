// Rendering the stand-in simulator's window into a 640 x 480 wmv2 video at constant quality 90,
// complexity 0 (the video settings' defaults), in this process.
//
// BM_Encode: the writer encoding kEncodeFrames moving frames, against an anchor: the ffmpeg command
// line encoding the same frames from a raw file with the same codec, quality scale, key-frame
// distance and scaler, on one thread, as the writer does (wmv2 has no threaded encoder and the
// writer asks for none). The two alternate; the ffmpeg process is timed by the wall clock, its
// start and the reading of the raw file included. Reported: milliseconds a frame each, the ratio
// ffmpeg/writer (aim 0.8 or more), and both files' sizes, which agree when the settings do.
//
// BM_Pipeline: a rendering frame as the host runs it (the simulator's frame, then Video::frame,
// whose capture paints the picture), and in the same round its parts on a frame of their own: the
// simulator's frame alone, the picture (the paint), the capture, and the encoding of that capture
// by a second writer. The two halves alternate. Reported: frames a second (aim 60 or more) and
// each part's milliseconds and share of the rendering frame, all means over the rounds.
//
// BM_LongVideo: a 10-minute video (15000 frames at 25 a second) rendered the same way. Reported:
// the resident set and the C heap in use (FFmpeg's buffers are malloc's) once settled and at the
// end (the resident set must not grow by more than 1 MiB), and the calls of operator new a frame
// once settled in the simulator's frame, the picture and Video::frame.

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "alerts/HostWindow.h"
#include "bench/BenchSupport.h"
#include "bench/CountingNew.h"
#include "bench/ScratchRun.h"
#include "harness/ModuleInSimulator.h"
#include "video/Video.h"
#include "video/VideoCodecs.h"
#include "video/WmvWriter.h"
#include "winsys/Pixels.h"
#include "winsys/WindowApi.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kFps = 25;
constexpr uint32_t kQuality = 90;
// What the writer makes of quality 90 (qscale 31 at quality 0 … 1 at 100) and of its 3 s between
// key frames, as ffmpeg's options.
constexpr int kQscale = 4;
constexpr int kKeyFrameDistance = 3 * kFps;
constexpr double kSizeTolerance = 0.02;
// Rows of 640 pixels need no padding to four bytes, so a captured frame is ffmpeg's raw bgr24,
// upside down.
static_assert(kWidth * 3 % 4 == 0);
constexpr std::size_t kFrameBytes = std::size_t{kWidth} * 3 * kHeight;

constexpr int kEncodeFrames = 250;
constexpr int kEncodeRounds = 5;
constexpr int kWarmFrames = 25;
constexpr int kPipelineRounds = 300;
constexpr int kLongVideoFrames = 10 * 60 * kFps;
constexpr int kSettledFrames = 1000;
constexpr double kGrowthLimitMiB = 1;

std::string folder() {
    static const std::string path = zbench::scratchFolder("zephrel-video-bench-");
    return path;
}

uint32_t wmv2Codec() {
    const auto& codecs = VideoCodecs::available();
    const auto it = std::find_if(codecs.begin(), codecs.end(),
                                 [](const VideoCodec& c) { return std::string_view(c.encoder) == "wmv2"; });
    if (it == codecs.end())
        throw std::runtime_error("the linked FFmpeg has no wmv2 encoder");
    return static_cast<uint32_t>(it - codecs.begin());
}

void openWriter(WmvWriter& writer, const std::string& file) {
    writer.setFrameRate(static_cast<float>(kFps));
    writer.setCodec(wmv2Codec());
    writer.setBitrate(0);
    writer.setQuality(kQuality);
    writer.setComplexity(0);
    writer.open(file, kWidth, kHeight);
}

// Frame `index` of a moving picture, bottom-up B, G, R: a gradient drifting right and up with a
// light square crossing it, so that every frame differs from the one before.
void paintFrame(int index, std::vector<uint8_t>& pixels) {
    constexpr int kSquare = 64;
    pixels.resize(kFrameBytes);
    const int squareX = index * 5 % (kWidth - kSquare), squareY = index * 3 % (kHeight - kSquare);
    uint8_t* out = pixels.data();
    for (int row = 0; row < kHeight; ++row) {
        const int y = kHeight - 1 - row;
        const bool squareRow = y >= squareY && y < squareY + kSquare;
        for (int x = 0; x < kWidth; ++x, out += 3) {
            const bool square = squareRow && x >= squareX && x < squareX + kSquare;
            out[0] = static_cast<uint8_t>(square ? 230 : x + 4 * index);
            out[1] = static_cast<uint8_t>(square ? 230 : y + 2 * index);
            out[2] = static_cast<uint8_t>(square ? 230 : (x + y) / 5);
        }
    }
}

double fileKiB(const std::string& file) {
    std::error_code ignored;
    const auto bytes = std::filesystem::file_size(file, ignored);
    return bytes == static_cast<std::uintmax_t>(-1) ? 0 : static_cast<double>(bytes) / 1024;
}

void BM_Encode(benchmark::State& state) {
    zbench::guarded(state, [&] {
        const std::string raw = folder() + "/frames.bgr", ours = folder() + "/writer.wmv",
                          theirs = folder() + "/ffmpeg.wmv";
        std::vector<uint8_t> pixels;
        {
            std::ofstream out(raw, std::ios::binary);
            for (int i = 0; i < kEncodeFrames; ++i) {
                paintFrame(i, pixels);
                out.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
            }
            if (!out.flush())
                throw std::runtime_error("cannot write " + raw);
        }
        const std::string command = "ffmpeg -nostdin -v error -y -filter_threads 1 -f rawvideo -pix_fmt bgr24 -s " +
                                    std::to_string(kWidth) + "x" + std::to_string(kHeight) + " -r " +
                                    std::to_string(kFps) + " -i '" + raw + "' -vf vflip -c:v wmv2 -q:v " +
                                    std::to_string(kQscale) + " -g " + std::to_string(kKeyFrameDistance) +
                                    " -threads 1 '" + theirs + "'";
        // Only the writer's calls are timed; painting the next frame is the caller's business.
        const auto writerSeconds = [&] {
            WmvWriter writer;
            double seconds = zbench::timed([&] { openWriter(writer, ours); });
            for (int i = 0; i < kEncodeFrames; ++i) {
                paintFrame(i, pixels);
                seconds += zbench::timed([&] { writer.writeFrame(pixels.data()); });
            }
            return seconds + zbench::timed([&] { writer.close(); });
        };
        const auto ffmpegSeconds = [&] {
            int status = 0;
            const double seconds = zbench::timed([&] { status = std::system(command.c_str()); });
            if (status != 0)
                throw std::runtime_error("failed: " + command);
            return seconds;
        };

        std::vector<double> writerTimes, ffmpegTimes, ratios;
        bool writerFirst = true;
        for (auto _ : state) {
            double w = 0, f = 0;
            if (writerFirst) {
                w = writerSeconds();
                f = ffmpegSeconds();
            } else {
                f = ffmpegSeconds();
                w = writerSeconds();
            }
            writerFirst = !writerFirst;
            state.SetIterationTime(w);
            writerTimes.push_back(w);
            ffmpegTimes.push_back(f);
            ratios.push_back(f / w);
        }
        std::filesystem::remove(raw);
        state.counters["writer_ms"] = zbench::median(writerTimes) * 1e3 / kEncodeFrames;
        state.counters["ffmpeg_ms"] = zbench::median(ffmpegTimes) * 1e3 / kEncodeFrames;
        state.counters["ratio"] = zbench::median(ratios);
        state.counters["writer_KiB"] = fileKiB(ours);
        state.counters["ffmpeg_KiB"] = fileKiB(theirs);
    });
}
BENCHMARK(BM_Encode)->UseManualTime()->Iterations(kEncodeRounds)->Unit(benchmark::kMillisecond);

// The simulator with a rendering of its main window under way, as the video dialog starts one.
struct Rendering {
    explicit Rendering(const std::string& file) : module(setup()), video(&settings) {
        settings.width = kWidth;
        settings.height = kHeight;
        settings.fps = kFps;
        settings.codec = static_cast<int32_t>(wmv2Codec());
        settings.vbr = true;
        settings.quality = kQuality;
        settings.complexity = 0;
        video.start(file);
        for (int i = 0; i < kWarmFrames; ++i)
            frame();
    }

    static SimulatorSetup setup() {
        SimulatorSetup s;
        s.userTitle = "Trainer 152 Aerobat";
        s.flightsFolder = folder() + "/Flights";
        s.frameStep = 1.0 / kFps;
        return s;
    }

    // The simulator's frame, then the rendering's step as the host's after-frame event runs it.
    void frame() {
        module.sim().frame();
        video.frame();
    }

    VideoSettings settings;
    ModuleInSimulator module;
    Video video; // stopped before the simulator goes
};

void BM_Pipeline(benchmark::State& state) {
    zbench::guarded(state, [&] {
        Rendering rendering(folder() + "/pipeline.wmv");
        Simulator& sim = rendering.module.sim();
        WmvWriter encoder;
        openWriter(encoder, folder() + "/parts.wmv");
        const win::HWND window = HostWindow::mainWindow();
        win::BITMAPINFOHEADER header;
        header.biWidth = kWidth;
        header.biHeight = kHeight;
        header.biSizeImage = kFrameBytes;
        std::vector<uint8_t> captured(kFrameBytes);

        double frames = 0, simFrames = 0, pictures = 0, captures = 0, encodings = 0;
        int failedCaptures = 0;
        // Without pictures switched on, the simulator's frame only marks the window for painting;
        // the capture's UpdateWindow paints it, as in the rendering frame.
        const auto parts = [&] {
            simFrames += zbench::timed([&] { sim.frame(); });
            pictures += zbench::timed([&] { win::UpdateWindow(window); });
            captures += zbench::timed([&] { failedCaptures += win::GetClientDIBits(window, header, captured) == 0; });
            encodings += zbench::timed([&] { encoder.writeFrame(captured.data()); });
        };
        bool renderingFirst = true;
        for (auto _ : state) {
            double frame = 0;
            if (renderingFirst) {
                frame = zbench::timed([&] { rendering.frame(); });
                parts();
            } else {
                parts();
                frame = zbench::timed([&] { rendering.frame(); });
            }
            renderingFirst = !renderingFirst;
            frames += frame;
            state.SetIterationTime(frame);
        }
        encoder.close();
        if (failedCaptures != 0)
            state.SkipWithError("a capture failed");
        if (std::adjacent_find(captured.begin(), captured.end(), std::not_equal_to<>()) == captured.end())
            state.SkipWithError("the capture holds no picture");
        if (rendering.video.frames() != kWarmFrames + static_cast<int>(state.iterations()))
            state.SkipWithError("the rendering left out frames");
        const double rounds = static_cast<double>(state.iterations());
        state.counters["frame_ms"] = frames * 1e3 / rounds;
        state.counters["fps"] = rounds / frames;
        state.counters["sim_ms"] = simFrames * 1e3 / rounds;
        state.counters["picture_ms"] = pictures * 1e3 / rounds;
        state.counters["capture_ms"] = captures * 1e3 / rounds;
        state.counters["encode_ms"] = encodings * 1e3 / rounds;
    });
}
BENCHMARK(BM_Pipeline)->UseManualTime()->Iterations(kPipelineRounds)->Unit(benchmark::kMillisecond);

// What the process holds: its resident set (the second field of /proc/self/statm, in pages) and
// the C heap in use, operator new's as well as FFmpeg's.
struct Memory {
    double residentMiB = 0;
    double heapMiB = 0;

    static Memory now() {
        Memory m;
        std::ifstream statm("/proc/self/statm");
        long pages = 0, resident = 0;
        if (statm >> pages >> resident)
            m.residentMiB = static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
        const struct mallinfo2 heap = mallinfo2();
        m.heapMiB = static_cast<double>(heap.uordblks + heap.hblkhd) / (1 << 20);
        return m;
    }
};

void BM_LongVideo(benchmark::State& state) {
    zbench::guarded(state, [&] {
        for (auto _ : state) {
            Rendering rendering(folder() + "/long.wmv");
            const win::HWND window = HostWindow::mainWindow();
            Memory settled;
            // Calls of operator new once settled: the simulator's frame, the picture, Video::frame.
            uint64_t calls[3] = {};
            const auto counted = [&](uint64_t& sum, const auto& step) {
                const uint64_t before = zbench::newCalls();
                step();
                sum += zbench::newCalls() - before;
            };
            for (int i = kWarmFrames; i < kLongVideoFrames; ++i) {
                if (i == kSettledFrames) {
                    settled = Memory::now();
                    std::fill(std::begin(calls), std::end(calls), 0);
                }
                counted(calls[0], [&] { rendering.module.sim().frame(); });
                // Painted ahead of the capture, which would paint it anyway, to tell its calls apart.
                counted(calls[1], [&] { win::UpdateWindow(window); });
                counted(calls[2], [&] { rendering.video.frame(); });
            }
            const Memory end = Memory::now();
            const double settledFrames = kLongVideoFrames - kSettledFrames;
            state.counters["rss_settled_MiB"] = settled.residentMiB;
            state.counters["rss_end_MiB"] = end.residentMiB;
            state.counters["heap_settled_MiB"] = settled.heapMiB;
            state.counters["heap_end_MiB"] = end.heapMiB;
            state.counters["sim_allocs_per_frame"] = static_cast<double>(calls[0]) / settledFrames;
            state.counters["picture_allocs_per_frame"] = static_cast<double>(calls[1]) / settledFrames;
            state.counters["video_allocs_per_frame"] = static_cast<double>(calls[2]) / settledFrames;
            if (rendering.video.frames() != kLongVideoFrames)
                state.SkipWithError("the rendering left out frames");
        }
    });
}
BENCHMARK(BM_LongVideo)->Iterations(1)->Unit(benchmark::kSecond);

bool summarise(const zbench::Reporter& reporter) {
    bool ok = true;
    if (reporter.ran("BM_Encode")) {
        const auto c = [&](const char* name) { return reporter.counter("BM_Encode", name); };
        std::printf("encoding %d frames of %d x %d, wmv2 qscale %d, one thread: the writer %.2f ms a frame (%.0f KiB), "
                    "ffmpeg %.2f ms a frame (%.0f KiB)\n",
                    kEncodeFrames, kWidth, kHeight, kQscale, c("writer_ms"), c("writer_KiB"), c("ffmpeg_ms"),
                    c("ffmpeg_KiB"));
        reporter.printRatio("BM_Encode", "ffmpeg/writer", "aim 0.8 or more");
        // The same frames, codec and quality scale give files of the same size.
        const double sizeRatio = c("writer_KiB") / c("ffmpeg_KiB");
        if (std::abs(sizeRatio - 1) > kSizeTolerance)
            std::printf("NOTE: the writer's file is %.2f times ffmpeg's: it did not encode at qscale %d\n", sizeRatio,
                        kQscale);
    }
    if (reporter.ran("BM_Pipeline")) {
        const auto c = [&](const char* name) { return reporter.counter("BM_Pipeline", name); };
        const double frame = c("frame_ms");
        std::printf("rendering %d x %d wmv2: %.2f ms a frame, %.1f frames a second (aim 60 or more)\n", kWidth,
                    kHeight, frame, c("fps"));
        const std::pair<const char*, double> parts[] = {{"simulator frame", c("sim_ms")},
                                                        {"picture", c("picture_ms")},
                                                        {"capture", c("capture_ms")},
                                                        {"encoding", c("encode_ms")}};
        double partsTotal = 0;
        for (const auto& [name, ms] : parts) {
            std::printf("  %-16s %6.2f ms  %5.1f%%\n", name, ms, 100 * ms / frame);
            partsTotal += ms;
        }
        std::printf("  %-16s %6.2f ms  %5.1f%%  (the rendering frame less its parts)\n", "rest", frame - partsTotal,
                    100 * (frame - partsTotal) / frame);
    }
    if (reporter.ran("BM_LongVideo")) {
        const auto c = [&](const char* name) { return reporter.counter("BM_LongVideo", name); };
        const double growth = c("rss_end_MiB") - c("rss_settled_MiB");
        std::printf("a %d-frame video: resident %.1f MiB after %d frames, %.1f MiB at the end: %+.2f MiB (limit "
                    "%+.0f); C heap in use %.1f MiB, then %.1f MiB: %+.2f MiB\n",
                    kLongVideoFrames, c("rss_settled_MiB"), kSettledFrames, c("rss_end_MiB"), growth, kGrowthLimitMiB,
                    c("heap_settled_MiB"), c("heap_end_MiB"), c("heap_end_MiB") - c("heap_settled_MiB"));
        std::printf("calls of operator new a frame once settled: the simulator's frame %.2f, the picture %.2f, "
                    "Video::frame %.2f\n",
                    c("sim_allocs_per_frame"), c("picture_allocs_per_frame"), c("video_allocs_per_frame"));
        if (growth > kGrowthLimitMiB) {
            std::printf("FAILED: the resident size grew by more than %.0f MiB\n", kGrowthLimitMiB);
            ok = false;
        }
    }
    return ok;
}

} // namespace

int main(int argc, char** argv) {
    return zbench::runInScratchFolder(argc, argv, "VideoBench", folder(), summarise);
}
