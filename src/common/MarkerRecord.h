#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "common/Marker.h"

// A marker as recording files store it after their tracks (docs/formats/zfl.md): a length, the
// time, type, flags and text, and for a camera switch the camera's id. The journal of a recording
// in progress keeps its markers the same way.
namespace MarkerRecord {

// The stored bytes; texts beyond 255 characters are cut.
std::string encode(const Marker& marker);

enum class Decoded { Whole, Cut, Damaged };

// The record at the start of `bytes` into `marker`, with the record's size; Cut when `bytes` end
// inside it, Damaged when its length does not cover its own fields.
Decoded decode(std::string_view bytes, Marker& marker, std::size_t& size);

} // namespace MarkerRecord
