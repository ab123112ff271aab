#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "settings/Settings.h"
#include "ui/Dialog.h"
#include "winsys/CommonDialogs.h"

// "Automatic Playback": the flights that start a playback by themselves when the simulator loads
// them, each with its recording and whether that plays as traffic. The list shows each flight by
// its name (the file name without folder and extension), which is how a loaded flight is
// recognised, so a second flight of the same name, whatever its folder or letter case, is refused.
class AutoPlayDlg : public Dialog {
public:
    static constexpr int kFlightsId = 1001;   // "When loading Flight:"
    static constexpr int kAddId = 1002;       // "Add..."
    static constexpr int kRemoveId = 1003;    // "Remove"
    static constexpr int kRecordingId = 1004; // "automatically play:", read-only
    static constexpr int kBrowseId = 1005;    // "...", another recording for the selected flight
    static constexpr int kTrafficId = 1006;   // "as Traffic"

    // As many as the settings file has sections for.
    static constexpr std::size_t kMaxEntries = 256;

    // The settings file keeps the recordings' folder.
    AutoPlayDlg(std::vector<AutoplayEntry> entries, std::string settingsFile);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog over `owner` (none: the usual parent) with the list the settings file holds;
    // true when the user confirmed, and the file then holds the edited list in place of the old one.
    static bool show(win::HWND owner, const std::string& settingsFile);

    // The list as edited so far.
    const std::vector<AutoplayEntry>& entries() const { return entries_; }

    // The name a flight is listed, recognised and refused under.
    static std::string flightName(const std::string& flightFile);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;

private:
    void add();
    void remove();
    void chooseRecording();
    // True, after telling the user, when a flight of that name is listed already.
    bool refuseListed(const std::string& flightFile) const;
    // The recording and the check box of the selected entry, and which buttons can act.
    void showSelected();
    // An existing file chosen in a file dialog that starts in the recordings' folder; empty when
    // cancelled. `keepFolder` stores the chosen file's folder as the recordings' folder.
    std::string askForFile(const char* title, const win::FileFilter& filter, const char* defExt,
                           bool keepFolder) const;
    // The selected entry; nullptr with no selection.
    AutoplayEntry* selected();

    std::vector<AutoplayEntry> entries_;
    std::string settingsFile_;
};
