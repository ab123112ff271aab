// The controller's state changes, frame work, status line, menu and windows, driven from frames of
// the stand-in simulator in this process.

#include "app/Zephrel.h"

#include <gtest/gtest.h>

#include <fstream>
#include <utility>

#include "app/MenuIds.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "services/HostMenus.h"
#include "services/SimOptions.h"
#include "support/Errors.h"
#include "support/FakeCameras.h"
#include "support/PlayerFixture.h"
#include "support/ShownMessageBoxes.h"
#include "winsys/Dialogs.h"
#include "winsys/HeadlessScript.h"

namespace {

class FakeWindow : public ToolWindow {
public:
    void show(bool on) override { shown = on; }
    bool isShown() const override { return shown; }
    bool shown = false;
};

class FakeVideo : public VideoRendering {
public:
    bool editSettings(VideoSettings& video) override {
        video.hideInfoWnd = hideTexts;
        return accept;
    }
    bool start(const VideoSettings&) override {
        if (refusing)
            throw ZephrelException(ErrorCode::WindowNotResized, ZephrelException::Error, "Video::start", 1);
        return accept;
    }
    void stop(bool aborted) override { stops.push_back(aborted); }
    void togglePause() override { paused = !paused; }
    bool isPaused() const override { return paused; }
    void holdFrames(int n) override { holds.push_back({frames, n}); }
    void frame() override {
        ++frames;
        if (failing)
            throw ZephrelException(ErrorCode::WindowResized, ZephrelException::Error, "Video::frame", 1);
    }
    void showInfo() override { ++infos; }
    bool accept = true;
    bool hideTexts = false; // what the dialog makes of "Hide FS Info Text"
    bool failing = false;
    bool refusing = false; // the start fails
    bool paused = false;
    int frames = 0;
    int infos = 0;
    std::vector<std::pair<int, int>> holds; // the frames captured before, and how many held
    std::vector<bool> stops;
};

// Sends the frame event again while the frame runs, as a dialog opened from the frame would.
class ReenteringView : public PlaybackControlView {
public:
    void setPosition(double) override {
        if (!enabled || inside)
            return;
        inside = true;
        FSinterface::callback(Frame, 0);
        inside = false;
    }
    void setLoop(double, double, bool) override {}
    void setSpeed(float) override {}
    bool enabled = false;
    bool inside = false;
};

// The controller on a module folder of the test's own, registered as the module registers it, with
// the module's menu entries it keeps current. The recording is 300 s long, each frame 1/16 s.
class ZephrelTest : public PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        player.reset();
        recording =
            writeFile("traffic.zfl", {WrittenTrack(kJet, 0, 3000000), WrittenTrack(kBeaver, 0, 3000000)});
        FSinterface::addMenuItem(0, true, "Zephrel", kMenuZephrel, true);
        const std::pair<uint32_t, const char*> items[] = {
            {kMenuRecord, "Record..."},
            {kMenuPlay, "Play..."},
            {kMenuPlayAsTraffic, "Play as Traffic..."},
            {kMenuAdvancedPlay, "Advanced Play..."},
            {kMenuInstantReplay, "Instant Replay..."},
            {kMenuStopPlayback, "Stop Playback"},
            {kMenuSetMarker, "Set Marker..."},
            {kMenuControlWindow, "Control Window"},
            {kMenuDataWindow, "Data Window"},
            {kMenuRenderVideo, "Render Video..."},
            {kMenuPauseRendering, "Pause Rendering"},
            {kMenuSettings, "Settings..."},
        };
        for (const auto& [id, text] : items)
            FSinterface::addMenuItem(kMenuZephrel, false, text, id, true);
        FSinterface::initMenu();
    }
    void TearDown() override {
        module.reset(); // the stop reaches the controller, which outlives the host interface
        zephrel.reset();
        PlayerFixture::TearDown();
    }

    // "Zephrel.ini" with the test's keys of [SETTINGS] and further sections, read at Start.
    void startController(const std::string& settings, const std::string& sections = "") {
        std::ofstream(settingsFile) << "[SETTINGS]\nTempDirectory=" << dir.path().string() << "\n"
                                    << settings << sections;
        zephrel = std::make_unique<Zephrel>(dir.path().string(), seams());
        FSinterface::addCallback(zephrel.get());
        zephrel->callback(Start, 0, 0, 0);
    }
    ControllerSeams seams() {
        ControllerSeams seams{nullptr, nullptr, &control, &data, &video, &cameras, {}};
        seams.player.controlWindow = &reentering;
        seams.player.prompts = prompts;
        return seams;
    }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i)
            sim().frame();
    }
    const HostMenus::Item* item(const char* text) {
        return sim().menus().find(std::string("Zephrel/") + text);
    }
    bool enabled(const char* text) { return item(text) != nullptr && item(text)->enabled; }
    std::string status() {
        const std::vector<std::string>& drawn = sim().texts().drawnTexts();
        return drawn.empty() ? "" : drawn.front();
    }
    PlayList userList() {
        PlayList list = traffic(recording, {0, 1});
        list.userFile = 0;
        list.userTrack = 0;
        return list;
    }
    uint32_t now() { return zephrel->player()->now(); }

    std::string recording;
    FakeWindow control, data;
    FakeVideo video;
    FakeCameras cameras;
    ReenteringView reentering;
    PlayerPrompts* prompts = nullptr; // the controller's own unless a test gives others
    std::unique_ptr<Zephrel> zephrel;
};

// Fails the end of every playback, as a simulator that refuses a call would.
class FailingPrompts : public PlayerPrompts {
public:
    void refuseDuringMultiplayer() override {}
    bool convertOldRecording(const std::string&) override { return false; }
    void offerNewMarkers(const std::vector<Marker>&) override {
        throw ZephrelException::stopping(ErrorCode::Unexpected, "Player::stop", __LINE__, "Test failure");
    }
};

void expectInvalidCall(const std::optional<ZephrelException>& e, const char* function) {
    ASSERT_TRUE(e.has_value()) << function;
    EXPECT_EQ(ErrorCode::Unexpected, e->code);
    EXPECT_EQ(0u, e->severity);
    EXPECT_EQ(function, e->function);
}

TEST_F(ZephrelTest, EachStateChangeOutOfItsStateIsAnInvalidCall) {
    startController("EnableReplay=0\n");
    expectInvalidCall(thrown([&] { zephrel->stopRec("x.zfl"); }), "Zephrel::stopRec");
    expectInvalidCall(thrown([&] { zephrel->stopReplayRec(); }), "Zephrel::stopReplayRec");
    expectInvalidCall(thrown([&] { zephrel->stopPlay(false); }), "Zephrel::stopPlay");
    expectInvalidCall(thrown([&] { zephrel->startReplay(5); }), "Zephrel::startReplay");
    expectInvalidCall(thrown([&] { zephrel->saveReplay("x.zfl", 5); }), "Zephrel::saveReplay");
    zephrel->startRec();
    expectInvalidCall(thrown([&] { zephrel->startRec(); }), "Zephrel::startRec");
    expectInvalidCall(thrown([&] { zephrel->startReplayRec(); }), "Zephrel::startReplayRec");
    expectInvalidCall(thrown([&] { zephrel->startPlay(userList(), false); }), "Zephrel::startPlay");
    EXPECT_FALSE(zephrel->isPlaying()) << "no user playback while recording";
    zephrel->stopRec("");
    EXPECT_FALSE(zephrel->isReplayRecording()) << "EnableReplay is off";
    zephrel->startPlay(userList(), false);
    ASSERT_TRUE(zephrel->isUserPlayback());
    expectInvalidCall(thrown([&] { zephrel->startRec(); }), "Zephrel::startRec");
    expectInvalidCall(thrown([&] { zephrel->startReplayRec(); }), "Zephrel::startReplayRec");
    expectInvalidCall(thrown([&] { zephrel->startPlay(userList(), false); }), "Zephrel::startPlay");
}

TEST_F(ZephrelTest, ARecordingBesideATrafficPlaybackStartsAtThePlaybacksClockAndShowsItsLine) {
    startController("");
    zephrel->startReplayRec();
    EXPECT_TRUE(enabled("Instant Replay..."));
    zephrel->startPlay(traffic(recording, {0, 1}), false);
    EXPECT_FALSE(zephrel->isReplayRecording()) << "the background recording rests during a playback";
    EXPECT_FALSE(enabled("Instant Replay..."));
    EXPECT_FALSE(enabled("Settings..."));
    tick(160);
    EXPECT_EQ("TRAFFIC PLAYBACK [10 / 300 seconds]", status());
    zephrel->startRec();
    EXPECT_EQ(now(), zephrel->recorder()->now());
    EXPECT_NE(nullptr, item("Stop Recording..."));
    EXPECT_FALSE(enabled("Play...")) << "no user playback while recording";
    EXPECT_TRUE(enabled("Play as Traffic..."));
    EXPECT_FALSE(enabled("Advanced Play..."));
    tick(48);
    EXPECT_EQ("RECORDING + TRAFFIC PLAYBACK [13 / 300 seconds]", status());
    zephrel->stopPlay(true);
    EXPECT_FALSE(zephrel->isReplayRecording()) << "not beside a recording";
    tick();
    EXPECT_EQ("RECORDING [3 seconds]", status());
    zephrel->stopRec("");
    EXPECT_TRUE(zephrel->isReplayRecording()) << "the background recording starts again";
    EXPECT_TRUE(enabled("Instant Replay..."));
    EXPECT_TRUE(enabled("Record..."));
    tick();
    EXPECT_EQ("", status());
}

TEST_F(ZephrelTest, AUserPlaybackShowsItsWindowsAndStatusAndAStopLetsItRunOutToItsEnd) {
    startController("ShowWindow=1\nShowDataWindow=1\nSearch2=1\n");
    zephrel->startPlay(userList(), false);
    EXPECT_TRUE(control.shown);
    EXPECT_TRUE(data.shown);
    EXPECT_FALSE(enabled("Record..."));
    EXPECT_FALSE(enabled("Play..."));
    EXPECT_TRUE(enabled("Control Window"));
    EXPECT_TRUE(enabled("Data Window"));
    zephrel->toggleDataWindow();
    EXPECT_FALSE(data.shown);

    zephrel->faster();
    zephrel->toggleLoop();
    tick(96); // 12 s at speed 2
    EXPECT_EQ("PLAYBACK [12 / 300 seconds] (loop) (speed 200%)", status());
    zephrel->forward(2); // a search the stop has to end
    ASSERT_EQ(15, zephrel->player()->searchSpeed());
    zephrel->stopPlayback(false);
    ASSERT_TRUE(zephrel->isPlaying());
    EXPECT_EQ(2990000u, now());
    EXPECT_EQ(1.0f, zephrel->player()->speed());
    EXPECT_EQ(0, zephrel->player()->searchSpeed());
    EXPECT_FALSE(zephrel->player()->loop());
    tick(16);
    EXPECT_TRUE(zephrel->isPlaying()) << "one second to run, the end reached in its last frame";
    tick();
    EXPECT_FALSE(zephrel->isPlaying()) << "finished at the end";
    EXPECT_FALSE(control.shown);
    EXPECT_TRUE(zephrel->isReplayRecording());
    EXPECT_TRUE(enabled("Settings..."));
}

TEST_F(ZephrelTest, TrafficPlaybackHasNoControlsWithoutEnableControlsAI) {
    startController("ShowWindow=1\n");
    zephrel->startPlay(traffic(recording, {0}), false);
    EXPECT_FALSE(control.shown);
    EXPECT_FALSE(enabled("Control Window"));
    EXPECT_FALSE(enabled("Data Window"));
    zephrel->toggleControlWindow();
    EXPECT_FALSE(control.shown);
    zephrel->forward(1);
    EXPECT_EQ(0u, now());
}

TEST_F(ZephrelTest, PlaybackControlsJumpOrSearchPerStepAndHoldTheSpeedListsEnds) {
    startController("EnableControlsAI=1\nShowWindow=1\nJumpSize1=2\nSearch2=1\nSearchSpeed2=4\n");
    zephrel->startPlay(traffic(recording, {0}), false);
    EXPECT_TRUE(control.shown);
    zephrel->forward(1);
    EXPECT_EQ(20000u, now());
    zephrel->backward(1);
    EXPECT_EQ(0u, now());
    zephrel->forward(2);
    EXPECT_EQ(4, zephrel->player()->searchSpeed());
    zephrel->backward(2);
    EXPECT_EQ(-4, zephrel->player()->searchSpeed());
    zephrel->forward(0);
    EXPECT_EQ(0, zephrel->player()->searchSpeed());

    const std::vector<double>& speeds = zephrel->settings().speeds;
    for (int i = 0; i < 12; ++i)
        zephrel->slower();
    EXPECT_FLOAT_EQ(static_cast<float>(speeds.front()), zephrel->player()->speed());
    zephrel->faster();
    EXPECT_FLOAT_EQ(static_cast<float>(speeds[1]), zephrel->player()->speed());
    for (int i = 0; i < 12; ++i)
        zephrel->faster();
    EXPECT_FLOAT_EQ(static_cast<float>(speeds.back()), zephrel->player()->speed());
    zephrel->normalSpeed();
    EXPECT_FLOAT_EQ(1.0f, zephrel->player()->speed());
    zephrel->slower();
    EXPECT_FLOAT_EQ(0.5f, zephrel->player()->speed()) << "one below normal";

    zephrel->position(0.5);
    EXPECT_EQ(1500000u, now());
    zephrel->position(1.0 / 3);
    EXPECT_EQ(1000000u, now()) << "rounded to the nearest tick";
}

// Jump sizes come from a hand-edited file: however large, a jump goes the way it is asked and
// ends inside the recording (here 0 s to 300 s, jumps ending a second before the end).
TEST_F(ZephrelTest, JumpsOfAnySizeGoTheirWayAndEndInsideTheRecording) {
    startController("EnableControlsAI=1\nJumpSize1=300000\nJumpSize2=2147483647\nJumpSize3=-7\n");
    zephrel->startPlay(traffic(recording, {0}), false);
    const uint32_t last = zephrel->player()->end() - 10000;
    zephrel->forward(1);
    EXPECT_EQ(last, now());
    zephrel->backward(1);
    EXPECT_EQ(0u, now());
    zephrel->forward(2);
    EXPECT_EQ(last, now());
    zephrel->backward(2);
    EXPECT_EQ(0u, now());
    zephrel->backward(3);
    EXPECT_EQ(70000u, now()) << "a negative size turns the direction round";
}

TEST_F(ZephrelTest, ALoadedFlightStopsWhatRunsRestartsTheReplayAndPlaysItsAutoplayRecording) {
    // One entry names the flight, the other gives its path: both match on the file title.
    startController("FileDialog=0\n", "[AUTOPLAY.001]\nFLT=Lesson\nZFL=" + recording + "\nPlayAsTraffic=1\n" +
                                          "[AUTOPLAY.004]\nFLT=" + dir.file("Other/Circuit.FLT") +
                                          "\nZFL=" + recording + "\nPlayAsTraffic=0\n");
    zephrel->startRec();
    const std::string lesson = dir.file("Flights/LESSON.flt");
    zephrel->callback(FlightLoaded, reinterpret_cast<intptr_t>(lesson.c_str()), 0, 0);
    EXPECT_FALSE(zephrel->isRecording());
    ASSERT_TRUE(zephrel->isPlaying()) << "the flight's title matches without regard to case";
    EXPECT_FALSE(zephrel->isUserPlayback());

    const std::string circuit = dir.file("Flights/circuit.flt");
    zephrel->callback(FlightLoaded, reinterpret_cast<intptr_t>(circuit.c_str()), 0, 0);
    EXPECT_TRUE(zephrel->isUserPlayback()) << "the traffic was stopped, the user recording plays";

    zephrel->callback(FlightLoaded, reinterpret_cast<intptr_t>(""), 0, 0);
    EXPECT_FALSE(zephrel->isPlaying());
    ASSERT_TRUE(zephrel->isReplayRecording());
    FSinterface::setPaused(false); // the user playback's end paused the simulator
    tick(16);
    EXPECT_LT(0u, zephrel->recorder()->now());
    zephrel->callback(FlightLoaded, 0, 0, 0);
    EXPECT_EQ(0u, zephrel->recorder()->now()) << "the instant replay starts again";
}

TEST_F(ZephrelTest, ALoadedAircraftStopsTheRecordingAndRestartsTheReplayUnlessPlaying) {
    startController("FileDialog=0\n");
    zephrel->startRec();
    zephrel->callback(AircraftLoaded, 0, 0, 0);
    EXPECT_FALSE(zephrel->isRecording());
    EXPECT_TRUE(zephrel->isReplayRecording());

    zephrel->startPlay(traffic(recording, {0}), false);
    zephrel->callback(AircraftLoaded, 0, 0, 0);
    EXPECT_TRUE(zephrel->isPlaying());
    EXPECT_FALSE(zephrel->isReplayRecording());
}

TEST_F(ZephrelTest, RenderingHidesTheStatusUnlessPausedAndKeepsItsMenuEntriesCurrent) {
    startController("EnableControlsAI=1\nShowWindow=1\n");
    video.accept = false;
    zephrel->renderVideo();
    EXPECT_FALSE(zephrel->isRendering()) << "cancelled";
    video.accept = true;
    zephrel->startPlay(traffic(recording, {0}), false);
    EXPECT_TRUE(control.shown);
    zephrel->renderVideo();
    ASSERT_TRUE(zephrel->isRendering());
    EXPECT_FALSE(control.shown) << "no window over the video";
    EXPECT_NE(nullptr, item("Stop Rendering"));
    EXPECT_TRUE(enabled("Pause Rendering"));
    const int before = video.frames;
    tick(3);
    EXPECT_EQ(before + 3, video.frames);
    EXPECT_EQ("", status()) << "HideDisplay";

    zephrel->pauseRendering();
    EXPECT_NE(nullptr, item("Continue Rendering"));
    tick();
    EXPECT_EQ("TRAFFIC PLAYBACK [0 / 300 seconds]", status());
    zephrel->pauseRendering();
    tick();
    EXPECT_EQ("", status());

    zephrel->stopRendering(true);
    EXPECT_EQ(std::vector<bool>{true}, video.stops);
    EXPECT_FALSE(zephrel->isRendering());
    EXPECT_TRUE(enabled("Render Video..."));
    EXPECT_FALSE(enabled("Pause Rendering"));
    EXPECT_TRUE(control.shown);
    const int stopped = video.frames;
    tick();
    EXPECT_EQ(stopped, video.frames);
}

// A rendering ends with its playback and then shows its summary; it holds still after every camera
// switch; a failed frame ends it as an abort with the error shown, and the playback goes on.
TEST_F(ZephrelTest, RenderingEndsWithThePlaybackHoldsAfterCameraSwitchesAndAbortsOnAFailure) {
    startController("", "[VIDEO]\nCamSwitchPause=5\n");
    video.hideTexts = true;
    zephrel->startPlay(userList(), false);
    zephrel->callback(AircraftLoaded, 0, 0, 0);
    zephrel->renderVideo();
    ASSERT_TRUE(zephrel->isRendering());
    EXPECT_TRUE(hostState().hideTexts);
    EXPECT_NE(std::string::npos, readText(settingsFile).find("HideInfoWnd=1")) << "the dialog's edit is kept";
    tick(2);
    EXPECT_TRUE(video.holds.empty()) << "no camera known, none switched";
    cameras.selected = Guid::create();
    tick(3);
    cameras.selected = Guid::create();
    tick();
    EXPECT_EQ((std::vector<std::pair<int, int>>{{2, 5}, {5, 5}}), video.holds);

    zephrel->stopPlayback(true);
    EXPECT_FALSE(zephrel->isRendering());
    EXPECT_EQ(std::vector<bool>{false}, video.stops);
    EXPECT_EQ(1, video.infos) << "ShowInfo";
    EXPECT_FALSE(hostState().hideTexts);

    zephrel->startPlay(userList(), false);
    zephrel->renderVideo();
    video.failing = true;
    tick();
    EXPECT_FALSE(zephrel->isRendering());
    EXPECT_EQ((std::vector<bool>{false, true}), video.stops);
    EXPECT_EQ(1, video.infos) << "no summary of an aborted video";
    EXPECT_TRUE(zephrel->isPlaying());
    ASSERT_FALSE(shownMessageBoxes().empty());
    EXPECT_EQ("Video rendering had to be stopped, because the FS window size changed!",
              shownMessageBoxes().back().text);
}

TEST_F(ZephrelTest, AFrameEventFromInsideTheFrameIsLeftOut) {
    startController("");
    zephrel->startPlay(traffic(recording, {0}), false);
    tick();
    const uint32_t before = now();
    reentering.enabled = true;
    tick(16);
    EXPECT_EQ(before + 10000u, now()) << "one clock step per frame";
}

TEST_F(ZephrelTest, UnloadingStopsThePlaybackAndTheRendering) {
    // Not registered: the host interface must not reach it after it is gone.
    std::ofstream(settingsFile) << "[SETTINGS]\nTempDirectory=" << dir.path().string() << "\n";
    auto unloaded = std::make_unique<Zephrel>(dir.path().string(), seams());
    unloaded->callback(Start, 0, 0, 0);
    unloaded->startPlay(traffic(recording, {0}), false);
    unloaded->renderVideo();
    for (int i = 0; i < 2; ++i) {
        tick();
        unloaded->callback(Frame, 0, 0, 0);
    }
    const uint32_t aircraft = unloaded->player()->trackAircraft(0);
    ASSERT_NE(nullptr, world().find(aircraft));
    unloaded.reset();
    EXPECT_EQ(nullptr, world().find(aircraft));
    EXPECT_EQ(std::vector<bool>{false}, video.stops);
    EXPECT_EQ(0, video.infos) << "nobody there to read a summary";
}

// A start that fails or is cancelled leaves no rendering and no hidden texts; the simulator
// closing ends a rendering without its summary.
TEST_F(ZephrelTest, ARenderingThatDoesNotStartLeavesNothingAndClosingEndsOneQuietly) {
    startController("", "[VIDEO]\nHideInfoWnd=1\n");
    zephrel->startPlay(userList(), false);
    video.hideTexts = true;
    video.refusing = true;
    EXPECT_TRUE(thrown([&] { zephrel->renderVideo(); }).has_value());
    EXPECT_FALSE(zephrel->isRendering());
    EXPECT_FALSE(hostState().hideTexts);
    EXPECT_TRUE(enabled("Render Video..."));
    video.refusing = false;
    video.accept = false;
    zephrel->renderVideo();
    EXPECT_FALSE(zephrel->isRendering());
    EXPECT_FALSE(hostState().hideTexts);

    video.accept = true;
    zephrel->renderVideo();
    ASSERT_TRUE(zephrel->isRendering());
    zephrel->callback(SimClosing, 0, 0, 0);
    EXPECT_FALSE(zephrel->isRendering());
    EXPECT_FALSE(zephrel->isPlaying());
    EXPECT_EQ(std::vector<bool>{false}, video.stops);
    EXPECT_EQ(0, video.infos);
}

} // namespace

TEST_F(ZephrelTest, AnErrorThatStopsRecordingAndPlaybackStopsTheBackgroundRecordingOnlyWhenAsked) {
    startController("FileDialog=0\n");
    zephrel->startReplayRec();
    zephrel->startRec();
    const auto error = [](uint32_t severity) {
        return ZephrelException(ErrorCode::Unexpected, severity, "Test", __LINE__, "Test failure");
    };
    zephrel->afterError(error(ZephrelException::Error), true);
    EXPECT_TRUE(zephrel->isRecording()) << "an error only informs";
    zephrel->afterError(error(ZephrelException::StopsRecordingAndPlayback), false);
    EXPECT_FALSE(zephrel->isRecording());
    EXPECT_TRUE(zephrel->isReplayRecording()) << "restarted after the recording, as after any stop";
    zephrel->startPlay(userList(), false);
    zephrel->afterError(error(ZephrelException::StopsRecordingAndPlayback), true);
    EXPECT_FALSE(zephrel->isPlaying());
    EXPECT_FALSE(zephrel->isReplayRecording());
    EXPECT_TRUE(enabled("Record..."));
    EXPECT_FALSE(enabled("Instant Replay..."));
}

TEST_F(ZephrelTest, AnInstantReplayPlaysTheLastSecondsWithoutARestoreWhileTheRingRests) {
    startController("RestoreAfterPlay=1\nPauseEndPlay=0\n");
    zephrel->startReplayRec();
    tick(160);
    const uint32_t clock = zephrel->recorder()->now();
    EXPECT_EQ(9u, zephrel->replaySeconds()) << "the first sample follows the first frame";
    zephrel->startReplay(4);
    ASSERT_TRUE(zephrel->isReplayPlayback());
    EXPECT_TRUE(zephrel->isUserPlayback());
    EXPECT_FALSE(zephrel->isReplayRecording());
    EXPECT_TRUE(std::filesystem::exists(dir.file("Zephrel.tmp3")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("ZephrelTempRestore.flt"))) << "no flight saved to restore";
    EXPECT_FALSE(enabled("Play..."));
    tick(16);
    // Samples come every quarter second: the last one is a little before the recorder's clock.
    EXPECT_EQ("INSTANT REPLAY [2 seconds]", status());
    EXPECT_EQ(clock, zephrel->recorder()->now()) << "the recorder rests";
    zephrel->stopPlay(false);
    EXPECT_TRUE(zephrel->isReplayRecording());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Zephrel.tmp3")));
    tick(16);
    EXPECT_EQ(clock + 10000, zephrel->recorder()->now()) << "and goes on from where it stood";
}

// The replay's recording goes with its playback, also when stopping the playback fails: the error
// is shown and everything stops, the simulator is given back its traffic, and nothing is left in
// the temporary folder.
TEST_F(ZephrelTest, TheInstantReplaysFileGoesWithItsPlaybackAlsoWhenTheStopFails) {
    FailingPrompts failing;
    prompts = &failing;
    startController("PauseEndPlay=0\n");
    sim().setTrafficPercent(30);
    zephrel->startReplayRec();
    tick(160);
    zephrel->startReplay(4);
    ASSERT_TRUE(zephrel->isReplayPlayback());
    ASSERT_TRUE(std::filesystem::exists(dir.file("Zephrel.tmp3")));
    win::headless::answerMessageBox(win::IDOK, {"Zephrel Error", "unexpected"});
    tick(160); // past the replay's end, where the frame stops it
    EXPECT_EQ(0u, win::headless::unusedAnswers()) << "the failed stop was shown";
    EXPECT_FALSE(zephrel->isPlaying());
    EXPECT_FALSE(std::filesystem::exists(dir.file("Zephrel.tmp3")));
    EXPECT_EQ(30u, sim().options().airlinePercent()) << "the simulator's traffic is back";
}
