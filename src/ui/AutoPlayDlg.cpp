#include "ui/AutoPlayDlg.h"

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <utility>

#include "alerts/MessageBox.h"
#include "common/Log.h"
#include "text/AsciiCase.h"
#include "ui/ModuleResources.h"

namespace {

constexpr int kLabelId = -1;

const win::FileFilter kFlightFiles{"Flight Files", "*.flt"};
const win::FileFilter kRecordingFiles{"Flight Recordings", "*.zfl"};
constexpr const char* kChooseRecording = "Select recorded Flight to play";

} // namespace

AutoPlayDlg::AutoPlayDlg(std::vector<AutoplayEntry> entries, std::string settingsFile)
    : Dialog(ModuleResources::kAutoPlayDialog, ModuleResources::instance()), entries_(std::move(entries)),
      settingsFile_(std::move(settingsFile)) {
    if (entries_.size() > kMaxEntries)
        entries_.resize(kMaxEntries);
}

win::DialogTemplate AutoPlayDlg::dialogTemplate() {
    using enum win::ControlKind;
    win::DialogTemplate autoPlay;
    autoPlay.id = ModuleResources::kAutoPlayDialog;
    autoPlay.title = "Automatic Playback";
    autoPlay.width = 260;
    autoPlay.height = 176;
    autoPlay.controls = {
        {kLabelId, Text, "When loading Flight:", {7, 7, 150, 8}, 0},
        {kFlightsId, ListBox, "", {7, 18, 190, 92}, 0},
        {kAddId, PushButton, "Add...", {203, 18, 50, 14}, 0},
        {kRemoveId, PushButton, "Remove", {203, 36, 50, 14}, 0},
        {kLabelId, Text, "automatically play:", {7, 116, 150, 8}, 0},
        {kRecordingId, Edit, "", {7, 127, 224, 12}, win::ES_READONLY},
        {kBrowseId, PushButton, "...", {235, 127, 18, 12}, 0},
        {kTrafficId, AutoCheckBox, "as Traffic", {7, 143, 80, 10}, 0},
        {win::IDOK, DefPushButton, "OK", {147, 155, 50, 14}, 0},
        {win::IDCANCEL, PushButton, "Cancel", {203, 155, 50, 14}, 0},
    };
    return autoPlay;
}

bool AutoPlayDlg::show(win::HWND owner, const std::string& settingsFile) {
    AutoPlayDlg dialog(readAutoplayList(settingsFile), settingsFile);
    if (dialog.doModal(owner) != win::IDOK)
        return false;
    if (!writeAutoplayList(settingsFile, dialog.entries_))
        Log::log("Error: the automatic playback list could not be written to " + settingsFile, 1, false);
    return true;
}

std::string AutoPlayDlg::flightName(const std::string& flightFile) {
    return std::filesystem::path(flightFile).stem().string();
}

bool AutoPlayDlg::onInitDialog() {
    for (const AutoplayEntry& entry : entries_)
        addItem(kFlightsId, flightName(entry.flt));
    if (!entries_.empty())
        setSelection(kFlightsId, 0);
    showSelected();
    return true;
}

bool AutoPlayDlg::onCommand(int id, int notifyCode, win::LPARAM) {
    switch (id) {
    case kFlightsId:
        if (notifyCode != win::LBN_SELCHANGE)
            return false;
        showSelected();
        return true;
    case kTrafficId:
        if (notifyCode != win::BN_CLICKED)
            return false;
        if (AutoplayEntry* entry = selected())
            entry->playAsTraffic = getCheck(kTrafficId);
        return true;
    case kAddId:
        add();
        return true;
    case kRemoveId:
        remove();
        return true;
    case kBrowseId:
        chooseRecording();
        return true;
    default:
        return false;
    }
}

void AutoPlayDlg::add() {
    if (entries_.size() >= kMaxEntries)
        return;
    // The flight is checked before the recording is asked for, so a refused flight costs one dialog.
    const std::string flight = askForFile("Select Flight", kFlightFiles, "flt", false);
    if (flight.empty() || refuseListed(flight))
        return;
    const std::string recording = askForFile(kChooseRecording, kRecordingFiles, "zfl", true);
    if (recording.empty())
        return;
    entries_.push_back(AutoplayEntry{flight, recording});
    addItem(kFlightsId, flightName(flight));
    setSelection(kFlightsId, static_cast<int>(entries_.size() - 1));
    showSelected();
}

void AutoPlayDlg::remove() {
    const int at = getSelection(kFlightsId);
    if (at < 0)
        return;
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    win::SendDlgItemMessage(hwnd(), kFlightsId, win::LB_DELETESTRING, static_cast<win::WPARAM>(at), 0);
    // The entry that took its place, or the new last one, stays under the user's eyes.
    if (!entries_.empty())
        setSelection(kFlightsId, std::min(at, static_cast<int>(entries_.size()) - 1));
    showSelected();
}

void AutoPlayDlg::chooseRecording() {
    AutoplayEntry* entry = selected();
    if (entry == nullptr)
        return;
    const std::string recording = askForFile(kChooseRecording, kRecordingFiles, "zfl", true);
    if (recording.empty())
        return;
    entry->zfl = recording;
    showSelected();
}

bool AutoPlayDlg::refuseListed(const std::string& flightFile) const {
    const std::string name = flightName(flightFile);
    const bool listed = std::ranges::any_of(entries_, [&](const AutoplayEntry& entry) {
        return equalsIgnoringCase(flightName(entry.flt), name);
    });
    if (listed)
        showMessageBox({"The flight '" + name +
                            "' is already in the list. You cannot add the same flight multiple times.",
                        "Zephrel", MessageIcon::Warning, MessageButtons::Ok});
    return listed;
}

void AutoPlayDlg::showSelected() {
    const AutoplayEntry* entry = selected();
    setText(kRecordingId, entry != nullptr ? entry->zfl : std::string());
    setCheck(kTrafficId, entry != nullptr && entry->playAsTraffic);
    enable(kRemoveId, entry != nullptr);
    enable(kBrowseId, entry != nullptr);
    enable(kTrafficId, entry != nullptr);
    enable(kAddId, entries_.size() < kMaxEntries);
}

std::string AutoPlayDlg::askForFile(const char* title, const win::FileFilter& filter, const char* defExt,
                                    bool keepFolder) const {
    win::OPENFILENAME request;
    request.hwndOwner = hwnd();
    request.filters = {filter};
    request.title = title;
    request.defExt = defExt;
    // Flights and recordings share the simulator's flights folder unless the user moved them.
    request.initialDir = readDialogFolder(settingsFile_, DialogFolder::kRecordings);
    request.flags =
        win::OFN_EXPLORER | win::OFN_HIDEREADONLY | win::OFN_PATHMUSTEXIST | win::OFN_FILEMUSTEXIST;
    if (!win::GetOpenFileName(request))
        return {};
    if (keepFolder)
        writeDialogFolder(settingsFile_, DialogFolder::kRecordings,
                          std::filesystem::path(request.file).parent_path().string());
    return request.file;
}

AutoplayEntry* AutoPlayDlg::selected() {
    const int at = getSelection(kFlightsId);
    return at >= 0 && at < static_cast<int>(entries_.size()) ? &entries_[static_cast<std::size_t>(at)]
                                                             : nullptr;
}
