#pragma once

#include <string>
#include <string_view>
#include <vector>

// The words of a whole command line, the program's own path first: separated by spaces, a double
// quote switches quoting on and off (and is not part of the word), spaces inside quotes belong to
// the word, spaces before a word are skipped.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

// Whether a path names a recording: the text after its last "." is "zfl" in any case.
bool isRecordingPath(std::string_view path);
