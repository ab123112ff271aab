#pragma once

#include <optional>
#include <string>

#include "host/hostabi.h"

// A saved flight: the INI-format ".flt" file flight.dll writes and reads. [Main] holds the
// flight's title and description, [Sim.0] the user aircraft's title, [SimVars.0] where it is and
// how it flies, [DateTime] the simulator's date and time.
struct FlightFile {
    std::string title;
    std::string description;
    std::string aircraft;
    double latitude = 0;  // degrees
    double longitude = 0; // degrees
    double altitude = 0;  // feet above mean sea level
    double pitch = 0;     // degrees
    double bank = 0;      // degrees
    double heading = 0;   // degrees true
    bool onGround = false;
    double speed = 0; // knots true airspeed
    ZHostDateTime dateTime{};

    bool write(const std::string& path) const;
    // Nothing when the file cannot be read or lacks the aircraft or its position.
    static std::optional<FlightFile> read(const std::string& path);
};
