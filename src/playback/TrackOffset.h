#pragma once

#include "common/FlightData.h"
#include "playback/PlayList.h"

// Moves a played position by the track's offset: metres in the aircraft's frame (x right, y up,
// z forward), turned by those of its pitch, bank and heading the track asks for. Nothing changes
// when the offset is zero.
void applyTrackOffset(const PlayTrack& track, ContData& cont);
