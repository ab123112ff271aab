// Simulation control and the texts the module has the host show and draw.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "FakeHost.h"
#include "alerts/HostWindow.h"
#include "host/FSinterface.h"
#include "host/HostState.h"

namespace {

using Draw = FakeHost::Draw;
using MessageLine = FakeHost::MessageLine;

constexpr uint32_t kTopBit = 0x80000000u;

// The host's records are packed: their fields are read by value.
uint32_t flagsOf(const ZHostView& view) { return view.flags; }
uint32_t trafficWord(const ZHostTrafficSettings& traffic, std::size_t index) { return traffic.words[index]; }

uint32_t optionsWord(const FakeHost& h, std::size_t index) {
    uint32_t word = 0;
    std::memcpy(&word, h.options + 4 * index, sizeof word);
    return word;
}

class FSinterfaceControlTest : public FakeHostTest {};

TEST_F(FSinterfaceControlTest, PauseAndRateUseTheHostsWordsUntilStopping) {
    FakeHost& h = start(1);
    FSinterface::setPaused(true);
    EXPECT_EQ(1, h.simState.pauseRequest);
    EXPECT_FALSE(FSinterface::isPaused()); // the host decides when it is paused
    h.simState.paused = 2;
    EXPECT_TRUE(FSinterface::isPaused());
    h.simState.paused = 0;

    h.rate = 0x30180; // only the low 16 bits are the rate
    EXPECT_FLOAT_EQ(1.5f, FSinterface::getSimRate());
    for (const float rate : {0.25f, 1.0f, 0.3f, 16.0f}) {
        FSinterface::setSimRate(rate);
        EXPECT_EQ(static_cast<uint32_t>(rate * 256 + 0.5f), h.rate) << rate;
    }

    FSinterface::stop();
    h.rate = 512;
    FSinterface::setSimRate(4);
    FSinterface::setPaused(false);
    EXPECT_EQ(512u, h.rate);
    EXPECT_EQ(1, h.simState.pauseRequest);
    EXPECT_TRUE(FSinterface::isPaused());
    EXPECT_EQ(1.0f, FSinterface::getSimRate());
}

TEST_F(FSinterfaceControlTest, TrafficAndTheOptionWordAreSavedWhenOffAndPutBackWhenOn) {
    for (int v = 0; v < HostVersion::kAccepted; ++v) {
        restart();
        FakeHost& h = start(v);
        for (uint32_t i = 0; i < 8; ++i)
            h.traffic.words[i] = 10 + i;
        for (uint8_t i = 0; i < ZHOST_OPTIONS_SIZE; ++i)
            h.options[i] = static_cast<uint8_t>(i + 1);
        const ZHostTrafficSettings traffic = h.traffic;
        uint8_t options[ZHOST_OPTIONS_SIZE];
        std::memcpy(options, h.options, sizeof options);
        const std::size_t optionWord = v < 2 ? 19 : 20;

        FSinterface::setTraffic(true); // already on
        FSinterface::setSimOption(true);
        EXPECT_EQ(0, h.trafficApplied + h.optionsApplied);

        FSinterface::setTraffic(false);
        FSinterface::setTraffic(false);
        FSinterface::setSimOption(false);
        FSinterface::setSimOption(false);
        EXPECT_EQ(1, h.trafficApplied);
        EXPECT_EQ(1, h.optionsApplied);
        for (std::size_t i = 0; i < 8; ++i) {
            const bool amount = i == ZHOST_TRAFFIC_AIRLINE_WORD || i == ZHOST_TRAFFIC_GENERAL_AVIATION_WORD;
            EXPECT_EQ(amount ? 0 : trafficWord(traffic, i), trafficWord(h.traffic, i)) << i;
        }
        for (std::size_t i = 0; i < ZHOST_OPTIONS_SIZE / 4; ++i) {
            uint32_t before = 0;
            std::memcpy(&before, options + 4 * i, sizeof before);
            EXPECT_EQ(i == optionWord ? 0 : before, optionsWord(h, i)) << "word " << i << " at version " << v;
        }

        FSinterface::setTraffic(true);
        FSinterface::setSimOption(true);
        EXPECT_EQ(0, std::memcmp(&traffic, &h.traffic, sizeof traffic));
        EXPECT_EQ(0, std::memcmp(options, h.options, sizeof options));
    }
}

TEST_F(FSinterfaceControlTest, ModalBracketsNestAndOnlyTheOutermostReachesTheHost) {
    FakeHost& h = start();
    FSinterface::setModal(false);
    {
        ModalBracket outer;
        FSinterface::setModal(true);
        EXPECT_EQ(1, h.beginModal);
        FSinterface::setModal(false);
        EXPECT_EQ(0, h.endModal);
    }
    EXPECT_EQ(1, h.beginModal);
    EXPECT_EQ(1, h.endModal);
    FSinterface::setModal(false);
    EXPECT_EQ(1, h.endModal);
}

TEST_F(FSinterfaceControlTest, TheHostsSwitchesWordsAndFolders) {
    FakeHost& h = start();
    h.fullScreen = 1;
    EXPECT_TRUE(FSinterface::isFullScreen());
    FSinterface::setFullScreen(true);
    FSinterface::setFullScreen(false);
    EXPECT_EQ((std::vector<int32_t>{1, 0}), h.fullScreenCalls);
    FSinterface::clearHostWord();
    EXPECT_EQ(0u, h.hostWord);
    EXPECT_EQ(h.flightsFolder, FSinterface::getFlightsFolder());
}

TEST_F(FSinterfaceControlTest, TheMessageLineIsClearedWithABlankOnTheFirstHostOnly) {
    for (const int v : {0, 1, 4}) {
        restart();
        FakeHost& h = start(v);
        const std::string cleared = v == 0 ? " " : "";
        FSinterface::showText("Recording", 2.5f, false);
        FSinterface::showText("Playback", 1, true);
        FSinterface::showText("Recording", 0, false);
        FSinterface::showText("", 3, true);
        EXPECT_EQ(
            (std::vector<MessageLine>{{"Recording", 4, 45}, {"Playback", 3, 18}, {cleared, 4, 0}, {cleared, 3, 0}}),
            h.messageLines);
        FSinterface::stop();
        FSinterface::showText("late", 1, false);
        EXPECT_EQ(4u, h.messageLines.size());
    }
}

TEST_F(FSinterfaceControlTest, TheStatusTextIsDrawnIntoTheMainViewWithTheVersionsMode) {
    for (const int v : {2, 3}) {
        restart();
        FakeHost& h = start(v);
        ZHostView* mainView = &h.views[0];
        FSinterface::setStatusText("REC", 10, 20);
        FSinterface::setStatusText("REC", 30, 40); // the same text keeps its resource
        h.raise(ZHOST_EVENT_VIEW_DRAW, reinterpret_cast<uintptr_t>(&h.views[1]));
        h.raise(ZHOST_EVENT_VIEW_DRAW, reinterpret_cast<uintptr_t>(mainView));
        const uint32_t mode = v <= 2 ? 7 : 9;
        EXPECT_EQ((std::vector<Draw>{{mainView, "REC", 30, 40, mode, nullptr}}), h.draws);

        FSinterface::setStatusText("PLAY", 30, 40);
        EXPECT_EQ(std::vector<uint32_t>{1}, h.freedTexts);
        FSinterface::setStatusText("", 30, 40);
        EXPECT_EQ((std::vector<uint32_t>{1, 2}), h.freedTexts);
        EXPECT_EQ(2u, h.textResources.size());
        h.draws.clear();
        h.raise(ZHOST_EVENT_VIEW_DRAW, reinterpret_cast<uintptr_t>(mainView));
        EXPECT_TRUE(h.draws.empty());
    }
}

TEST_F(FSinterfaceControlTest, TheTextRefreshMarksTheMainViewUnlessTextsAreHidden) {
    FakeHost& h = start();
    h.views[1].flags = kTopBit;
    h.raise(ZHOST_EVENT_FRAME);
    EXPECT_EQ(0u, flagsOf(h.views[0])); // no status text
    FSinterface::setStatusText("REC", 0, 0);
    h.raise(ZHOST_EVENT_FRAME);
    EXPECT_EQ(kTopBit, flagsOf(h.views[0]));

    FSinterface::setHideTexts(true);
    EXPECT_EQ(0u, flagsOf(h.views[0]));
    EXPECT_EQ(0u, flagsOf(h.views[1]));
    h.simState.paused = 1; // paused, the texts show
    h.raise(ZHOST_EVENT_FRAME);
    EXPECT_EQ(kTopBit, flagsOf(h.views[0]));
}

TEST_F(FSinterfaceControlTest, ACaptionCountsDownInItsViewAndOtherIndexesAreIgnored) {
    FakeHost& h = start(0);
    FSinterface::setViewCaption("Tower", 2, 1, 2, -1);
    FSinterface::setViewCaption("Tower", 2, 1, 2, 0);
    EXPECT_TRUE(h.textResources.empty()); // no views known yet

    ZHostView* view = &h.views[1];
    HostViewEntry entry;
    entry.view = view;
    hostState().views.push_back(entry);
    hostState().activeView = 0;
    h.simState.paused = 1;
    h.realFrameTime = 1.5;
    FSinterface::setViewCaption("Tower", 2, 5, 6, -1);
    FSinterface::setViewCaption("Spot", 2, 5, 6, 1);
    for (int pass = 0; pass < 3; ++pass)
        h.raise(ZHOST_EVENT_VIEW_DRAW, reinterpret_cast<uintptr_t>(view));
    // 2 s at 1.5 s a frame: drawn with 0.5 s left, then with 0 s, then no longer.
    EXPECT_EQ((std::vector<Draw>{{view, "Tower", 5, 6, 13, view}, {view, "Tower", 5, 6, 13, view}}), h.draws);
    EXPECT_EQ(1, hostState().views[0].seen);
    EXPECT_EQ(0.0f, hostState().views[0].captionTime);

    FSinterface::stop();
    EXPECT_EQ(std::vector<uint32_t>{1}, h.freedTexts);
}

} // namespace
