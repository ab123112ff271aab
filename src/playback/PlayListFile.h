#pragma once

#include <string>

#include "playback/PlayList.h"

// Writes the tracks and markers a play list selects into one new recording file, with every
// change the list asks for applied: aircraft title and tail number, data groups, time offsets and
// position offsets. The result plays alone as the list would have played.
namespace PlayListFile {

// Title and tail number as far as a track header holds them.
constexpr std::size_t kMaxTitle = 255;
constexpr std::size_t kMaxTailNumber = 10;

// The target is written whole or not at all: a failure (thrown as ZephrelException) leaves no file
// of that name, nor changes one that was there. The target must not be one of the list's files.
void save(const PlayList& list, const std::string& target);

} // namespace PlayListFile
