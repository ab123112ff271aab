#pragma once

#include <string>
#include <vector>

#include "winsys/Types.h"

// The common file dialogs, the folder browser, "open with the default application" and
// asynchronous sound.
namespace win {

inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
inline constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
inline constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
inline constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
inline constexpr DWORD OFN_EXPLORER = 0x00080000;

struct FileFilter {
    std::string name;    // "Flight Recordings"
    std::string pattern; // "*.zfl"
};

// The dialog's behaviour is the original's: a chosen name without an extension gets `defExt`, a
// relative name is taken in `initialDir`, OFN_FILEMUSTEXIST and OFN_PATHMUSTEXIST refuse names
// that do not exist, OFN_OVERWRITEPROMPT asks (a Yes/No message box titled like the dialog)
// before an existing file is chosen for saving.
struct OPENFILENAME {
    HWND hwndOwner = nullptr;
    std::vector<FileFilter> filters;
    std::string file; // in: the name proposed; out: the chosen path (the first with multi-select)
    std::vector<std::string> files; // out: every chosen path, in full
    std::string initialDir;
    std::string title;
    std::string defExt; // without the dot
    DWORD flags = 0;
};

// False when cancelled. The owner is disabled while the dialog is shown.
bool GetOpenFileName(OPENFILENAME& request);
bool GetSaveFileName(OPENFILENAME& request);

struct BROWSEINFO {
    HWND hwndOwner = nullptr;
    std::string title;
    std::string initialFolder;
};

// The chosen folder; empty when cancelled.
std::string BrowseForFolder(const BROWSEINFO& request);

inline constexpr INT_PTR SE_ERR_NOASSOC = 31;

// Opens a file or web address with its default application (operation "open"). As on the
// original a result above 32 means success.
INT_PTR ShellExecute(HWND owner, const std::string& operation, const std::string& file);

inline constexpr UINT SND_SYNC = 0x0000;
inline constexpr UINT SND_ASYNC = 0x0001;
inline constexpr UINT SND_NODEFAULT = 0x0002;

// Plays a wave file; a null file stops the sound that plays. False when the file cannot be played.
bool sndPlaySound(const char* file, UINT flags);

} // namespace win
