#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "recording/RecordingJournal.h"

// The temporary files of a recording that did not end — the simulator crashed, or the recording
// could not be saved — kept under a name of their own ("ZephrelInterrupted-N") in the temporary
// folder, where no new recording writes, until the user saves them as a recording or lets them go.
namespace InterruptedRecording {

// Moves the journal and the temporary files of the recording under `baseName` aside when its
// journal is there (the recording did not end); returns their new base name, or nothing.
std::optional<std::string> setAside(const std::string& baseName);

// The base names of the interrupted recordings kept in `folder`, in the order they were kept.
std::vector<std::string> findAll(const std::string& folder);

struct Summary {
    uint32_t aircraft = 0;
    uint32_t minutes = 0; // from the earliest to the latest record, rounded
    std::optional<RecordingDate> began;

    // "3 aircraft, 12 minutes, from 2011-08-15 14:05"
    std::string description() const;
    // "An interrupted recording was found (3 aircraft, 12 minutes, from 2011-08-15 14:05). Save it?"
    std::string question() const;
};
// Throws the temporary files' failures when they cannot be read.
Summary summarize(const std::string& baseName);

// Writes a recording of everything the files hold, with the markers of the journal, and lets the
// files go. On a failure nothing of it is written and the files are kept.
void save(const std::string& baseName, const std::string& fileName);
// Deletes the journal and the temporary files.
void discard(const std::string& baseName);

} // namespace InterruptedRecording
