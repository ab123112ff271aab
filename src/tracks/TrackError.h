#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A track file that cannot be read, named with the line where it fails: "flight.igc:12: ...".
struct TrackError : std::runtime_error {
    TrackError(const std::string& file, uint64_t line, const std::string& what)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + what) {}
};
