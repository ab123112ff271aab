#pragma once

#include <optional>
#include <string_view>

// A time as ISO 8601 writes it in GPX, KML and CSV files — "2014-03-29T22:50:22Z", with a
// fraction of a second ("...:22.250Z") or an offset ("...:22+02:00") — as UTC seconds since
// 1970; nullopt for anything else (a missing zone counts as UTC).
std::optional<double> parseIsoTime(std::string_view text);
