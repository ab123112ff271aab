#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// A track file that cannot be read or written, named with the line where it fails
// ("flight.igc:12: ..."), or without one where the whole file is meant (line 0).
struct TrackError : std::runtime_error {
    TrackError(const std::string& file, uint64_t line, const std::string& what)
        : std::runtime_error(file + (line != 0 ? ":" + std::to_string(line) : std::string()) + ": " + what) {}
};
