#pragma once

#include <string>

// Saves the temporary files of a recording that did not end — "<tempBase>.tmp0" to ".tmp2", as the
// module leaves them after a crash ("Zephrel") or a failed save ("ZephrelInterrupted-N") — as the
// recording `output`, and lets the files go. A base given with one of the extensions is taken
// without it. Returns what was saved: "3 aircraft, 12 minutes, from 2011-08-15 14:05".
// Throws std::runtime_error when there are no such files or `output` exists, ZephrelException when
// they cannot be read or the recording cannot be written; the files are kept then.
std::string recoverRecording(std::string tempBase, const std::string& output);
