#pragma once

#include <string>

#include "winsys/Types.h"

// The names around a recording file.

// The name a recording is saved under when no file dialog asks for one: the local time it was
// stopped, to the millisecond, as "Zephrel_YYYY-MM-DD_hh-mm-ss_mmmm.zfl" in the flights folder.
std::string automaticRecordingName(const std::string& flightsFolder, const win::SYSTEMTIME& localTime);

// The recording's file title, which also titles the flight saved with it: the file's name
// without its folder and extension.
std::string recordingTitle(const std::string& fileName);
