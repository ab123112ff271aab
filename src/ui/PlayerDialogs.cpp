#include "ui/PlayerDialogs.h"

#include "alerts/MessageBox.h"
#include "alerts/OldVersionQuestion.h"
#include "ui/NewMarkersSave.h"

void PlayerDialogs::refuseDuringMultiplayer() {
    showMessageBox({"Playback is not available while a multiplayer session is running!", "Zephrel",
                    MessageIcon::Warning, MessageButtons::Ok});
}

bool PlayerDialogs::convertOldRecording(const std::string& path) {
    return askConvertOldFile(path);
}

void PlayerDialogs::offerNewMarkers(const std::vector<Marker>& markers) {
    offerToSaveNewMarkers(markers, settingsFile_);
}
