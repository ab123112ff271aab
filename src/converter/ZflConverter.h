#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "winsys/WinSys.h"

// The converter program: with an input and an output it converts once, without them it shows
// its dialog. Returns the exit code: 0 on success (and after the dialog), 1 when the arguments
// are invalid or the conversion failed.
namespace ZflConverter {

constexpr const char* kCaption = "Zephrel Converter";

// The words as the shell split them, the program's own path first.
int run(const std::vector<std::string>& words);
// A whole command line as one string, split as the program's own command line is split.
int run(std::string_view commandLine);

enum class Direction { ToText, ToRecording };

// On the command line the input's extension chooses: ".zfl" to text, anything else to a recording.
Direction directionFor(const std::string& input);

// Converts and reports a failure in a message box over `owner`, and data lines an import left out
// in a warning box. False when it failed.
bool convert(Direction direction, const std::string& input, const std::string& output, bool altitudeInMeters,
             win::HWND owner);

} // namespace ZflConverter
