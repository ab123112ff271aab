#include "converter/StagedRecording.h"

#include "converter/FileFailure.h"

StagedRecording::StagedRecording(const std::string& outputPath, const std::string& inputPath)
    : output_(outputPath, inputPath) {
    withOsReason(output_.path(), [&] { file_.open(output_.stagingPath(), ZflFile::Write); });
}

void StagedRecording::addTrack(const TrackInfo& info) {
    withOsReason(output_.path(), [&] { file_.addTrack(info); });
}

void StagedRecording::writeContData(const void* record) {
    withOsReason(output_.path(), [&] { file_.writeContData(record); });
}

void StagedRecording::writeDiscData(const void* record) {
    withOsReason(output_.path(), [&] { file_.writeDiscData(record); });
}

void StagedRecording::addMarker(const Marker& marker) {
    withOsReason(output_.path(), [&] { file_.addMarker(marker); });
}

void StagedRecording::commit() {
    withOsReason(output_.path(), [&] { file_.close(); });
    output_.commit();
}
