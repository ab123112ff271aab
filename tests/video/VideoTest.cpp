// Rendering the stand-in simulator's window into video files: the sizes, the window made to fit
// and given back, the fixed step, scenes, the summary, and the failures that stop a rendering.

#include "video/Video.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "alerts/HostWindow.h"
#include "harness/ModuleInSimulator.h"
#include "host/FSinterface.h"
#include "services/HostDevice.h"
#include "support/Errors.h"
#include "support/FileSizeLimit.h"
#include "support/TempLog.h"
#include "support/VideoProbe.h"
#include "winsys/HeadlessScript.h"
#include "winsys/WindowApi.h"

namespace {

win::RECT windowRect() {
    win::RECT rect{};
    win::GetWindowRect(HostWindow::mainWindow(), &rect);
    return rect;
}

std::pair<int, int> clientSize() {
    win::RECT rect{};
    win::GetClientRect(HostWindow::mainWindow(), &rect);
    return {rect.right, rect.bottom};
}

bool sameRect(const win::RECT& a, const win::RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

win::LONG_PTR windowStyle() { return win::GetWindowLongPtr(HostWindow::mainWindow(), win::GWL_STYLE); }

// Whether the simulator was held in its modal state each time the main window changed size.
std::vector<bool> modalAtResize;
win::WNDPROC mainProcedure = nullptr;
win::LRESULT watchResizes(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message == win::WM_SIZE)
        modalAtResize.push_back(Simulator::current()->device().modalDepth() > 0);
    return win::CallWindowProc(mainProcedure, hwnd, message, wParam, lParam);
}

class VideoTest : public TempLogTest {
protected:
    static constexpr double kFrameSeconds = 1.0 / 30;

    void SetUp() override {
        TempLogTest::SetUp();
        SimulatorSetup setup;
        setup.userTitle = "Trainer 152 Aerobat";
        setup.flightsFolder = dir.file("Flights");
        setup.frameStep = kFrameSeconds;
        module = std::make_unique<ModuleInSimulator>(setup);
        sim().frame();
        settings.codec = videoCodecIndex("wmv2");
    }
    void TearDown() override {
        module.reset();
        TempLogTest::TearDown();
    }
    Simulator& sim() { return module->sim(); }

    // Simulator frames, each followed by the rendering's frame step as the host's after-frame event
    // runs it.
    void render(Video& video, int frames) {
        for (int i = 0; i < frames; ++i) {
            sim().frame();
            video.frame();
        }
    }

    TempDir dir;
    VideoSettings settings;
    std::unique_ptr<ModuleInSimulator> module;
};

struct SizeCase {
    bool fsWndSize, resize;
    int width, height;             // the settings
    int clientWidth, clientHeight; // the window's before
    int captureWidth, captureHeight, outputWidth, outputHeight;
};

TEST_F(VideoTest, SizesAreEvenWithinLimitsAndTheVideoHasThem) {
    const SizeCase cases[] = {
        {false, true, 641, 481, 1024, 768, 640, 480, 640, 480},   // the window takes the video's size
        {false, true, 1921, 1081, 1024, 768, 1920, 1080, 1920, 1080}, // as large as the screen: no frame
        {false, false, 1921, 1081, 801, 601, 800, 600, 1920, 1080}, // scaled from the window
        {false, false, 10, 10, 400, 300, 400, 300, 32, 32},
        {false, false, 5000, 480, 400, 300, 400, 300, 4096, 480},
        {true, true, 320, 240, 801, 601, 800, 600, 800, 600}, // the window's own size, Resize aside
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height) + (c.fsWndSize ? " window" : "") +
                     (c.resize ? " resize" : ""));
        sim().setClientSize(c.clientWidth, c.clientHeight);
        settings.fsWndSize = c.fsWndSize;
        settings.resize = c.resize;
        settings.width = c.width;
        settings.height = c.height;
        Video video(&settings);
        const std::string file = dir.file("size.wmv");
        video.start(file);
        EXPECT_EQ(std::make_pair(c.captureWidth, c.captureHeight), clientSize());
        EXPECT_EQ(std::make_pair(c.outputWidth, c.outputHeight), std::make_pair(video.outputWidth(), video.outputHeight()));
        render(video, 3);
        video.stop(false);
        const auto probed = probeVideo(file);
        ASSERT_FALSE(probed.empty());
        EXPECT_EQ("wmv2", probed.at("codec_name"));
        EXPECT_EQ(std::to_string(c.outputWidth), probed.at("width"));
        EXPECT_EQ(std::to_string(c.outputHeight), probed.at("height"));
        EXPECT_EQ("3", probed.at("nb_read_frames"));
    }
}

// The window is sized for the video with the simulator paused meanwhile, loses its frame only when
// it must, and gets everything back at the end; full-screen mode is left and taken up again.
TEST_F(VideoTest, TheWindowFitsTheVideoAndComesBackAfterIt) {
    const win::RECT before = windowRect();
    const win::LONG_PTR style = windowStyle();
    FSinterface::setFullScreen(true);
    settings.width = 1920;
    settings.height = 1080; // the whole screen: no room for a caption
    Video video(&settings);
    modalAtResize.clear();
    mainProcedure = reinterpret_cast<win::WNDPROC>(win::SetWindowLongPtr(
        HostWindow::mainWindow(), win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(&watchResizes)));
    video.start(dir.file("full.wmv"));
    win::SetWindowLongPtr(HostWindow::mainWindow(), win::GWLP_WNDPROC, reinterpret_cast<win::LONG_PTR>(mainProcedure));
    EXPECT_EQ(std::vector<bool>(modalAtResize.size(), true), modalAtResize) << "the simulator held still";
    EXPECT_FALSE(modalAtResize.empty());
    EXPECT_FALSE(FSinterface::isFullScreen());
    EXPECT_EQ(std::make_pair(1920, 1080), clientSize());
    EXPECT_EQ(0, windowStyle() & win::WS_CAPTION);
    EXPECT_FALSE(sim().paused()) << "the pause is over once the window fits";
    render(video, 2);
    video.stop(false);
    EXPECT_TRUE(sameRect(before, windowRect()));
    EXPECT_EQ(style, windowStyle());
    EXPECT_TRUE(FSinterface::isFullScreen());

    // Too large for any window: refused, and nothing changed.
    FSinterface::setFullScreen(false);
    settings.width = 4000;
    const auto refused = thrown([&] { video.start(dir.file("huge.wmv")); });
    ASSERT_TRUE(refused.has_value());
    EXPECT_EQ(ErrorCode::WindowNotResized, refused->code);
    EXPECT_EQ("FS window could not be resized to output size, please choose a smaller video size!",
              refused->userText);
    EXPECT_FALSE(video.isOpen());
    EXPECT_TRUE(sameRect(before, windowRect()));
    EXPECT_EQ(style, windowStyle());

    // A file the writer refuses: its message, and the window and full screen given back.
    FSinterface::setFullScreen(true);
    settings.width = 640;
    settings.height = 480;
    const auto unwritten = thrown([&] { video.start(dir.file("video.avi")); });
    ASSERT_TRUE(unwritten.has_value());
    EXPECT_EQ(ErrorCode::VideoNotOpened, unwritten->code);
    EXPECT_EQ("Video could not be opened: Unknown video file type: use .wmv, .mp4 or .mkv!", unwritten->userText);
    EXPECT_TRUE(sameRect(before, windowRect()));
    EXPECT_TRUE(FSinterface::isFullScreen());
    FSinterface::setFullScreen(false);

    // An aborted rendering leaves the window as it is.
    video.start(dir.file("abort.wmv"));
    video.stop(true);
    EXPECT_EQ(std::make_pair(640, 480), clientSize());
}

// Each written frame is one video frame of simulated time; discarded frames in between take none,
// and a rendering that ends gives the simulator back its own pace.
TEST_F(VideoTest, EveryWrittenFrameIsOneVideoFrameOfSimulatedTime) {
    settings.fps = 20;
    settings.skipFrames = 2;
    settings.resize = false;
    Video video(&settings);
    const std::string file = dir.file("skip.mp4");
    settings.codec = videoCodecIndex("mpeg4");
    video.start(file);
    render(video, 1);
    const double first = sim().simulatedSeconds();
    render(video, 9);
    EXPECT_EQ(4, video.frames());
    EXPECT_NEAR(3 * 0.05, sim().simulatedSeconds() - first, 1e-9);
    video.stop(false);
    const double stopped = sim().simulatedSeconds();
    sim().frame();
    EXPECT_NEAR(kFrameSeconds, sim().simulatedSeconds() - stopped, 1e-9) << "real time again";
    const auto probed = probeVideo(file);
    EXPECT_EQ("4", probed.at("nb_read_frames"));
    EXPECT_EQ("20/1", probed.at("avg_frame_rate"));
    EXPECT_NEAR(0.2, std::stod(probed.at("duration")), 0.051);
}

TEST_F(VideoTest, PausesEndScenesAndTheSummaryCountsThem) {
    settings.resize = false;
    settings.fps = 10;
    sim().setClientSize(400, 300); // scaled to 640 x 480
    Video video(&settings);
    const std::string file = dir.file("scenes.wmv");
    video.start(file);
    render(video, 12);
    sim().setPaused(true);
    render(video, 3);
    sim().setPaused(false);
    render(video, 7);
    video.togglePause();
    render(video, 4);
    EXPECT_TRUE(video.isPaused());
    video.togglePause();
    render(video, 5);
    video.stop(false);
    EXPECT_EQ((std::vector<int>{12, 7, 5}), video.scenes());
    EXPECT_EQ("Video File: " + file +
                  "\r\nCaptured 24 frames (0h:00m:02s:04f)\r\n640x480, 10.00fps\r\n"
                  "\r\nScene 1: 12 frames (0h:00m:01s:02f)"
                  "\r\nScene 2: 7 frames (0h:00m:00s:07f)"
                  "\r\nScene 3: 5 frames (0h:00m:00s:05f)",
              video.summary());
}

// A user who resizes the window during the rendering ends it; the abort leaves the window alone.
TEST_F(VideoTest, AWindowResizedDuringRenderingStopsIt) {
    Video video(&settings);
    video.start(dir.file("resized.wmv"));
    render(video, 2);
    sim().setClientSize(800, 600);
    sim().frame();
    const auto stopped = thrown([&] { video.frame(); });
    ASSERT_TRUE(stopped.has_value());
    EXPECT_EQ(ErrorCode::WindowResized, stopped->code);
    EXPECT_EQ("Video rendering had to be stopped, because the FS window size changed!", stopped->userText);
    video.stop(true);
    EXPECT_EQ(std::make_pair(800, 600), clientSize());
    EXPECT_EQ("2", probeVideo(dir.file("resized.wmv")).at("nb_read_frames"));
}

// What the video shows is what the window showed: the first frame decoded again against the
// window's pixels when it was captured.
TEST_F(VideoTest, TheVideoShowsTheWindowsPicture) {
    Video video(&settings);
    const std::string file = dir.file("picture.wmv");
    video.start(file);
    render(video, 1);
    const auto [width, height] = clientSize();
    win::BITMAPINFOHEADER header;
    header.biWidth = width;
    header.biHeight = height;
    std::vector<uint8_t> captured(win::dibStride(width) * static_cast<std::size_t>(height));
    ASSERT_EQ(height, win::GetClientDIBits(HostWindow::mainWindow(), header, captured));
    render(video, 4);
    video.stop(false);
    EXPECT_GE(psnrAgainstBottomUp(firstFrameBgr(file, dir.file("first.bgr")), captured, width, height), 30.0);
}

// A disk that fills up stops the rendering with the writer's message; the file keeps the frames
// written before.
TEST_F(VideoTest, AFullDiskStopsTheRenderingAndKeepsAPlayableFile) {
    settings.resize = false;
    settings.vbr = true;
    settings.quality = 100;
    const std::string file = dir.file("full.wmv");
    Video video(&settings);
    std::optional<ZephrelException> failed;
    {
        const FileSizeLimit limit(20000);
        video.start(file);
        for (int i = 0; i < 400 && !failed; ++i) {
            sim().frame();
            failed = thrown([&] { video.frame(); });
        }
        video.stop(true);
    }
    ASSERT_TRUE(failed.has_value()) << "the limit was never reached";
    EXPECT_EQ(ErrorCode::VideoNotOpened, failed->code);
    EXPECT_EQ("Video could not be opened: Failed to write sample!", failed->userText);
    const auto probed = probeVideo(file);
    ASSERT_FALSE(probed.empty()) << "unreadable";
    const int kept = std::stoi(probed.at("nb_read_frames"));
    EXPECT_GT(kept, 0);
    EXPECT_LE(kept, video.frames());
}

} // namespace
