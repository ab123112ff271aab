#pragma once

#include <cstdint>
#include <string>

#include "common/Marker.h"
#include "common/ZflFile.h"

// What the advanced play dialog shows of a listed file, track or marker: the tree labels and the
// information text below the tree.
namespace AdvPlayTexts {

// "Track <number>: <title>", numbered from 1; a copy is prefixed "(Copy) ".
std::string trackLabel(uint32_t index, const TrackInfo& info, bool copy);
// The marker's text, or its type in parentheses when it has none.
std::string markerLabel(const Marker& marker);
// The marker's icon: its type 0 to 4, or 5 for an unknown type.
int markerIcon(const Marker& marker);

std::string fileInfo(const std::string& path, uint32_t nTracks);
// Times in 1/10000 s: the track's first and last continuous time stamp.
std::string trackInfo(const std::string& path, uint32_t index, const TrackInfo& info, uint32_t startTime,
                      uint32_t endTime);
std::string markerInfo(const std::string& path, const Marker& marker);

} // namespace AdvPlayTexts
