#pragma once

#include <string>
#include <vector>

#include "cameras/CameraChoice.h"
#include "common/Marker.h"
#include "ui/Dialog.h"

// "Add Marker": edits one marker (its type, chapter flag, text, sound option or camera, display
// time and scrolling). OK keeps the dialog open with a message while the marker is incomplete.
class MarkerDlg : public Dialog {
public:
    static constexpr int kTimeId = 1001; // the marker's time in seconds, read-only
    static constexpr int kTypeId = 1002;
    static constexpr int kChapterId = 1003;
    static constexpr int kTextLabelId = 1004; // "Wave File:", "Text:" or "Comment:"
    static constexpr int kTextId = 1005;
    static constexpr int kBrowseId = 1006; // "...", a wave file
    static constexpr int kOptionLabelId = 1007;
    static constexpr int kOptionId = 1008; // where a sound plays, or the camera
    static constexpr int kDisplayTimeId = 1009;
    static constexpr int kScrollId = 1010;

    // Without cameras (no camera manager) "Switch Camera" is not offered. The settings file keeps
    // the wave files' folder.
    MarkerDlg(Marker& marker, const std::vector<CameraChoice>* cameras, std::string settingsFile);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog; true when the user confirmed, and the marker then holds the edit.
    bool edit();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
    bool onOk() override;

private:
    uint32_t selectedType() const;
    // The labels, the enabled controls and the option list of the selected type.
    void showType();
    void fillOptions(uint32_t type);
    void browseWaveFile();
    // The edit into the marker; false, after telling the user, while the edit is incomplete.
    bool store();

    Marker& marker_;
    const std::vector<CameraChoice>* cameras_;
    std::string settingsFile_;
    std::vector<const CameraChoice*> listedCameras_; // the option list's cameras, in list order
};
