#include "ui/NewMarkersSave.h"

#include <algorithm>

#include "alerts/MessageBox.h"
#include "alerts/ShowError.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"
#include "ui/RecordingFileDialog.h"

namespace {

bool isNew(const Marker& marker) {
    return marker.include != 0;
}

void writeMarkersFile(const std::string& path, const std::vector<Marker>& markers) {
    try {
        // Left by an exception, the file never takes its name: one chosen to be replaced stays.
        ZflFile file;
        file.open(path, ZflFile::Write);
        for (const Marker& marker : markers)
            if (isNew(marker))
                file.addMarker(marker);
        file.close();
    } catch (const ZephrelException& e) {
        showError(e.userText, e.severity);
    }
}

} // namespace

void offerToSaveNewMarkers(const std::vector<Marker>& markers, const std::string& settingsFile) {
    if (std::none_of(markers.begin(), markers.end(), isNew))
        return;
    const MessageBoxRequest question{"You have set new markers during playback, do you want to save them?", "Zephrel",
                                     MessageIcon::Question, MessageButtons::YesNo};
    if (showMessageBox(question) != AnswerYes)
        return;
    const std::string path =
        RecordingFileDialog::askToSave(settingsFile, "Save Markers", RecordingFileDialog::Kind::MarkersOnly);
    if (path.empty())
        return;
    writeMarkersFile(path, markers);
}
