#pragma once

#include <optional>
#include <string>

#include "common/ZflFile.h"
#include "playback/PlayList.h"

// Reads what a play list takes from a recording before the player gets it, so that damage shows
// when the file is chosen instead of in the middle of a playback (where it would stop a recording
// that runs beside it). Every selected marker must read and every selected track must hold both
// kinds of records in time order. Returns why the selection cannot be played, nothing when it
// can; a part the file cannot give throws the file's own failure. `file` is open for reading.
std::optional<std::string> unplayablePart(ZflFile& file, const PlayFile& selection);
