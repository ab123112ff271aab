#pragma once

#include <string>
#include <vector>

// An aircraft installed in the simulator, as its aircraft.cfg describes it.
struct InstalledAircraft {
    std::string title;
    std::string manufacturer; // ui_manufacturer
    std::string type;         // ui_type
    std::string variation;    // ui_variation
};

// The aircraft installed under `root`: for each folder of "SimObjects/Airplanes" (in name
// order, hidden folders skipped) the sections "fltsim.0" .. "fltsim.99" of its "aircraft.cfg", up
// to the first without a title. Returns the number of entries.
std::size_t getAircraftList(const std::string& root, std::vector<InstalledAircraft>& list);
