#pragma once

#include <string>
#include <vector>

// The files of the flight saved with a recording before its name was known: every file
// `base` + ".*" (the simulator may write more than the flight file itself).

// Moves each to `recordingName` + "." + its own extension, replacing a file of that name, and
// returns the paths moved to. A file that cannot be moved stays where it is, with a warning in
// the log. With an empty `recordingName` (the recording was discarded) the files are deleted.
std::vector<std::string> moveTempRecordFiles(const std::string& base, const std::string& recordingName);
