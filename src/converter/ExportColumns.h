#pragma once

#include <cstdint>

#include "common/FlightData.h"
#include "converter/TextLine.h"

// The columns of an exported track, group by group, in the order they appear on a line (which is
// not the order of the group bits).
namespace ExportColumns {

// The column titles of a track's groups, after "#Data: ".
void writeTitles(TextLine& line, const DataFormat& format);
// One data line's fields from a continuous record and the discrete state in force at it, without
// the line end.
void writeValues(TextLine& line, const DataFormat& format, const ContData& cont, const DiscData& disc,
                 bool altitudeInMeters);

} // namespace ExportColumns
