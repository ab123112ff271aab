#pragma once

#include <ostream>

#include "tracks/TrackSet.h"

// The tracks written in the formats of other flight tools, each track read as it is written.

// GPX 1.1: a <trk> per track, named by its title, with one segment of points (lat, lon, <ele>,
// <time>). GPX has no place for the attitude.
void writeGpx(const TrackSet& tracks, std::ostream& out);
// KML 2.2: a Placemark per track, its path a <gx:Track> at absolute altitudes: its times, places
// and angles (heading, tilt nose up, roll right wing down), each list in turn as KML orders them.
void writeKml(const TrackSet& tracks, std::ostream& out);
// CSV with a header: a row per point of every track in turn, the track's number, aircraft title
// and registration first, then UTC time (ISO 8601), latitude, longitude, altitude in metres,
// pitch, roll and heading.
void writeCsv(const TrackSet& tracks, std::ostream& out);
// Tacview ACMI 2.1 text: every track an aircraft object (its title as Name, its tail number as
// Registration), their places merged in time into frames, relative to the earliest point's time.
void writeAcmi(const TrackSet& tracks, std::ostream& out);
