#include "ui/AdvPlayDlg.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>

#include "alerts/MessageBox.h"
#include "alerts/OldVersionQuestion.h"
#include "alerts/ShowError.h"
#include "common/DataGroups.h"
#include "common/ZephrelException.h"
#include "playback/PlayListFile.h"
#include "ui/AdvPlayTexts.h"
#include "ui/LengthUnits.h"
#include "ui/ModuleResources.h"
#include "ui/RecordingFileDialog.h"
#include "winsys/CommonControls.h"

namespace {

constexpr int kLabelId = -1;
constexpr int kOffsetDecimals = 2;
constexpr int kDelayDecimals = 1;
constexpr std::size_t kMaxTitle = 255;      // what a play list holds
constexpr std::size_t kMaxTailNumber = 11;

constexpr win::UINT kUnchecked = win::INDEXTOSTATEIMAGEMASK(1);
constexpr win::UINT kChecked = win::INDEXTOSTATEIMAGEMASK(2);

constexpr int kTrackControls[] = {
    AdvPlayDlg::kInsertCopyId, AdvPlayDlg::kSetUserId,   AdvPlayDlg::kEastWestId,   AdvPlayDlg::kUpDownId,
    AdvPlayDlg::kNorthSouthId, AdvPlayDlg::kUnitId,      AdvPlayDlg::kHeadingId,    AdvPlayDlg::kPitchId,
    AdvPlayDlg::kBankId,       AdvPlayDlg::kDelayId,     AdvPlayDlg::kExtendId,     AdvPlayDlg::kManufacturerId,
    AdvPlayDlg::kModelId,      AdvPlayDlg::kVariationId, AdvPlayDlg::kTitleId,      AdvPlayDlg::kTailNumberId,
    AdvPlayDlg::kDataTreeId,
};

constexpr int kOffsetIds[] = {AdvPlayDlg::kEastWestId, AdvPlayDlg::kUpDownId, AdvPlayDlg::kNorthSouthId};

// Manufacturer, model, variation, title: the choosers from the first to the last.
constexpr std::array<std::string AircraftChoice::*, 4> kAircraftFields = {
    &AircraftChoice::manufacturer, &AircraftChoice::model, &AircraftChoice::variation,
    &AircraftChoice::title};
constexpr std::array<int, 4> kAircraftIds = {AdvPlayDlg::kManufacturerId, AdvPlayDlg::kModelId,
                                             AdvPlayDlg::kVariationId, AdvPlayDlg::kTitleId};

struct ContextItem {
    int id;
    const char* text;
};
constexpr std::array<ContextItem, 4> kTreeMenu = {{{AdvPlayDlg::kCheckAllTracksId, "Check all Tracks"},
                                                   {AdvPlayDlg::kUncheckAllTracksId, "Uncheck all Tracks"},
                                                   {AdvPlayDlg::kCheckAllMarkersId, "Check all Markers"},
                                                   {AdvPlayDlg::kUncheckAllMarkersId, "Uncheck all Markers"}}};

const LengthUnit& offsetUnit(std::size_t index) { return LengthUnits::heights()[index]; }

bool isChecked(win::UINT state) { return (state & win::TVIS_STATEIMAGEMASK) == kChecked; }

Ticks secondsToTicks(double seconds) {
    const double ticks = std::round(seconds * kTicksPerSecond);
    if (!(ticks > 0))
        return 0;
    return ticks >= std::numeric_limits<Ticks>::max() ? std::numeric_limits<Ticks>::max() : static_cast<Ticks>(ticks);
}

} // namespace

AdvPlayDlg::AdvPlayDlg(PlayList& list, std::string settingsFile, const std::vector<AircraftChoice>& aircraft)
    : Dialog(ModuleResources::kAdvancedPlaybackDialog, ModuleResources::instance()), list_(list),
      settingsFile_(std::move(settingsFile)), aircraft_(aircraft), selection_(list) {}

bool AdvPlayDlg::edit(PlayList& list, const std::string& settingsFile, const std::vector<AircraftChoice>& aircraft) {
    AdvPlayDlg dialog(list, settingsFile, aircraft);
    return dialog.doModal() == win::IDOK;
}

win::DialogTemplate AdvPlayDlg::dialogTemplate() {
    using enum win::ControlKind;
    constexpr win::DWORD kTreeStyle =
        win::TVS_CHECKBOXES | win::TVS_HASBUTTONS | win::TVS_HASLINES | win::TVS_LINESATROOT | win::TVS_SHOWSELALWAYS;
    win::DialogTemplate t;
    t.id = ModuleResources::kAdvancedPlaybackDialog;
    t.title = "Advanced Playback";
    t.width = 420;
    t.height = 290;
    t.controls = {
        {kLabelId, Text, "Files and Tracks:", {7, 4, 120, 8}, 0},
        {kTreeId, TreeView, "", {7, 14, 200, 180}, kTreeStyle},
        {kInfoId, Text, "", {7, 198, 200, 64}, 0},
        {kLabelId, GroupBox, "Position Offset", {214, 4, 199, 82}, 0},
        {kEastWestLabelId, Text, "East/West:", {220, 16, 60, 8}, 0},
        {kEastWestId, Edit, "", {282, 14, 50, 12}, 0},
        {kLabelId, Text, "Up/Down:", {220, 30, 60, 8}, 0},
        {kUpDownId, Edit, "", {282, 28, 50, 12}, 0},
        {kNorthSouthLabelId, Text, "North/South:", {220, 44, 60, 8}, 0},
        {kNorthSouthId, Edit, "", {282, 42, 50, 12}, 0},
        {kUnitId, PushButton, "m", {336, 28, 20, 12}, 0},
        {kLabelId, Text, "Rotate Offset with Aircraft:", {220, 58, 120, 8}, 0},
        {kHeadingId, AutoCheckBox, "Heading", {220, 70, 50, 10}, 0},
        {kPitchId, AutoCheckBox, "Pitch", {274, 70, 40, 10}, 0},
        {kBankId, AutoCheckBox, "Bank", {318, 70, 40, 10}, 0},
        {kLabelId, GroupBox, "Playback", {214, 88, 199, 30}, 0},
        {kLabelId, Text, "Delay by", {220, 102, 30, 8}, 0},
        {kDelayId, Edit, "", {252, 100, 40, 12}, 0},
        {kLabelId, Text, "seconds", {296, 102, 32, 8}, 0},
        {kExtendId, AutoCheckBox, "Extend Track", {334, 101, 70, 10}, 0},
        {kLabelId, GroupBox, "Aircraft", {214, 120, 199, 86}, 0},
        {kLabelId, Text, "Manufacturer:", {220, 132, 50, 8}, 0},
        {kManufacturerId, ComboBox, "", {272, 130, 136, 80}, 0},
        {kLabelId, Text, "Model:", {220, 146, 50, 8}, 0},
        {kModelId, ComboBox, "", {272, 144, 136, 80}, 0},
        {kLabelId, Text, "Variation:", {220, 160, 50, 8}, 0},
        {kVariationId, ComboBox, "", {272, 158, 136, 80}, 0},
        {kLabelId, Text, "Title:", {220, 174, 50, 8}, 0},
        {kTitleId, ComboBox, "", {272, 172, 136, 80}, 0},
        {kLabelId, Text, "Tail Number:", {220, 189, 50, 8}, 0},
        {kTailNumberId, Edit, "", {272, 187, 60, 12}, 0},
        {kLabelId, GroupBox, "Data", {214, 208, 199, 56}, 0},
        {kDataTreeId, TreeView, "", {220, 218, 187, 42}, win::TVS_CHECKBOXES},
        {kAddFileId, PushButton, "Add File...", {7, 270, 55, 14}, 0},
        {kRemoveFileId, PushButton, "Remove File", {66, 270, 55, 14}, 0},
        {kInsertCopyId, PushButton, "Insert Copy", {125, 270, 55, 14}, 0},
        {kSetUserId, PushButton, "Set User Acft", {184, 270, 55, 14}, 0},
        {kSaveAsId, PushButton, "Save As...", {243, 270, 55, 14}, 0},
        {win::IDOK, DefPushButton, "Play", {314, 270, 45, 14}, 0},
        {win::IDCANCEL, PushButton, "Cancel", {365, 270, 45, 14}, 0},
    };
    return t;
}

bool AdvPlayDlg::onOk() {
    storeTrack();
    list_ = selection_.playList();
    return true;
}

win::INT_PTR AdvPlayDlg::onMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message != win::WM_CONTEXTMENU || reinterpret_cast<win::HWND>(wParam) != win::GetDlgItem(hwnd(), kTreeId))
        return Dialog::onMessage(message, wParam, lParam);
    // The chosen command comes back as WM_COMMAND (onContextCommand).
    const win::HMENU menu = win::CreatePopupMenu();
    for (const ContextItem& item : kTreeMenu)
        win::AppendMenu(menu, win::MF_STRING, static_cast<win::UINT>(item.id), item.text);
    win::TrackPopupMenu(menu, win::TPM_LEFTALIGN | win::TPM_RIGHTBUTTON, win::GET_X_LPARAM(lParam),
                        win::GET_Y_LPARAM(lParam), hwnd());
    win::DestroyMenu(menu);
    return 1;
}

bool AdvPlayDlg::onInitDialog() {
    fillTree();
    showSelected();
    return true;
}

bool AdvPlayDlg::onCommand(int id, int notifyCode, win::LPARAM) {
    switch (id) {
    case kAddFileId:
        addFiles();
        return true;
    case kRemoveFileId:
        removeFile();
        return true;
    case kInsertCopyId:
        insertCopy();
        return true;
    case kSetUserId:
        setUser();
        return true;
    case kSaveAsId:
        saveAs();
        return true;
    case kUnitId:
        switchUnit();
        return true;
    case kHeadingId:
        showOffsetLabels();
        return true;
    case kManufacturerId:
    case kModelId:
    case kVariationId:
        if (notifyCode == win::CBN_SELCHANGE)
            fillAircraftFrom(static_cast<std::size_t>(std::find(kAircraftIds.begin(), kAircraftIds.end(), id) -
                                                      kAircraftIds.begin()) + 1);
        return true;
    case kCheckAllTracksId:
    case kUncheckAllTracksId:
    case kCheckAllMarkersId:
    case kUncheckAllMarkersId:
        onContextCommand(id);
        return true;
    default:
        return false;
    }
}

bool AdvPlayDlg::onNotify(win::LPARAM lParam) {
    const auto* header = reinterpret_cast<const win::NMHDR*>(lParam);
    if (header->idFrom == static_cast<uintptr_t>(kDataTreeId) && header->code == win::TVN_ITEMCHANGED) {
        onDataTreeCheck();
        return true;
    }
    if (header->idFrom != static_cast<uintptr_t>(kTreeId) || fillingTree_)
        return false;
    if (header->code == win::TVN_SELCHANGED) {
        const auto* change = reinterpret_cast<const win::NMTREEVIEW*>(lParam);
        storeTrack();
        selected_.reset();
        if (change->itemNew.hItem != nullptr)
            selected_ = items_.at(static_cast<std::size_t>(change->itemNew.lParam));
        showSelected();
        return true;
    }
    if (header->code == win::TVN_ITEMCHANGED) {
        const auto* change = reinterpret_cast<const win::NMTVITEMCHANGE*>(lParam);
        if (isChecked(change->uStateNew) != isChecked(change->uStateOld))
            onTreeCheck(items_.at(static_cast<std::size_t>(change->lParam)), isChecked(change->uStateNew));
        return true;
    }
    return false;
}

win::HTREEITEM AdvPlayDlg::insertItem(int treeId, win::HTREEITEM parent, const std::string& text, win::UINT state,
                                      int image, win::LPARAM param) {
    win::TVINSERTSTRUCT insert;
    insert.hParent = parent;
    insert.hInsertAfter = win::TVI_LAST;
    insert.item.mask = win::TVIF_TEXT | win::TVIF_STATE | win::TVIF_PARAM | win::TVIF_IMAGE | win::TVIF_SELECTEDIMAGE;
    insert.item.text = text;
    insert.item.state = state;
    insert.item.stateMask = win::TVIS_STATEIMAGEMASK | win::TVIS_BOLD | win::TVIS_EXPANDED;
    insert.item.iImage = insert.item.iSelectedImage = image;
    insert.item.lParam = param;
    return reinterpret_cast<win::HTREEITEM>(
        win::SendDlgItemMessage(hwnd(), treeId, win::TVM_INSERTITEM, 0, reinterpret_cast<win::LPARAM>(&insert)));
}

// Rebuilt whole after every change of the list, keeping the selected item selected.
void AdvPlayDlg::fillTree() {
    fillingTree_ = true;
    win::SendDlgItemMessage(hwnd(), kTreeId, win::TVM_DELETEITEM, 0, reinterpret_cast<win::LPARAM>(win::TVI_ROOT));
    items_.clear();
    win::HTREEITEM toSelect = nullptr;
    auto add = [&](win::HTREEITEM parent, const ItemKey& key, const std::string& text, win::UINT state, int image) {
        items_.push_back(key);
        const win::HTREEITEM item =
            insertItem(kTreeId, parent, text, state, image, static_cast<win::LPARAM>(items_.size() - 1));
        if (selected_ == key)
            toSelect = item;
        return item;
    };
    const auto user = selection_.user();
    for (std::size_t f = 0; f < selection_.files().size(); ++f) {
        const AdvPlaySelection::FileEntry& file = selection_.files()[f];
        const bool allChecked = std::all_of(file.tracks.begin(), file.tracks.end(), [](const auto& e) { return e.checked; }) &&
                                std::all_of(file.markers.begin(), file.markers.end(), [](bool m) { return m; });
        const win::HTREEITEM fileItem =
            add(nullptr, {ItemKind::File, f, 0}, std::filesystem::path(file.path).filename().string(),
                (allChecked ? kChecked : kUnchecked) | win::TVIS_EXPANDED, 0);
        for (std::size_t e = 0; e < file.tracks.size(); ++e) {
            const AdvPlaySelection::TrackEntry& entry = file.tracks[e];
            const bool isUser = user == AdvPlaySelection::TrackRef{f, e};
            add(fileItem, {ItemKind::Track, f, e},
                AdvPlayTexts::trackLabel(entry.track.index, file.file->getTrackInfo(entry.track.index), entry.copy),
                (entry.checked ? kChecked : kUnchecked) | (isUser ? win::TVIS_BOLD : 0), 0);
        }
        for (uint32_t m = 0; m < file.markers.size(); ++m) {
            const Marker marker = file.file->readMarker(m);
            add(fileItem, {ItemKind::Marker, f, m}, AdvPlayTexts::markerLabel(marker),
                file.markers[m] ? kChecked : kUnchecked, AdvPlayTexts::markerIcon(marker));
        }
    }
    if (toSelect == nullptr)
        selected_.reset();
    win::SendDlgItemMessage(hwnd(), kTreeId, win::TVM_SELECTITEM, win::TVGN_CARET,
                            reinterpret_cast<win::LPARAM>(toSelect));
    fillingTree_ = false;
}

void AdvPlayDlg::onTreeCheck(const ItemKey& key, bool checked) {
    AdvPlaySelection::FileEntry& file = selection_.file(key.file);
    switch (key.kind) {
    case ItemKind::File: // a file's box checks or clears everything in it
        for (AdvPlaySelection::TrackEntry& entry : file.tracks)
            entry.checked = checked;
        file.markers.assign(file.markers.size(), checked);
        break;
    case ItemKind::Track:
        file.tracks.at(key.index).checked = checked;
        break;
    case ItemKind::Marker:
        file.markers.at(key.index) = checked;
        break;
    }
    fillTree();
}

void AdvPlayDlg::onContextCommand(int id) {
    if (id == kCheckAllTracksId || id == kUncheckAllTracksId)
        selection_.checkAllTracks(id == kCheckAllTracksId);
    else
        selection_.checkAllMarkers(id == kCheckAllMarkersId);
    fillTree();
}

std::optional<AdvPlaySelection::TrackRef> AdvPlayDlg::selectedTrack() const {
    if (!selected_ || selected_->kind != ItemKind::Track)
        return std::nullopt;
    return AdvPlaySelection::TrackRef{selected_->file, selected_->index};
}

void AdvPlayDlg::showSelected() {
    enable(kRemoveFileId, selected_.has_value());
    const auto track = selectedTrack();
    enableTrackControls(track.has_value());
    if (!selected_) {
        setText(kInfoId, "");
        return;
    }
    AdvPlaySelection::FileEntry& file = selection_.file(selected_->file);
    switch (selected_->kind) {
    case ItemKind::File:
        setText(kInfoId, AdvPlayTexts::fileInfo(file.path, file.file->getNTracks()));
        break;
    case ItemKind::Track: {
        const AdvPlaySelection::TrackEntry& entry = selection_.entry(*track);
        const uint32_t index = entry.track.index;
        setText(kInfoId, AdvPlayTexts::trackInfo(file.path, index, file.file->getTrackInfo(index),
                                                 file.file->getStartTime(index), file.file->getEndTime(index)));
        showTrack(entry);
        break;
    }
    case ItemKind::Marker:
        setText(kInfoId, AdvPlayTexts::markerInfo(file.path, file.file->readMarker(static_cast<uint32_t>(selected_->index))));
        break;
    }
}

void AdvPlayDlg::enableTrackControls(bool enabled) {
    for (int id : kTrackControls)
        enable(id, enabled);
}

void AdvPlayDlg::showTrack(const AdvPlaySelection::TrackEntry& entry) {
    const PlayTrack& track = entry.track;
    const double metres = offsetUnit(unit_).metres;
    const float offsets[] = {track.offsetX, track.offsetY, track.offsetZ};
    for (std::size_t i = 0; i < std::size(kOffsetIds); ++i)
        setFloat(kOffsetIds[i], offsets[i] / metres, kOffsetDecimals);
    setCheck(kHeadingId, track.rotateHeading != 0);
    setCheck(kPitchId, track.rotatePitch != 0);
    setCheck(kBankId, track.rotateBank != 0);
    showOffsetLabels();
    setFloat(kDelayId, static_cast<double>(track.timeOffset) / kTicksPerSecond, kDelayDecimals);
    setCheck(kExtendId, track.hold != 0);
    showAircraft(track.title);
    setText(kTailNumberId, track.tailNumber);
    fillDataTree(entry);
}

// The controls are read back when the user leaves the track, and before the list is used.
void AdvPlayDlg::storeTrack() {
    const auto ref = selectedTrack();
    if (!ref)
        return;
    PlayTrack& track = selection_.entry(*ref).track;
    const double metres = offsetUnit(unit_).metres;
    track.offsetX = static_cast<float>(getFloat(kEastWestId) * metres);
    track.offsetY = static_cast<float>(getFloat(kUpDownId) * metres);
    track.offsetZ = static_cast<float>(getFloat(kNorthSouthId) * metres);
    track.rotateHeading = getCheck(kHeadingId) ? 1 : 0;
    track.rotatePitch = getCheck(kPitchId) ? 1 : 0;
    track.rotateBank = getCheck(kBankId) ? 1 : 0;
    track.timeOffset = secondsToTicks(getFloat(kDelayId));
    track.hold = getCheck(kExtendId) ? 1 : 0;
    const int title = getSelection(kTitleId);
    track.title = title > 0 ? titles_.at(static_cast<std::size_t>(title)).substr(0, kMaxTitle) : std::string();
    track.tailNumber = getText(kTailNumberId).substr(0, kMaxTailNumber);
}

void AdvPlayDlg::showOffsetLabels() {
    const bool rotated = getCheck(kHeadingId);
    setText(kEastWestLabelId, rotated ? "Left/Right:" : "East/West:");
    setText(kNorthSouthLabelId, rotated ? "Front/Back:" : "North/South:");
}

void AdvPlayDlg::switchUnit() {
    double metres[std::size(kOffsetIds)];
    for (std::size_t i = 0; i < std::size(kOffsetIds); ++i)
        metres[i] = getFloat(kOffsetIds[i]) * offsetUnit(unit_).metres;
    unit_ = LengthUnits::next(LengthUnits::heights(), unit_);
    setText(kUnitId, offsetUnit(unit_).name);
    for (std::size_t i = 0; i < std::size(kOffsetIds); ++i)
        setFloat(kOffsetIds[i], metres[i] / offsetUnit(unit_).metres, kOffsetDecimals);
}

bool AdvPlayDlg::matchesChoice(const AircraftChoice& aircraft, std::size_t levels) const {
    const std::vector<std::string>* shown[] = {&manufacturers_, &models_, &variations_};
    for (std::size_t level = 0; level < levels && level < std::size(shown); ++level) {
        const int chosen = getSelection(kAircraftIds[level]);
        if (chosen > 0 && aircraft.*kAircraftFields[level] != shown[level]->at(static_cast<std::size_t>(chosen)))
            return false;
    }
    return true;
}

void AdvPlayDlg::fillAircraftList(int id, std::vector<std::string>& shown, std::size_t level) {
    shown.assign(1, std::string());
    for (const AircraftChoice& aircraft : aircraft_) {
        const std::string& value = aircraft.*kAircraftFields[level];
        if (matchesChoice(aircraft, level) && std::find(shown.begin(), shown.end(), value) == shown.end())
            shown.push_back(value);
    }
    std::sort(shown.begin() + 1, shown.end());
    win::SendDlgItemMessage(hwnd(), id, win::CB_RESETCONTENT, 0, 0);
    for (const std::string& value : shown)
        addItem(id, value);
    setSelection(id, 0);
}

void AdvPlayDlg::fillAircraftFrom(std::size_t level) {
    std::vector<std::string>* shown[] = {&manufacturers_, &models_, &variations_, &titles_};
    for (; level < kAircraftIds.size(); ++level)
        fillAircraftList(kAircraftIds[level], *shown[level], level);
}

// A title among the installed aircraft sets the choosers above it; any other override is listed
// on its own so that it survives.
void AdvPlayDlg::showAircraft(const std::string& title) {
    std::vector<std::string>* shown[] = {&manufacturers_, &models_, &variations_, &titles_};
    const auto installed = std::find_if(aircraft_.begin(), aircraft_.end(),
                                        [&](const AircraftChoice& a) { return !title.empty() && a.title == title; });
    for (std::size_t level = 0; level < kAircraftIds.size(); ++level) {
        fillAircraftList(kAircraftIds[level], *shown[level], level);
        if (installed == aircraft_.end())
            continue;
        const auto at = std::find(shown[level]->begin(), shown[level]->end(), (*installed).*kAircraftFields[level]);
        setSelection(kAircraftIds[level], static_cast<int>(at - shown[level]->begin()));
    }
    if (installed == aircraft_.end() && !title.empty()) {
        titles_.push_back(title);
        addItem(kTitleId, title);
        setSelection(kTitleId, static_cast<int>(titles_.size() - 1));
    }
}

void AdvPlayDlg::fillDataTree(const AdvPlaySelection::TrackEntry& entry) {
    const auto ref = selectedTrack();
    const DataFormat& format = selection_.file(ref->file).file->getTrackInfo(entry.track.index).format;
    win::SendDlgItemMessage(hwnd(), kDataTreeId, win::TVM_DELETEITEM, 0, reinterpret_cast<win::LPARAM>(win::TVI_ROOT));
    for (const ContainedGroup& group : containedDataGroups(format.ContFlags, format.DiscFlags)) {
        const DataGroup& bits = dataGroup(group.id);
        const bool played = (bits.contBits & format.ContFlags & entry.track.contFlags) != 0 ||
                            (bits.discBits & format.DiscFlags & entry.track.discFlags) != 0;
        insertItem(kDataTreeId, nullptr, group.name, played ? kChecked : kUnchecked, 0, group.id);
    }
}

void AdvPlayDlg::onDataTreeCheck() {
    const auto ref = selectedTrack();
    if (!ref)
        return;
    std::vector<uint32_t> ids;
    auto item = reinterpret_cast<win::HTREEITEM>(
        win::SendDlgItemMessage(hwnd(), kDataTreeId, win::TVM_GETNEXTITEM, win::TVGN_ROOT, 0));
    for (; item != nullptr;
         item = reinterpret_cast<win::HTREEITEM>(win::SendDlgItemMessage(
             hwnd(), kDataTreeId, win::TVM_GETNEXTITEM, win::TVGN_NEXT, reinterpret_cast<win::LPARAM>(item)))) {
        win::TVITEM fields;
        fields.mask = win::TVIF_STATE | win::TVIF_PARAM;
        fields.hItem = item;
        fields.stateMask = win::TVIS_STATEIMAGEMASK;
        win::SendDlgItemMessage(hwnd(), kDataTreeId, win::TVM_GETITEM, 0, reinterpret_cast<win::LPARAM>(&fields));
        if (isChecked(fields.state))
            ids.push_back(static_cast<uint32_t>(fields.lParam));
    }
    AdvPlaySelection::TrackEntry& entry = selection_.entry(*ref);
    const DataMasks masks = masksFromSelection(ids);
    entry.track.contFlags = masks.contFlags;
    entry.track.discFlags = masks.discFlags;
    fillDataTree(entry); // an extended group goes with its base group
}

void AdvPlayDlg::addFiles() {
    storeTrack();
    for (const std::string& path : RecordingFileDialog::askToOpen(settingsFile_, "Open Recorded Flights", true)) {
        try {
            if (ZflFile::checkOldVersion(path) && !askConvertOldFile(path))
                continue;
            selection_.addFile(path);
        } catch (const ZephrelException& e) {
            showError(e.userText, e.severity);
        }
    }
    fillTree();
    showSelected();
}

void AdvPlayDlg::removeFile() {
    if (!selected_)
        return;
    selection_.removeFile(selected_->file);
    selected_.reset();
    fillTree();
    showSelected();
}

void AdvPlayDlg::insertCopy() {
    const auto ref = selectedTrack();
    if (!ref)
        return;
    storeTrack();
    selected_->index = selection_.insertCopy(*ref);
    fillTree();
    showSelected();
}

void AdvPlayDlg::setUser() {
    const auto ref = selectedTrack();
    if (!ref)
        return;
    storeTrack();
    selection_.toggleUser(*ref);
    fillTree();
}

void AdvPlayDlg::saveAs() {
    storeTrack();
    const std::string target = RecordingFileDialog::askToSave(settingsFile_, "Save Flights");
    if (target.empty())
        return;
    if (selection_.listsPath(target)) {
        MessageBoxRequest refusal;
        refusal.caption = "Zephrel";
        refusal.text = "You cannot select one of the input files as target file! Please choose a different target "
                       "file name.";
        refusal.icon = MessageIcon::Warning;
        showMessageBox(refusal);
        return;
    }
    PlayListFile::save(selection_.playList(), target);
}
