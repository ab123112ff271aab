#include "tools/ZflInfo.h"

#include <array>
#include <cstdio>
#include <string>

#include "common/DataGroups.h"
#include "common/Marker.h"
#include "common/Ticks.h"
#include "common/ZflFile.h"

namespace {

std::string seconds(uint32_t timestamp) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(timestamp) / kTicksPerSecond);
    return text;
}

const char* markerTypeName(uint32_t type) {
    switch (type) {
    case Marker::None:
        return "none";
    case Marker::PlaySound:
        return "play sound";
    case Marker::DisplayText:
        return "display text";
    case Marker::Pause:
        return "pause";
    case Marker::SwitchCamera:
        return "switch camera";
    default:
        return "unknown";
    }
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", value);
    return text;
}

void printTrack(std::ostream& out, ZflFile& file, uint32_t track) {
    const TrackInfo& info = file.getTrackInfo(track);
    out << "  track " << track + 1 << ": \"" << info.title << "\"";
    if (info.tailNumber[0] != '\0')
        out << ", tail number " << info.tailNumber;
    out << ", " << unsigned{info.format.nEngines} << (info.format.nEngines == 1 ? " engine" : " engines") << "\n";

    out << "    data groups:";
    auto groups = containedDataGroups(info.format.ContFlags, info.format.DiscFlags);
    if (groups.empty())
        out << " none";
    for (std::size_t i = 0; i < groups.size(); ++i)
        out << (i == 0 ? " " : ", ") << groups[i].name;
    out << "\n";

    uint32_t contStart, contEnd, discStart, discEnd;
    file.getTimeRanges(track, contStart, contEnd, discStart, discEnd);
    out << "    continuous records: " << info.nCont;
    if (info.nCont > 0)
        out << ", " << seconds(contStart) << " to " << seconds(contEnd);
    out << "\n    discrete records: " << info.nDisc;
    if (info.nDisc > 0)
        out << ", " << seconds(discStart) << " to " << seconds(discEnd);
    out << "\n    digest: " << (info.originalRecording ? "verified (original recording)" : "not verified") << "\n";
}

// The camera id in its usual text form; the first three fields are stored little-endian.
std::string cameraIdText(const std::array<uint8_t, 16>& id) {
    char text[40];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", id[3],
                  id[2], id[1], id[0], id[5], id[4], id[7], id[6], id[8], id[9], id[10], id[11], id[12], id[13], id[14],
                  id[15]);
    return text;
}

void printMarker(std::ostream& out, const Marker& marker, uint32_t index) {
    out << "    marker " << index + 1 << ": " << seconds(marker.time) << ", " << markerTypeName(marker.type)
        << ", flags " << hex(marker.flags);
    if (marker.flags & Marker::kChapter)
        out << " (chapter)";
    if (!marker.text.empty())
        out << ", \"" << marker.text << "\"";
    if (marker.type == Marker::SwitchCamera)
        out << ", camera " << cameraIdText(marker.cameraId);
    out << "\n";
}

} // namespace

void printRecordingInfo(std::ostream& out, const std::string& path) {
    out << path << "\n";
    if (ZflFile::checkOldVersion(path)) {
        out << "  first-generation recording: convert it to the current format before inspecting it\n";
        return;
    }
    ZflFile file;
    file.open(path, ZflFile::Read);
    out << "  format version " << (file.version() >> 16) << "." << (file.version() & 0xffff) << "\n";
    out << "  tracks: " << file.getNTracks() << "\n";
    for (uint32_t t = 0; t < file.getNTracks(); ++t)
        printTrack(out, file, t);
    out << "  markers: " << file.getNMarkers() << "\n";
    for (uint32_t m = 0; m < file.getNMarkers(); ++m)
        printMarker(out, file.readMarker(m), m);
    file.close();
}
