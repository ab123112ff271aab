#pragma once

#include <string>

#include "common/Marker.h"
#include "common/ZflFile.h"
#include "converter/StagedOutput.h"

// The recording an import writes, staged beside its output (see StagedOutput). A failure to write
// it is a ConversionError that names the output as the user gave it, with the system's reason.
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
    StagedOutput output_; // declared first: the file is closed before its staged name goes
    ZflFile file_;
};
