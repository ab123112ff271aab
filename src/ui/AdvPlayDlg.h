#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "playback/PlayList.h"
#include "ui/AdvPlaySelection.h"
#include "ui/Dialog.h"
#include "ui/AircraftChoice.h"

// "Advanced Playback": combines tracks and markers of several recordings, each track with its own
// data groups, aircraft, tail number, position offset, delay and user-aircraft choice, then plays
// the result or saves it as a new recording.
class AdvPlayDlg : public Dialog {
public:
    static constexpr int kInfoId = 1007;
    static constexpr int kManufacturerId = 1012;
    static constexpr int kAddFileId = 1017;
    static constexpr int kSetUserId = 1034;
    static constexpr int kModelId = 1035;
    static constexpr int kVariationId = 1040;
    static constexpr int kSaveAsId = 1048;
    static constexpr int kInsertCopyId = 1056;
    static constexpr int kRemoveFileId = 1060;
    static constexpr int kEastWestLabelId = 1082;
    static constexpr int kEastWestId = 1083;
    static constexpr int kUpDownId = 1089;
    static constexpr int kNorthSouthLabelId = 1093;
    static constexpr int kNorthSouthId = 1094;
    static constexpr int kHeadingId = 1099;
    static constexpr int kPitchId = 1103;
    static constexpr int kBankId = 1106;
    static constexpr int kTreeId = 1159;
    static constexpr int kTitleId = 1160;
    static constexpr int kTailNumberId = 1161;
    static constexpr int kDelayId = 1162;
    static constexpr int kExtendId = 1163;
    static constexpr int kDataTreeId = 1164;
    static constexpr int kUnitId = 1185;
    // The commands of the tree's pop-up menu.
    static constexpr int kCheckAllTracksId = 40001;
    static constexpr int kUncheckAllTracksId = 40002;
    static constexpr int kCheckAllMarkersId = 40003;
    static constexpr int kUncheckAllMarkersId = 40004;

    // The list's files must be readable (a ZephrelException otherwise); `list` changes only on Play.
    AdvPlayDlg(PlayList& list, std::string settingsFile, const std::vector<AircraftChoice>& aircraft);
    static win::DialogTemplate dialogTemplate();

    // Shows the list as it is, lets the user edit it; true when the user chose Play, and `list`
    // then holds the selection.
    static bool edit(PlayList& list, const std::string& settingsFile, const std::vector<AircraftChoice>& aircraft);

protected:
    win::INT_PTR onMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onNotify(win::LPARAM lParam) override;
    bool onOk() override;

private:
    enum class ItemKind { File, Track, Marker };
    struct ItemKey {
        ItemKind kind;
        std::size_t file;
        std::size_t index; // track entry or marker index; unused for files
        bool operator==(const ItemKey&) const = default;
    };

    // The tree of files, tracks and markers.
    void fillTree();
    win::HTREEITEM insertItem(int treeId, win::HTREEITEM parent, const std::string& text, win::UINT state,
                              int image, win::LPARAM param);
    void onTreeCheck(const ItemKey& key, bool checked);
    void onContextCommand(int id);
    std::optional<AdvPlaySelection::TrackRef> selectedTrack() const;

    // The controls of the selected item.
    void showSelected();
    void enableTrackControls(bool enabled);
    void showTrack(const AdvPlaySelection::TrackEntry& entry);
    void storeTrack();
    void showOffsetLabels();
    void switchUnit();

    // The aircraft choosers: each narrows the ones after it.
    void fillAircraftList(int id, std::vector<std::string>& shown, std::size_t level);
    void fillAircraftFrom(std::size_t level);
    void showAircraft(const std::string& title);
    bool matchesChoice(const AircraftChoice& aircraft, std::size_t levels) const;

    void fillDataTree(const AdvPlaySelection::TrackEntry& entry);
    void onDataTreeCheck();

    void addFiles();
    void removeFile();
    void insertCopy();
    void setUser();
    void saveAs();

    PlayList& list_;
    std::string settingsFile_;
    const std::vector<AircraftChoice>& aircraft_;
    AdvPlaySelection selection_;
    std::vector<ItemKey> items_; // a tree item's lParam indexes this
    std::optional<ItemKey> selected_;
    bool fillingTree_ = false;
    std::size_t unit_ = 0; // index into the offset units
    // What each aircraft chooser shows; item 0 is "" (any, or for the title: the track's own).
    std::vector<std::string> manufacturers_, models_, variations_, titles_;
};
