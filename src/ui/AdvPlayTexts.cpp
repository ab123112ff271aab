#include "ui/AdvPlayTexts.h"

#include <cstdio>

#include "common/Ticks.h"

namespace AdvPlayTexts {

namespace {

constexpr int kUnknownIcon = 5;

// One decimal, as the information text shows seconds.
std::string oneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

double seconds(uint32_t ticks) { return static_cast<double>(ticks) / kTicksPerSecond; }

const char* soundViews(uint32_t flags) {
    const bool inside = (flags & Marker::kInsideViews) != 0;
    const bool outside = (flags & Marker::kOutsideViews) != 0;
    if (inside && outside)
        return " (always)\n";
    if (inside)
        return " (inside views only)\n";
    return outside ? " (outside views only)\n" : " (never)\n";
}

// The types whose text is a comment rather than a file name or a text to show.
bool hasComment(uint32_t type) {
    return type == Marker::None || type == Marker::Pause || type == Marker::SwitchCamera;
}

void appendMarkerType(std::string& text, const Marker& marker) {
    switch (marker.type) {
    case Marker::None:
        text += (marker.flags & Marker::kChapter) != 0 ? "Chapter\n" : "None\n";
        break;
    case Marker::PlaySound:
        text += "Play Sound";
        text += soundViews(marker.flags);
        text += "Wave File: " + marker.text + "\n";
        break;
    case Marker::DisplayText:
        text += "Display Text";
        text += (marker.flags & Marker::kScrolling) != 0 ? " (scroll)\n" : " (static)\n";
        text += "Text: " + marker.text + "\n";
        text += "Display Time: " + std::to_string(marker.flags & Marker::kTextSeconds) + " sec\n";
        break;
    case Marker::Pause:
        text += "Pause\n";
        break;
    case Marker::SwitchCamera:
        text += "Switch Camera\n";
        break;
    default:
        text += "Unknown\n";
        break;
    }
}

} // namespace

std::string trackLabel(uint32_t index, const TrackInfo& info, bool copy) {
    return std::string(copy ? "(Copy) " : "") + "Track " + std::to_string(index + 1) + ": " + info.title;
}

std::string markerLabel(const Marker& marker) {
    if (!marker.text.empty())
        return marker.text;
    switch (marker.type) {
    case Marker::None:
        return "(Chapter)";
    case Marker::DisplayText:
        return "(Clear)";
    case Marker::Pause:
        return "(Pause)";
    case Marker::SwitchCamera:
        return "(Camera)";
    default:
        return {};
    }
}

int markerIcon(const Marker& marker) {
    return marker.type <= Marker::SwitchCamera ? static_cast<int>(marker.type) : kUnknownIcon;
}

std::string fileInfo(const std::string& path, uint32_t nTracks) {
    std::string text;
    text += "File: " + path + "\n";
    text += "Tracks: " + std::to_string(nTracks) + "\n";
    return text;
}

std::string trackInfo(const std::string& path, uint32_t index, const TrackInfo& info, uint32_t startTime,
                      uint32_t endTime) {
    std::string text;
    text += "File: " + path + "\n";
    text += "Track: " + std::to_string(index + 1) + "  " +
            (info.originalRecording != 0 ? "(Original User Recording)" : "") + "\n";
    text += std::string("Aircraft: ") + info.title + "\n";
    text += std::string("Tail Number: ") + info.tailNumber + "\n";
    text += "Time: " + oneDecimal(seconds(startTime)) + " - " + oneDecimal(seconds(endTime)) + " sec\n";
    return text;
}

std::string markerInfo(const std::string& path, const Marker& marker) {
    std::string text;
    text += "File: " + path + "\n";
    text += "Marker Type: ";
    appendMarkerType(text, marker);
    if (hasComment(marker.type))
        text += "Comment: " + marker.text + "\n";
    text += "Marker Time: " + oneDecimal(seconds(marker.time)) + " sec\n";
    return text;
}

} // namespace AdvPlayTexts
