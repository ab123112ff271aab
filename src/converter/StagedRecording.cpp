#include "converter/StagedRecording.h"

#include "converter/FileFailure.h"
#include "converter/InputOverwrite.h"

StagedRecording::StagedRecording(const std::string& outputPath, const std::string& inputPath) : path_(outputPath) {
    refuseToOverwriteInput(inputPath, path_);
    withOsReason(path_, [&] { file_.open(path_, ZflFile::Write); });
}

void StagedRecording::addTrack(const TrackInfo& info) {
    withOsReason(path_, [&] { file_.addTrack(info); });
}

void StagedRecording::writeContData(const void* record) {
    withOsReason(path_, [&] { file_.writeContData(record); });
}

void StagedRecording::writeDiscData(const void* record) {
    withOsReason(path_, [&] { file_.writeDiscData(record); });
}

void StagedRecording::addMarker(const Marker& marker) {
    withOsReason(path_, [&] { file_.addMarker(marker); });
}

void StagedRecording::commit() {
    withOsReason(path_, [&] { file_.close(); });
}
