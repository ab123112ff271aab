#include "settings/SettingFields.h"

#include <algorithm>
#include <charconv>

namespace {
// A value can hold no line break, so this default shows that the key is missing.
constexpr const char* kMissing = "\n";
// The settings readers look at no more of a float's text than this.
constexpr std::size_t kFloatTextRead = 31;
} // namespace

bool hasSettingKey(const std::string& file, const char* section, const char* key) {
    return profile::readString(file, section, key, kMissing) != kMissing;
}

double floatAsWritten(double value, int decimals) {
    const int precision = decimals < 0 ? 6 : std::min(decimals, 1074);
    std::string text(330 + static_cast<std::size_t>(precision), '\0');
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, precision);
    text.resize(std::min(static_cast<std::size_t>(written.ptr - text.data()), kFloatTextRead));
    double readBack = 0;
    std::from_chars(text.data(), text.data() + text.size(), readBack);
    return readBack;
}
