#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "settings/Settings.h"
#include "support/ShownMessageBoxes.h"
#include "support/TempDir.h"
#include "ui/MarkerDlg.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using When = win::DialogEntry::What;
using enum Marker::Type;

constexpr int kType = MarkerDlg::kTypeId, kChapter = MarkerDlg::kChapterId, kText = MarkerDlg::kTextId,
              kBrowse = MarkerDlg::kBrowseId, kOption = MarkerDlg::kOptionId,
              kSeconds = MarkerDlg::kDisplayTimeId, kScroll = MarkerDlg::kScrollId;

Guid guidOf(uint32_t n) {
    return Guid{n, 0, 0, {}};
}

Marker markerOf(uint32_t type, uint32_t flags = 0, std::string text = {}) {
    Marker marker;
    marker.type = type;
    marker.flags = flags;
    marker.text = std::move(text);
    return marker;
}

Marker switchingTo(const Guid& camera) {
    Marker marker = markerOf(SwitchCamera);
    marker.cameraId = camera.toBytes();
    return marker;
}

const std::vector<CameraChoice> kCameras = {
    {CameraChoice::Tower, "Runway 27", guidOf(1)}, {CameraChoice::Simulator, "Cockpit", guidOf(2)},
    {CameraChoice::VC, "Pilot", guidOf(3)},        {CameraChoice::Spot, "Chase", guidOf(4)},
    {CameraChoice::VC, "Copilot", guidOf(5)},      {CameraChoice::Tower, "Apron", guidOf(6)},
};
const std::string kCameraItems =
    R"(items ["VC: Pilot", "VC: Copilot", "Tower: Runway 27", "Tower: Apron", "Spot: Chase", "FS: Cockpit"])";
const std::string kSoundItems = R"(items ["always", "inside views only", "outside views only"])";

class MarkerDlgTest : public ModuleDialogTest {
protected:
    bool edit(Marker& marker, std::vector<Step> steps, const std::vector<CameraChoice>* cameras = &kCameras) {
        scriptDialog(ModuleResources::kMarkerDialog, std::move(steps));
        return MarkerDlg(marker, cameras, settings).edit();
    }

    // The control as the latest dialog showed it at the start or at the end.
    static win::ControlSnapshot control(When when, int id) {
        const std::vector<win::DialogEntry> entries = transcript().all<win::DialogEntry>();
        for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
            if (entry->what == when)
                for (const win::ControlSnapshot& shown : entry->controls)
                    if (shown.id == id)
                        return shown;
        ADD_FAILURE() << "no control " << id;
        return {};
    }

    // The labels, the controls enabled among those that depend on the type, and the chapter box.
    static std::string view(When when) {
        std::string text = control(when, MarkerDlg::kTextLabelId).text + " / " +
                           control(when, MarkerDlg::kOptionLabelId).text + " /";
        const std::pair<int, const char*> controls[] = {
            {kChapter, "chapter"}, {kBrowse, "browse"},   {MarkerDlg::kOptionLabelId, "label"},
            {kOption, "options"},  {kSeconds, "seconds"}, {kScroll, "scroll"},
        };
        for (const auto& [id, name] : controls)
            if (control(when, id).enabled)
                text += std::string(" ") + name;
        return text + (control(when, kChapter).state == "checked" ? " [chapter checked]" : "");
    }

    TempDir dir;
    std::string settings = dir.file("Zephrel.ini");
};

TEST_F(MarkerDlgTest, EachTypeShowsItsLabelsAndOptionsAtTheStartAndWhenChosen) {
    struct Case {
        uint32_t type;
        std::string view;
        std::string options;
    };
    const std::vector<Case> cases = {
        {None, "Comment: /  / [chapter checked]", "items [] selected -1"},
        {PlaySound, "Wave File: / Play / chapter browse label options", kSoundItems + " selected 0"},
        {DisplayText, "Text: / Disp. Time: / chapter label seconds scroll", "items [] selected -1"},
        {Pause, "Comment: /  / chapter", "items [] selected -1"},
        {SwitchCamera, "Comment: / Camera: / chapter label options", kCameraItems + " selected -1"},
    };
    for (const Case& c : cases) {
        Marker marker = markerOf(c.type);
        EXPECT_FALSE(edit(marker, {Press{win::IDCANCEL}}));
        EXPECT_EQ(c.view, view(When::Initialised)) << "type " << c.type;
        EXPECT_EQ(c.options, control(When::Initialised, kOption).state) << "type " << c.type;

        Marker other = markerOf(c.type == DisplayText ? PlaySound : DisplayText);
        EXPECT_FALSE(edit(other, {SelectIndex{kType, static_cast<int>(c.type)}, Press{win::IDCANCEL}}));
        EXPECT_EQ(c.view, view(When::Ended)) << "chosen type " << c.type;
        EXPECT_EQ(c.options, control(When::Ended, kOption).state) << "chosen type " << c.type;
    }
}

TEST_F(MarkerDlgTest, ShowsTheTimeAndOffersCamerasOnlyWhenThereAreAny) {
    const std::string types = R"(items ["None", "Play Sound", "Display Text", "Pause")";
    Marker marker = switchingTo(guidOf(6));
    marker.time = 125000;

    EXPECT_FALSE(edit(marker, {Press{win::IDCANCEL}}, nullptr));
    EXPECT_EQ("12.5", control(When::Initialised, MarkerDlg::kTimeId).text);
    EXPECT_EQ(types + "] selected 0", control(When::Initialised, kType).state) << "no camera to switch to";

    EXPECT_TRUE(edit(marker, {SelectIndex{kOption, 5}, Press{win::IDOK}}));
    EXPECT_EQ(types + R"(, "Switch Camera"] selected 4)", control(When::Initialised, kType).state);
    EXPECT_EQ(kCameraItems + " selected 3", control(When::Initialised, kOption).state)
        << "the marker's camera";
    EXPECT_EQ(SwitchCamera, marker.type);
    EXPECT_EQ(guidOf(2).toBytes(), marker.cameraId);
}

TEST_F(MarkerDlgTest, OkStoresTypeFlagsAndTextAsChosen) {
    struct Case {
        const char* what;
        Marker start;
        std::vector<Step> steps;
        uint32_t type;
        uint32_t flags;
    };
    const uint32_t chapter = Marker::kChapter;
    const std::vector<Case> cases = {
        {"None is always a chapter", markerOf(None), {}, None, chapter},
        {"no chapter", markerOf(Pause, chapter), {SetCheck{kChapter, false}}, Pause, 0},
        {"made a chapter", markerOf(Pause), {SetCheck{kChapter, true}}, Pause, chapter},
        {"sound in no view", markerOf(PlaySound, 0, "a.wav"), {}, PlaySound, 3},
        {"sound outside kept", markerOf(PlaySound, chapter | 2, "a.wav"), {}, PlaySound, chapter | 2},
        {"sound always", markerOf(PlaySound, 1, "a.wav"), {SelectIndex{kOption, 0}}, PlaySound, 3},
        {"sound inside", markerOf(PlaySound, 0, "a.wav"), {SelectIndex{kOption, 1}}, PlaySound, 1},
        {"sound outside", markerOf(PlaySound, 0, "a.wav"), {SelectIndex{kOption, 2}}, PlaySound, 2},
        {"100 s",
         markerOf(DisplayText),
         {SetText{kSeconds, "100"}, SetCheck{kScroll, true}},
         DisplayText,
         63 | 0x40},
        {"negative seconds", markerOf(DisplayText), {SetText{kSeconds, "-4"}}, DisplayText, 0},
        {"text kept", markerOf(DisplayText, 20 | 0x40), {}, DisplayText, 20 | 0x40},
        // The flags of one type mean nothing to another.
        {"text from None", markerOf(None, 3), {SelectIndex{kType, DisplayText}}, DisplayText, chapter | 5},
        {"sound from text", markerOf(DisplayText, 1, "a.wav"), {SelectIndex{kType, PlaySound}}, PlaySound, 3},
    };
    for (const Case& c : cases) {
        Marker marker = c.start;
        std::vector<Step> steps = c.steps;
        steps.push_back(Press{win::IDOK});
        EXPECT_TRUE(edit(marker, steps)) << c.what;
        EXPECT_EQ(c.type, marker.type) << c.what;
        EXPECT_EQ(c.flags, marker.flags) << c.what;
    }

    Marker comment = markerOf(Pause);
    EXPECT_TRUE(edit(comment, {SetText{kText, std::string(300, 'x')}, Press{win::IDOK}}));
    EXPECT_EQ(std::string(255, 'x'), comment.text) << "what a recording file keeps";
}

TEST_F(MarkerDlgTest, AnIncompleteMarkerIsRefusedWithAMessageAndTheDialogStaysOpen) {
    struct Case {
        Marker start;
        const char* message;
        Step completion;
    };
    const std::vector<Case> cases = {
        {markerOf(PlaySound), "No wave file specified!", SetText{kText, "bell.wav"}},
        {switchingTo(guidOf(99)), "No camera selected!", SelectIndex{kOption, 0}},
    };
    for (const Case& c : cases) {
        answerMessageBox(win::IDOK, {"Zephrel", c.message});
        Marker marker = c.start;
        EXPECT_TRUE(edit(marker, {Press{win::IDOK}, c.completion, Press{win::IDOK}}));
        EXPECT_EQ(c.start.type, marker.type);
    }
    EXPECT_EQ(0u, unusedAnswers()) << "each refusal answered";
    for (const MessageBoxRequest& shown : shownMessageBoxes())
        EXPECT_EQ(MessageIcon::Warning, shown.icon) << shown.text;
}

TEST_F(MarkerDlgTest, CancelLeavesTheMarkerUntouched) {
    Marker before = switchingTo(guidOf(4));
    before.text = "Hello";
    Marker marker = before;
    EXPECT_FALSE(
        edit(marker, {SelectIndex{kOption, 1}, SetText{kText, "Bye"}, SetCheck{kChapter, true},
                      SelectIndex{kType, DisplayText}, SetText{kSeconds, "30"}, Press{win::IDCANCEL}}));
    EXPECT_EQ(before.type, marker.type);
    EXPECT_EQ(before.flags, marker.flags);
    EXPECT_EQ(before.text, marker.text);
    EXPECT_EQ(before.cameraId, marker.cameraId);
}

TEST_F(MarkerDlgTest, BrowseFillsTheFieldWithTheChosenWaveFileAndKeepsItsFolder) {
    std::filesystem::create_directories(dir.path() / "sounds");
    const std::string wave = (dir.path() / "sounds" / "bell.wav").string();
    std::ofstream(wave) << "RIFF";
    writeDialogFolder(settings, "WavPath", dir.file("old"));
    answerFileDialog({wave}, "Select Wave File");

    Marker marker = markerOf(PlaySound);
    EXPECT_TRUE(edit(marker, {Press{kBrowse}, Press{win::IDOK}}));

    EXPECT_EQ(wave, marker.text);
    const std::vector<win::FileDialogEntry> dialogs = transcript().all<win::FileDialogEntry>();
    ASSERT_EQ(1u, dialogs.size());
    EXPECT_EQ(dir.file("old"), dialogs[0].initialDir);
    ASSERT_EQ(1u, dialogs[0].filters.size());
    EXPECT_EQ("Wave Files", dialogs[0].filters[0].name);
    EXPECT_EQ("*.wav", dialogs[0].filters[0].pattern);
    EXPECT_EQ((dir.path() / "sounds").string(), readDialogFolder(settings, "WavPath"));
}

} // namespace
