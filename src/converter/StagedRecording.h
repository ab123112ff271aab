#pragma once

#include <string>

#include "common/Marker.h"
#include "common/ZflFile.h"

// The recording an import writes. The recording layer stages it beside its output and gives it
// the output's name only when complete; a failure to write it is a ConversionError that names the
// output with the system's reason.
class StagedRecording {
public:
    // Opens the staged file; refuses an output that is the input.
    StagedRecording(const std::string& outputPath, const std::string& inputPath);

    void addTrack(const TrackInfo& info);
    void writeContData(const void* record);
    void writeDiscData(const void* record);
    void addMarker(const Marker& marker);
    // Completes the file and gives it the output's name.
    void commit();

private:
    std::string path_;
    ZflFile file_; // not committed, it is dropped with its staged name
};
