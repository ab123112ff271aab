#pragma once

// What the module says it is, in the log header and the About box.
namespace Version {
constexpr const char* kProduct = "Zephrel";
constexpr const char* kHost = "FSX";
constexpr const char* kNumber = "2.17";
constexpr const char* kStage = "alpha";
constexpr const char* kBuildDate = "Aug 15 2011";
} // namespace Version
