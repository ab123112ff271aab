#pragma once

#include <cstdint>
#include <string>

class Simulator;

// flight.dll's save and load of the simulator's flight, as add-ons and the user alike ask for
// them. Both report to add-ons at once (system events 38 and 40) and answer 0 on success.
namespace Flights {

// Writes `path` + ".flt"; the report carries the path as given.
int32_t save(Simulator& simulator, const std::string& path, const std::string& title,
             const std::string& description);
// Reads the flight file at `path`: its aircraft becomes the user aircraft when it is another one
// (reported at the next frame, as every change of the user aircraft), placed as saved, and the
// date and time are set. Non-zero when the file cannot be read.
int32_t load(Simulator& simulator, const std::string& path);

} // namespace Flights
