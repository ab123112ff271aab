#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "ui/KeyboardDlg.h"
#include "ui/ModuleResources.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using enum KeyCommand;

constexpr int kList = KeyboardDlg::kListId;
constexpr int kKey = KeyboardDlg::kKeyId;

// List positions of a few commands.
constexpr int kBeginningRow = 0, kForward1Row = 4, kRecordRow = 14, kStopRow = 19, kSetMarkerRow = 29;

uint16_t keyOf(const KeyTable& keys, KeyCommand command) {
    return keys[static_cast<std::size_t>(command)];
}

class KeyboardDlgTest : public ModuleDialogTest {
protected:
    // Runs the dialog on the table with the user's steps; its result.
    win::INT_PTR run(std::vector<Step> steps) {
        scriptDialog(ModuleResources::kKeyboardDialog, std::move(steps));
        KeyboardDlg dialog(keys);
        return dialog.doModal();
    }

    win::ControlSnapshot shownAtStart(int id) const {
        for (const win::DialogEntry& entry : transcript().all<win::DialogEntry>())
            if (entry.what == win::DialogEntry::Initialised)
                for (const win::ControlSnapshot& control : entry.controls)
                    if (control.id == id)
                        return control;
        ADD_FAILURE() << "no control " << id;
        return {};
    }

    KeyTable keys = defaultKeyTable();
};

TEST_F(KeyboardDlgTest, ListsTheCommandsTransportFirstAndShowsTheFirstOnesKey) {
    const std::vector<KeyCommand> expected = {
        Beginning,     Back3,       Back2,        Back1,        Forward1,        Forward2,   Forward3,
        End,           LoopIn,      LoopOut,      LoopToggle,   SpeedInc,        SpeedDec,   SpeedReset,
        Record,        Play,        PlayAI,       AdvancedPlay, Replay,          Stop,       StopHere,
        ControlWindow, DataWindow,  UserAcftNext, UserAcftPrev, HeightInc,       HeightDec,  PitchInc,
        PitchDec,      SetMarker,   NewCamera,    DelCamera,    EditCamera,      NextCamera, PrevCamera,
        CamAcftNext,   CamAcftPrev, AutoZoom,     AutoPan,      TowerToAircraft, MouseView,  MouseViewToggle,
        LoadVC,        LoadTower,   LoadSpot,     Render,       PauseRender,
    };
    std::string items = "items [";
    for (std::size_t i = 0; i < expected.size(); ++i)
        items += (i == 0 ? "\"" : ", \"") + std::string(keyCommandInfo(expected[i]).description) + "\"";
    items += "] selected 0";

    EXPECT_EQ(win::IDCANCEL, run({Press{win::IDCANCEL}}));

    const win::DialogEntry shown = transcript().all<win::DialogEntry>().front();
    EXPECT_EQ("Keyboard Controls", shown.title);
    EXPECT_EQ(items, shownAtStart(kList).state);
    EXPECT_EQ("hot key 0x24", shownAtStart(kKey).state) << "Home, the key of \"Jump to Beginning\"";
}

TEST_F(KeyboardDlgTest, TheFieldsKeyGoesToTheCommandItShowsWhenTheSelectionMovesOrOnOk) {
    const KeyTable before = keys;
    EXPECT_EQ(win::IDOK, run({
                             SelectIndex{kList, kRecordRow},
                             SetHotKey{kKey, 'R', win::HOTKEYF_CONTROL},
                             // Stop: the field shows Esc now, and an emptied field keeps it.
                             SelectIndex{kList, kStopRow},
                             SetHotKey{kKey, 0, 0},
                             // Forward1 passes through untouched: its own key goes back to it.
                             SelectIndex{kList, kForward1Row},
                             SelectIndex{kList, kSetMarkerRow},
                             SetHotKey{kKey, 'B', win::HOTKEYF_SHIFT | win::HOTKEYF_CONTROL},
                             SelectIndex{kList, kBeginningRow},
                             SetHotKey{kKey, 'H', win::HOTKEYF_SHIFT},
                             Press{win::IDOK},
                         }));

    EXPECT_EQ(0x2052, keyOf(keys, Record));
    EXPECT_EQ(0x001B, keyOf(keys, Stop));
    EXPECT_EQ(0x0027, keyOf(keys, Forward1));
    EXPECT_EQ(0x3042, keyOf(keys, SetMarker));
    EXPECT_EQ(0x1048, keyOf(keys, Beginning)) << "OK stores the field too";
    for (KeyCommand untouched : {Back1, End, Play, StopHere, PauseRender})
        EXPECT_EQ(keyOf(before, untouched), keyOf(keys, untouched));
}

TEST_F(KeyboardDlgTest, AltCombinationsAreRefused) {
    EXPECT_EQ(win::IDOK, run({
                             SelectIndex{kList, kRecordRow},
                             SetHotKey{kKey, 'R', win::HOTKEYF_ALT},
                             SelectIndex{kList, kStopRow},
                             SetHotKey{kKey, 'S', win::HOTKEYF_CONTROL | win::HOTKEYF_ALT},
                             Press{win::IDOK},
                         }));
    EXPECT_EQ(0x0052, keyOf(keys, Record));
    EXPECT_EQ(0x0053, keyOf(keys, Stop));
}

TEST_F(KeyboardDlgTest, CancelLeavesTheTableAsItWas) {
    const KeyTable before = keys;
    EXPECT_EQ(win::IDCANCEL, run({
                                 SelectIndex{kList, kRecordRow},
                                 SetHotKey{kKey, 'R', win::HOTKEYF_CONTROL},
                                 SelectIndex{kList, kStopRow},
                                 Press{win::IDCANCEL},
                             }));
    EXPECT_EQ(before, keys);
}

} // namespace
