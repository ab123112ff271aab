// "Video Rendering": the settings shown and written back within their limits, the default codec,
// the VBR box and the field it switches, the window size options, the lists.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "ShownControls.h"
#include "TemplateLayout.h"
#include "ui/VideoDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = VideoDlg;
using When = win::DialogEntry::What;

// Each with a live complexity of its own, none of them the stored complexity the tests use (4).
const std::vector<VideoCodecChoice> kCodecsHere = {
    {"Windows Media Video 7", true, 2, 0},
    {"Windows Media Video 8", true, 3, 1},
    {"MPEG-4 Part 2", true, 2, 2},
    {"H.264 (x264)", true, 8, 6},
};
const std::vector<VideoCodecChoice> kCodecsWithVersion9 = {
    {"Windows Media Video 8", true, 3, 1},
    {"Windows Media Video 9", true, 4, 2},
    {"Windows Media Video 9 Advanced Profile", true, 5, 3},
};
const std::vector<VideoCodecChoice> kCodecsWithoutVbr = {
    {"Windows Media Video 7", false, 2, 0},
    {"H.264 (x264)", true, 8, 6},
};

// A list control's state as the transcript shows it: the given texts, or the numbers 0 to `last`.
std::string listState(const std::vector<std::string>& items, int selected) {
    std::string text = "items [";
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "\"" : ", \"") + items[i] + "\"";
    return text + "] selected " + std::to_string(selected);
}
std::string numbersState(int last, int selected) {
    std::vector<std::string> numbers;
    for (int n = 0; n <= last; ++n)
        numbers.push_back(std::to_string(n));
    return listState(numbers, selected);
}

class VideoDlgTest : public ModuleDialogTest {
protected:
    bool run(std::vector<Step> steps, const std::vector<VideoCodecChoice>& codecs = kCodecsHere) {
        forgetHistory();
        scriptDialog(ModuleResources::kVideoDialog, std::move(steps));
        return D::show(nullptr, settings, codecs);
    }

    // A control as the dialog showed it on opening, or when it ended.
    static win::ControlSnapshot shown(When when, int id) { return shownControl(ModuleResources::kVideoDialog, when, id); }
    // The shared field with its two labels, as "Quality: 90 %".
    static std::string rateShown(When when) {
        return shown(when, D::kRateLabelId).text + " " + shown(when, D::kRateId).text + " " +
               shown(when, D::kRateUnitId).text;
    }

    VideoSettings settings;
};

TEST_F(VideoDlgTest, TemplateControlsStayInsideTheDialogAndApart) {
    EXPECT_EQ(std::vector<std::string>{}, layoutProblems(D::dialogTemplate()));
}

TEST_F(VideoDlgTest, ShowsTheSettingsAndOkWithoutChangesKeepsThem) {
    settings.codec = 3;
    const VideoSettings before = settings;
    EXPECT_TRUE(run({Press{win::IDOK}}));
    EXPECT_EQ(before, settings);

    const std::string opened = transcriptText();
    for (const char* line : {"dialog 130 \"Video Rendering\" initialised",
                             "During video rendering FS is not running in real time!", "1001 Edit \"640\"",
                             "1002 Edit \"480\"", "1003 Button \"FS Window Size\" unchecked",
                             "1004 Button \"Resize FS Window to Video Size\" checked", "1005 Edit \"25.00\"",
                             "1007 Button \"Constant Quality Variable Bitrate\" checked",
                             "1016 Button \"Hide FS Info Text and Menu Bar\" unchecked",
                             "1018 Button \"On Camera Switch pause for\" checked", "1019 Edit \"100\""})
        EXPECT_NE(std::string::npos, opened.find(line)) << line << " in\n" << opened;
    EXPECT_EQ(
        listState({"Windows Media Video 7", "Windows Media Video 8", "MPEG-4 Part 2", "H.264 (x264)"}, 3),
        shown(When::Initialised, D::kCodecId).state);
    EXPECT_EQ(numbersState(8, 0), shown(When::Initialised, D::kComplexityId).state);
    EXPECT_EQ("Quality: 90 %", rateShown(When::Initialised));
}

TEST_F(VideoDlgTest, WithoutAStoredCodecTheDefaultIsChosenAtItsLiveComplexity) {
    struct Case {
        const char* what;
        std::vector<VideoCodecChoice> codecs;
        int stored;
        int codec;
        int complexity;
        int maxComplexity;
    };
    const std::vector<Case> cases = {
        {"both version 9 codecs: the Advanced Profile", kCodecsWithVersion9, -1, 2, 3, 5},
        {"version 9 only", {kCodecsWithVersion9[0], kCodecsWithVersion9[1]}, -1, 1, 2, 4},
        {"the codecs here: version 8", kCodecsHere, -1, 1, 1, 3},
        {"no Windows Media codec: the first", {kCodecsHere[2], kCodecsHere[3]}, -1, 0, 2, 2},
        {"a codec the writer does not have", kCodecsHere, 7, 1, 1, 3},
        {"a stored codec keeps the stored complexity", kCodecsHere, 3, 3, 4, 8},
    };
    for (const Case& c : cases) {
        settings = VideoSettings{};
        settings.codec = c.stored;
        settings.complexity = 4;
        EXPECT_TRUE(run({Press{win::IDOK}}, c.codecs)) << c.what;
        EXPECT_EQ(c.codec, settings.codec) << c.what;
        EXPECT_EQ(c.complexity, settings.complexity) << c.what;
        EXPECT_EQ(numbersState(c.maxComplexity, c.complexity),
                  shown(When::Initialised, D::kComplexityId).state)
            << c.what;
    }

    // Without any codec nothing is selected and nothing can be encoded with VBR.
    settings = VideoSettings{};
    EXPECT_TRUE(run({Press{win::IDOK}}, {}));
    EXPECT_EQ(-1, settings.codec);
    EXPECT_FALSE(settings.vbr);
}

TEST_F(VideoDlgTest, ACodecWithoutVbrDisablesTheBoxAndShowsTheBitrate) {
    settings.codec = 0;
    EXPECT_TRUE(run({Press{win::IDOK}}, kCodecsWithoutVbr));
    const win::ControlSnapshot box = shown(When::Initialised, D::kVBRId);
    EXPECT_FALSE(box.enabled);
    EXPECT_EQ("unchecked", box.state);
    EXPECT_EQ("Bitrate: 1000 kbps", rateShown(When::Initialised));
    EXPECT_FALSE(settings.vbr);
    EXPECT_EQ(1000000, settings.bitrate);

    // Choosing a codec enables the box by its support and offers its complexities from its live one.
    settings.vbr = true;
    settings.codec = 1;
    EXPECT_TRUE(run({SelectIndex{D::kCodecId, 0}, Press{win::IDOK}}, kCodecsWithoutVbr));
    EXPECT_FALSE(shown(When::Ended, D::kVBRId).enabled);
    EXPECT_EQ("Bitrate: 1000 kbps", rateShown(When::Ended));
    EXPECT_EQ(numbersState(2, 0), shown(When::Ended, D::kComplexityId).state);
    EXPECT_EQ(0, settings.codec);
    EXPECT_FALSE(settings.vbr);

    EXPECT_TRUE(
        run({SelectIndex{D::kCodecId, 1}, SetCheck{D::kVBRId, true}, Press{win::IDOK}}, kCodecsWithoutVbr));
    EXPECT_EQ(numbersState(8, 6), shown(When::Ended, D::kComplexityId).state);
    EXPECT_EQ("Quality: 90 %", rateShown(When::Ended));
    EXPECT_EQ(1, settings.codec);
    EXPECT_EQ(6, settings.complexity);
    EXPECT_TRUE(settings.vbr);
}

TEST_F(VideoDlgTest, TheVbrBoxSwitchesTheFieldBetweenQualityAndBitrate) {
    const auto rate = [](const char* text) { return SetText{D::kRateId, text}; };
    const auto vbr = [](bool checked) { return SetCheck{D::kVBRId, checked}; };
    const auto codec = [](int index) { return SelectIndex{D::kCodecId, index}; };
    struct Case {
        const char* what;
        bool vbr;
        std::vector<Step> steps;
        const char* shownAtEnd;
        int quality;
        int bitrate;
        bool vbrAtEnd;
    };
    const std::vector<Case> cases = {
        {"quality, then bitrate", true, {rate("60"), vbr(false)}, "Bitrate: 2500 kbps", 60, 2500000, false},
        {"bitrate, then quality", false, {rate("3000"), vbr(true)}, "Quality: 75 %", 75, 3000000, true},
        {"both", true, {vbr(false), rate("800"), vbr(true), rate("40")}, "Quality: 40 %", 40, 800000, true},
        {"quality, then codec", true, {rate("60"), codec(3)}, "Quality: 60 %", 60, 2500000, true},
    };
    for (const Case& c : cases) {
        settings = VideoSettings{};
        settings.codec = 0;
        settings.vbr = c.vbr;
        settings.quality = 75;
        settings.bitrate = 2500000;
        std::vector<Step> steps = c.steps;
        steps.push_back(Press{win::IDOK});
        EXPECT_TRUE(run(steps)) << c.what;
        EXPECT_EQ(c.shownAtEnd, rateShown(When::Ended)) << c.what;
        EXPECT_EQ(c.quality, settings.quality) << c.what;
        EXPECT_EQ(c.bitrate, settings.bitrate) << c.what;
        EXPECT_EQ(c.vbrAtEnd, settings.vbr) << c.what;
    }
}

TEST_F(VideoDlgTest, OkKeepsTheValuesWithinTheirLimits) {
    using Read = std::function<double(const VideoSettings&)>;
    const Read width = [](const VideoSettings& s) { return s.width; };
    const Read height = [](const VideoSettings& s) { return s.height; };
    const Read fps = [](const VideoSettings& s) { return s.fps; };
    const Read quality = [](const VideoSettings& s) { return s.quality; };
    const Read bitrate = [](const VideoSettings& s) { return s.bitrate; };
    const Read pause = [](const VideoSettings& s) { return s.camSwitchPause; };
    struct Case {
        std::vector<Step> steps;
        Read read;
        double stored;
    };
    const std::vector<Case> cases = {
        {{SetText{D::kWidthId, "10"}}, width, 32},
        {{SetText{D::kWidthId, "5000"}}, width, 4096},
        {{SetText{D::kWidthId, "800"}}, width, 800},
        {{SetText{D::kWidthId, "wide"}}, width, 32},
        {{SetText{D::kHeightId, "10"}}, height, 32},
        {{SetText{D::kHeightId, "5000"}}, height, 4096},
        {{SetText{D::kFPSId, "500"}}, fps, 200},
        {{SetText{D::kFPSId, "0.5"}}, fps, 1},
        {{SetText{D::kFPSId, "29.97"}}, fps, 29.97},
        {{SetText{D::kRateId, "150"}}, quality, 100},
        {{SetCheck{D::kVBRId, false}, SetText{D::kRateId, "1500"}}, bitrate, 1500000},
        {{SetCheck{D::kVBRId, false}, SetText{D::kRateId, "99999999"}}, bitrate, 2147483000},
        {{SetText{D::kCamSwitchPauseId, "40"}}, pause, 40},
        {{SetCheck{D::kCamSwitchId, false}}, pause, 0},
    };
    for (const Case& c : cases) {
        settings = VideoSettings{};
        settings.codec = 0;
        std::vector<Step> steps = c.steps;
        steps.push_back(Press{win::IDOK});
        EXPECT_TRUE(run(steps));
        EXPECT_DOUBLE_EQ(c.stored, c.read(settings)) << transcriptText();
    }
}

TEST_F(VideoDlgTest, TheWindowsOwnSizeDisablesTheVideoSizeAndShowsResizeUnchecked) {
    const auto expectWindowSize = [](When when, bool ownSize, const char* resize) {
        for (int id : {D::kWidthId, D::kHeightId, D::kResizeId})
            EXPECT_EQ(ownSize, shown(when, id).enabled) << id;
        EXPECT_EQ(resize, shown(when, D::kResizeId).state);
    };
    settings.codec = 0;
    settings.fsWndSize = true;
    EXPECT_TRUE(run({Press{win::IDOK}}));
    expectWindowSize(When::Initialised, false, "unchecked");
    EXPECT_TRUE(settings.resize) << "the Resize choice is kept while it does not apply";

    EXPECT_TRUE(run({SetCheck{D::kFSWndSizeId, false}, Press{win::IDOK}}));
    expectWindowSize(When::Ended, true, "checked");
    EXPECT_FALSE(settings.fsWndSize);

    EXPECT_TRUE(run({SetCheck{D::kResizeId, false}, SetCheck{D::kFSWndSizeId, true},
                     SetCheck{D::kFSWndSizeId, false}, Press{win::IDOK}}));
    expectWindowSize(When::Ended, true, "unchecked");
    EXPECT_FALSE(settings.resize);
}

TEST_F(VideoDlgTest, ListsTheSkippedFramesAndTheSceneryLoading) {
    const std::vector<std::string> skips = {"off", "1", "2", "3", "5", "7"};
    const std::vector<std::string> levels = {"Minimum", "Low", "Medium", "High", "Very High", "Ultra High"};
    struct Case {
        int32_t VideoSettings::*value;
        int stored;
        int shown;
        int kept;
    };
    const std::vector<Case> cases = {
        {&VideoSettings::skipFrames, 0, 0, 0},  {&VideoSettings::skipFrames, 1, 1, 1},
        {&VideoSettings::skipFrames, 2, 2, 2},  {&VideoSettings::skipFrames, 3, 3, 3},
        {&VideoSettings::skipFrames, 5, 4, 5},  {&VideoSettings::skipFrames, 7, 5, 7},
        {&VideoSettings::skipFrames, 4, 0, 0},  {&VideoSettings::skipFrames, 15, 0, 0},
        {&VideoSettings::loadScenery, 2, 2, 2}, {&VideoSettings::loadScenery, -3, 0, 0},
        {&VideoSettings::loadScenery, 9, 5, 5},
    };
    for (const Case& c : cases) {
        const bool skip = c.value == &VideoSettings::skipFrames;
        settings = VideoSettings{};
        settings.codec = 0;
        settings.*c.value = c.stored;
        EXPECT_TRUE(run({Press{win::IDOK}}));
        EXPECT_EQ(listState(skip ? skips : levels, c.shown),
                  shown(When::Initialised, skip ? D::kSkipFramesId : D::kLoadSceneryId).state)
            << c.stored;
        EXPECT_EQ(c.kept, settings.*c.value) << c.stored;
    }

    EXPECT_TRUE(run(
        {SelectText{D::kSkipFramesId, "5"}, SelectText{D::kLoadSceneryId, "Very High"}, Press{win::IDOK}}));
    EXPECT_EQ(5, settings.skipFrames);
    EXPECT_EQ(4, settings.loadScenery);
}

// Each box reaches its own setting and no other.
TEST_F(VideoDlgTest, EachCheckBoxWritesItsOwnSetting) {
    const std::pair<int, bool VideoSettings::*> boxes[] = {{D::kShowInfoId, &VideoSettings::showInfo},
                                                           {D::kHideDisplayId, &VideoSettings::hideDisplay},
                                                           {D::kHideInfoWndId, &VideoSettings::hideInfoWnd},
                                                           {D::kStabilizeSimRateId, &VideoSettings::stabilizeSimRate},
                                                           {D::kVBRId, &VideoSettings::vbr}};
    for (const auto& [id, member] : boxes) {
        SCOPED_TRACE(id);
        settings = VideoSettings{};
        settings.codec = 1; // chosen: no default choice that sets the complexity
        VideoSettings expected = settings;
        expected.*member = !(settings.*member);
        EXPECT_TRUE(run({SetCheck{id, !(settings.*member)}, Press{win::IDOK}}));
        EXPECT_EQ(expected, settings);
    }
}

TEST_F(VideoDlgTest, CancelLeavesTheSettingsUntouched) {
    EXPECT_FALSE(
        run({SetText{D::kWidthId, "10"}, SetCheck{D::kVBRId, false}, SelectIndex{D::kCodecId, 3},
             SetCheck{D::kShowInfoId, false}, SetCheck{D::kCamSwitchId, false}, Press{win::IDCANCEL}}));
    EXPECT_EQ(VideoSettings{}, settings);
    EXPECT_FALSE(run({SetText{D::kFPSId, "50"}, Close{}}));
    EXPECT_EQ(VideoSettings{}, settings);
}

} // namespace
