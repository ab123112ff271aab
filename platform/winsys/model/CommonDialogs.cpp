#include "winsys/CommonDialogs.h"

#include "winsys/Backend.h"
#include "winsys/Transcript.h"
#include "winsys/model/ModalOwner.h"

namespace win {

namespace {

bool runFileDialog(FileDialogKind kind, OPENFILENAME& request) {
    std::vector<std::string> chosen;
    {
        model::ModalOwner disabled(request.hwndOwner);
        chosen = CurrentBackend().fileDialog(kind, request);
    }
    CurrentTranscript().add(FileDialogEntry{kind, request.title, request.filters, request.initialDir,
                                            request.defExt, request.flags, chosen});
    if (chosen.empty())
        return false;
    request.file = chosen.front();
    request.files = std::move(chosen);
    return true;
}

} // namespace

bool GetOpenFileName(OPENFILENAME& request) {
    return runFileDialog(FileDialogKind::Open, request);
}

bool GetSaveFileName(OPENFILENAME& request) {
    return runFileDialog(FileDialogKind::Save, request);
}

std::string BrowseForFolder(const BROWSEINFO& request) {
    std::string chosen;
    {
        model::ModalOwner disabled(request.hwndOwner);
        chosen = CurrentBackend().browseForFolder(request);
    }
    CurrentTranscript().add(FolderBrowserEntry{request.title, request.initialFolder, chosen});
    return chosen;
}

INT_PTR ShellExecute(HWND, const std::string& operation, const std::string& file) {
    CurrentTranscript().add(ShellOpenEntry{operation, file});
    constexpr INT_PTR kSuccess = 42;
    return CurrentBackend().shellOpen(operation, file) ? kSuccess : SE_ERR_NOASSOC;
}

bool sndPlaySound(const char* file, UINT flags) {
    if (file == nullptr) {
        CurrentBackend().stopSound();
        CurrentTranscript().add(SoundEntry{{}, flags, false});
        return true;
    }
    const bool played = CurrentBackend().playSound(file, flags);
    CurrentTranscript().add(SoundEntry{file, flags, played});
    return played;
}

} // namespace win
