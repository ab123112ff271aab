#pragma once

#include <string>
#include <vector>

#include "common/Marker.h"

// At the end of a playback: offers to save the markers set during it (those with the include
// flag) as a recording that holds no track, in a file the user chooses. The folder of the dialog
// is kept in the settings file. A file that cannot be written is reported and removed; nothing
// is thrown.
void offerToSaveNewMarkers(const std::vector<Marker>& markers, const std::string& settingsFile);
