// "Automatic Playback": the list shown by flight name, adding through two file dialogs, the refusal
// of a flight listed already, removing, another recording, "as Traffic" per entry, the 256 limit,
// and what OK and Cancel leave in the settings file.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "ModuleDialogTest.h"
#include "ShownControls.h"
#include "TemplateLayout.h"
#include "profile/ProfileValues.h"
#include "settings/Settings.h"
#include "support/ShownMessageBoxes.h"
#include "support/TempDir.h"
#include "ui/AutoPlayDlg.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = AutoPlayDlg;
using When = win::DialogEntry::What;

constexpr int kFlights = D::kFlightsId, kAdd = D::kAddId, kRemove = D::kRemoveId,
              kRecording = D::kRecordingId, kBrowse = D::kBrowseId, kTraffic = D::kTrafficId;
constexpr const char* kFlightTitle = "Select Flight";
constexpr const char* kRecordingTitle = "Select recorded Flight to play";

std::string listState(const std::vector<std::string>& items, int selected) {
    std::string text = "items [";
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "\"" : ", \"") + items[i] + "\"";
    return text + "] selected " + std::to_string(selected);
}

// The section names of an INI file, in file order.
std::vector<std::string> sectionsOf(const std::string& path) {
    std::vector<std::string> sections;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line.front() == '[')
            sections.push_back(line.substr(1, line.find(']') - 1));
    return sections;
}

class AutoPlayDlgTest : public ModuleDialogTest {
protected:
    void SetUp() override {
        ModuleDialogTest::SetUp();
        writeAutoplayList(settings, listed);
        writeDialogFolder(settings, DialogFolder::kRecordings, oldFolder);
    }

    bool show(std::vector<Step> steps) {
        forgetHistory();
        scriptDialog(ModuleResources::kAutoPlayDialog, std::move(steps));
        return D::show(nullptr, settings);
    }

    // An existing file at `relative` in the test's folder.
    std::string existing(const std::string& relative) const {
        const std::filesystem::path path = dir.path() / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "x";
        return path.string();
    }
    std::string folderOf(const std::string& relative) const {
        return (dir.path() / relative).parent_path().string();
    }

    // A control as the dialog showed it on opening, or when it ended.
    static win::ControlSnapshot shown(When when, int id) {
        return shownControl(ModuleResources::kAutoPlayDialog, when, id);
    }
    // Which of the controls that depend on the list can act, as "add remove browse traffic".
    static std::string actions(When when) {
        std::string text;
        const std::pair<int, const char*> controls[] = {
            {kAdd, "add"}, {kRemove, "remove"}, {kBrowse, "browse"}, {kTraffic, "traffic"}};
        for (const auto& [id, name] : controls)
            if (shown(when, id).enabled)
                text += text.empty() ? name : std::string(" ") + name;
        return text;
    }

    TempDir dir;
    std::string settings = dir.file("Zephrel.ini");
    std::string oldFolder = dir.file("old");
    const std::vector<AutoplayEntry> listed = {
        {dir.file("flights/Circuit.flt"), dir.file("recordings/circuit.zfl"), true},
        {dir.file("flights/Approach.flt"), dir.file("recordings/approach.zfl"), false},
        {dir.file("other/Formation.flt"), dir.file("recordings/formation.zfl"), true},
    };
};

TEST_F(AutoPlayDlgTest, TemplateControlsStayInsideTheDialogAndApart) {
    EXPECT_EQ(std::vector<std::string>{}, layoutProblems(D::dialogTemplate()));
}

TEST_F(AutoPlayDlgTest, ListsFlightsByNameAndShowsTheSelectedFlightsRecordingAndTrafficBox) {
    const std::vector<std::string> names = {"Circuit", "Approach", "Formation"};
    for (std::size_t at = 0; at < listed.size(); ++at) {
        EXPECT_FALSE(show({SelectIndex{kFlights, static_cast<int>(at)}, Press{win::IDCANCEL}}));
        EXPECT_EQ(listState(names, 0), shown(When::Initialised, kFlights).state) << "the first selected";
        EXPECT_EQ(listed[0].zfl, shown(When::Initialised, kRecording).text);
        EXPECT_EQ(listState(names, static_cast<int>(at)), shown(When::Ended, kFlights).state);
        EXPECT_EQ(listed[at].zfl, shown(When::Ended, kRecording).text) << at;
        EXPECT_EQ(listed[at].playAsTraffic ? "checked" : "unchecked", shown(When::Ended, kTraffic).state)
            << at;
        EXPECT_EQ("add remove browse traffic", actions(When::Ended));
    }

    writeAutoplayList(settings, {});
    EXPECT_FALSE(show({Press{win::IDCANCEL}}));
    EXPECT_EQ(listState({}, -1), shown(When::Initialised, kFlights).state);
    EXPECT_EQ("", shown(When::Initialised, kRecording).text);
    EXPECT_EQ("add", actions(When::Initialised)) << "nothing selected to act on";
}

TEST_F(AutoPlayDlgTest, AddAsksForTheFlightThenItsRecordingInTheRecordingsFolderAndKeepsThatFolder) {
    const std::string flight = existing("flights/Pattern Work.flt");
    const std::string recording = existing("new/pattern.zfl");
    answerFileDialog({flight}, kFlightTitle);
    answerFileDialog({recording}, kRecordingTitle);

    EXPECT_TRUE(show({Press{kAdd}, Press{win::IDOK}}));

    EXPECT_EQ(listState({"Circuit", "Approach", "Formation", "Pattern Work"}, 3),
              shown(When::Ended, kFlights).state);
    EXPECT_EQ(recording, shown(When::Ended, kRecording).text);
    EXPECT_EQ("checked", shown(When::Ended, kTraffic).state) << "a new entry plays as traffic";
    std::vector<AutoplayEntry> expected = listed;
    expected.push_back({flight, recording, true});
    EXPECT_EQ(expected, readAutoplayList(settings));

    const std::vector<win::FileDialogEntry> dialogs = transcript().all<win::FileDialogEntry>();
    ASSERT_EQ(2u, dialogs.size());
    const std::pair<const char*, const char*> filters[] = {{"Flight Files", "*.flt"},
                                                           {"Flight Recordings", "*.zfl"}};
    for (std::size_t i = 0; i < 2; ++i) {
        ASSERT_EQ(1u, dialogs[i].filters.size()) << dialogs[i].title;
        EXPECT_EQ(filters[i].first, dialogs[i].filters[0].name);
        EXPECT_EQ(filters[i].second, dialogs[i].filters[0].pattern);
        EXPECT_EQ(oldFolder, dialogs[i].initialDir) << dialogs[i].title;
    }
    EXPECT_EQ(kFlightTitle, dialogs[0].title);
    EXPECT_EQ(kRecordingTitle, dialogs[1].title);
    EXPECT_EQ(folderOf("new/pattern.zfl"), readDialogFolder(settings, DialogFolder::kRecordings));
}

TEST_F(AutoPlayDlgTest, CancellingEitherFileDialogAddsNothing) {
    const std::string flight = existing("flights/Pattern.flt");
    struct Case {
        const char* what;
        std::function<void()> answers;
    };
    const std::vector<Case> cases = {
        {"flight", [] { cancelFileDialog(kFlightTitle); }},
        {"recording",
         [&] {
             answerFileDialog({flight}, kFlightTitle);
             cancelFileDialog(kRecordingTitle);
         }},
    };
    for (const Case& c : cases) {
        c.answers();
        EXPECT_TRUE(show({Press{kAdd}, Press{win::IDOK}})) << c.what;
        EXPECT_EQ(listState({"Circuit", "Approach", "Formation"}, 0), shown(When::Ended, kFlights).state)
            << c.what;
        EXPECT_EQ(listed, readAutoplayList(settings)) << c.what;
        EXPECT_EQ(oldFolder, readDialogFolder(settings, DialogFolder::kRecordings)) << c.what;
        EXPECT_EQ(0u, unusedAnswers()) << c.what;
    }
}

TEST_F(AutoPlayDlgTest, AFlightOfANameListedAlreadyIsRefusedWithAMessageAndTheListStaysAsItWas) {
    struct Case {
        const char* relative;
        const char* refusedName; // nullptr: added
    };
    const std::vector<Case> cases = {
        {"flights/Circuit.flt", "Circuit"},
        {"elsewhere/APPROACH.FLT", "APPROACH"},
        {"flights/Circuit 2.flt", nullptr},
    };
    for (const Case& c : cases) {
        writeAutoplayList(settings, listed);
        const std::string flight = existing(c.relative);
        answerFileDialog({flight}, kFlightTitle);
        if (c.refusedName == nullptr)
            answerFileDialog({existing("recordings/new.zfl")}, kRecordingTitle);
        else
            answerMessageBox(win::IDOK, {"Zephrel", c.refusedName});

        EXPECT_TRUE(show({Press{kAdd}, Press{win::IDOK}})) << c.relative;

        EXPECT_EQ(0u, unusedAnswers()) << c.relative;
        const std::vector<MessageBoxRequest> boxes = shownMessageBoxes();
        std::vector<AutoplayEntry> expected = listed;
        if (c.refusedName == nullptr) {
            EXPECT_EQ(0u, boxes.size()) << c.relative;
            expected.push_back({flight, dir.file("recordings/new.zfl"), true});
        } else {
            ASSERT_EQ(1u, boxes.size()) << c.relative;
            EXPECT_EQ(std::string("The flight '") + c.refusedName +
                          "' is already in the list. You cannot add the same flight multiple times.",
                      boxes[0].text);
            EXPECT_EQ("Zephrel", boxes[0].caption);
            EXPECT_EQ(1u, transcript().all<win::FileDialogEntry>().size()) << "no recording asked for";
        }
        EXPECT_EQ(expected, readAutoplayList(settings)) << c.relative;
    }
}

TEST_F(AutoPlayDlgTest, RemoveDropsTheSelectedEntryAndSelectsTheOneInItsPlace) {
    struct Case {
        std::vector<Step> steps;
        std::vector<std::string> names;
        int selected;
        std::vector<AutoplayEntry> written;
    };
    const std::vector<Case> cases = {
        {{Press{kRemove}}, {"Approach", "Formation"}, 0, {listed[1], listed[2]}},
        {{SelectIndex{kFlights, 1}, Press{kRemove}}, {"Circuit", "Formation"}, 1, {listed[0], listed[2]}},
        {{SelectIndex{kFlights, 2}, Press{kRemove}}, {"Circuit", "Approach"}, 1, {listed[0], listed[1]}},
        {{Press{kRemove}, Press{kRemove}, Press{kRemove}}, {}, -1, {}},
    };
    for (const Case& c : cases) {
        writeAutoplayList(settings, listed);
        std::vector<Step> steps = c.steps;
        steps.push_back(Press{win::IDOK});
        EXPECT_TRUE(show(steps));
        EXPECT_EQ(listState(c.names, c.selected), shown(When::Ended, kFlights).state);
        const std::string recording =
            c.selected < 0 ? "" : c.written[static_cast<std::size_t>(c.selected)].zfl;
        EXPECT_EQ(recording, shown(When::Ended, kRecording).text);
        EXPECT_EQ(c.names.empty() ? "add" : "add remove browse traffic", actions(When::Ended));
        EXPECT_EQ(c.written, readAutoplayList(settings));
    }
}

TEST_F(AutoPlayDlgTest, BrowseReplacesTheSelectedEntrysRecordingOnly) {
    const std::string other = existing("more/other.zfl");
    std::vector<AutoplayEntry> expected = listed;
    expected[1].zfl = other;
    answerFileDialog({other}, kRecordingTitle);

    EXPECT_TRUE(show({SelectIndex{kFlights, 1}, Press{kBrowse}, Press{win::IDOK}}));
    EXPECT_EQ(other, shown(When::Ended, kRecording).text);
    EXPECT_EQ(expected, readAutoplayList(settings));
    EXPECT_EQ(folderOf("more/other.zfl"), readDialogFolder(settings, DialogFolder::kRecordings));
    ASSERT_EQ(1u, transcript().all<win::FileDialogEntry>().size());
    EXPECT_EQ(oldFolder, transcript().all<win::FileDialogEntry>()[0].initialDir);

    cancelFileDialog(kRecordingTitle);
    EXPECT_TRUE(show({SelectIndex{kFlights, 2}, Press{kBrowse}, Press{win::IDOK}}));
    EXPECT_EQ(listed[2].zfl, shown(When::Ended, kRecording).text) << "cancelled";
    EXPECT_EQ(expected, readAutoplayList(settings));
}

TEST_F(AutoPlayDlgTest, AsTrafficBelongsToEachEntry) {
    EXPECT_TRUE(show({SetCheck{kTraffic, false}, SelectIndex{kFlights, 1}, SetCheck{kTraffic, true},
                      SelectIndex{kFlights, 2}, SelectIndex{kFlights, 0}, Press{win::IDOK}}));
    EXPECT_EQ("unchecked", shown(When::Ended, kTraffic).state) << "the first entry's, as changed";
    std::vector<AutoplayEntry> expected = listed;
    expected[0].playAsTraffic = false;
    expected[1].playAsTraffic = true;
    EXPECT_EQ(expected, readAutoplayList(settings));
}

TEST_F(AutoPlayDlgTest, OkReplacesAllAutoplaySectionsByTheListNumberedFromZero) {
    std::ofstream(settings) << "[SETTINGS]\nEnableAutoplay=1\n"
                               "[AUTOPLAY.002]\nFLT=a.flt\nZFL=a.zfl\nPlayAsTraffic=0\n"
                               "[AUTOPLAY.007]\nFLT=gap.flt\n"
                               "[Dialogs]\nZflPath=/old\n"
                               "[AUTOPLAY.255]\nFLT=b.flt\nZFL=b.zfl\n";

    EXPECT_TRUE(show({SelectIndex{kFlights, 1}, SetCheck{kTraffic, false}, Press{win::IDOK}}));

    EXPECT_EQ((std::vector<std::string>{"SETTINGS", "Dialogs", "AUTOPLAY.000", "AUTOPLAY.001"}),
              sectionsOf(settings))
        << readText(settings);
    struct Key {
        const char* section;
        const char* key;
        const char* value;
    };
    const Key keys[] = {
        {"AUTOPLAY.000", "FLT", "a.flt"},       {"AUTOPLAY.000", "ZFL", "a.zfl"},
        {"AUTOPLAY.000", "PlayAsTraffic", "0"}, {"AUTOPLAY.001", "FLT", "b.flt"},
        {"AUTOPLAY.001", "ZFL", "b.zfl"},       {"AUTOPLAY.001", "PlayAsTraffic", "0"},
    };
    for (const Key& k : keys)
        EXPECT_EQ(k.value, profile::readString(settings, k.section, k.key, "missing"))
            << k.section << " " << k.key;
    EXPECT_EQ("1", profile::readString(settings, "SETTINGS", "EnableAutoplay", "")) << "other sections kept";

    writeAutoplayList(settings, {listed[2]});
    EXPECT_TRUE(show({Press{kRemove}, Press{win::IDOK}}));
    EXPECT_EQ((std::vector<std::string>{"SETTINGS", "Dialogs"}), sectionsOf(settings)) << "an emptied list";
}

TEST_F(AutoPlayDlgTest, CancelLeavesTheSettingsFileAsItWas) {
    const std::vector<Step> edits = {Press{kRemove}, SetCheck{kTraffic, true}, Press{kAdd}, Press{kBrowse}};
    for (const Step& last : {Step{Press{win::IDCANCEL}}, Step{Close{}}}) {
        const Bytes before = readBytes(settings);
        cancelFileDialog(kFlightTitle);
        cancelFileDialog(kRecordingTitle);
        std::vector<Step> steps = edits;
        steps.push_back(last);
        EXPECT_FALSE(show(steps));
        EXPECT_EQ(before, readBytes(settings));
        EXPECT_EQ(0u, unusedAnswers());
    }
}

TEST_F(AutoPlayDlgTest, TheListHoldsAtMost256Flights) {
    std::vector<AutoplayEntry> many;
    for (int n = 0; n < 255; ++n)
        many.push_back({"flight" + std::to_string(n) + ".flt", "r.zfl", true});
    writeAutoplayList(settings, many);
    const std::string flight = existing("flights/Last.flt");
    const std::string recording = existing("recordings/last.zfl");
    answerFileDialog({flight}, kFlightTitle);
    answerFileDialog({recording}, kRecordingTitle);

    EXPECT_TRUE(show({Press{kAdd}, Press{win::IDOK}}));
    EXPECT_EQ("add remove browse traffic", actions(When::Initialised));
    EXPECT_EQ("remove browse traffic", actions(When::Ended)) << "full";
    many.push_back({flight, recording, true});
    EXPECT_EQ(many, readAutoplayList(settings));

    EXPECT_FALSE(show({Press{kRemove}, Press{win::IDCANCEL}}));
    EXPECT_EQ("remove browse traffic", actions(When::Initialised));
    EXPECT_EQ("add remove browse traffic", actions(When::Ended)) << "room for one again";
}

} // namespace
