#pragma once

#include <memory>
#include <string>

#include "profile/IniDocument.h"

namespace profile {

// Whole-file access for the profile functions. Each call looks at the file as it is on disk.
struct FileText {
    enum class State { Missing, Read, Unreadable };
    State state = State::Missing;
    std::string bytes;
};

// Missing also covers a path through a missing folder or through a regular file. A folder, a
// device or a file we may not read is Unreadable.
FileText readFile(const char* path);

// The file parsed; null for a NULL or empty name or a file readFile cannot read, which the profile
// reads treat alike. The parse is shared with later reads that find the file as it was (see
// DocumentCache), so a run of reads of one file costs one parse.
std::shared_ptr<const IniDocument> readDocument(const char* path);

// Writes the new contents to a temporary file beside the target and renames it over the target,
// so that the file holds either the old or the new text, never a part, even when the process
// dies. An existing file keeps its mode; a file we may not write, a missing folder or a folder we
// may not write fails with nothing created. A symbolic link is followed and its target replaced.
// The parse kept for path is dropped.
bool replaceFile(const char* path, const std::string& bytes);

} // namespace profile
