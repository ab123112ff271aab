#include "profile/ProfileValues.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <system_error>

#include "profile/Profile.h"
#include "profile/ProfileFile.h"

namespace profile {

namespace {

// atof's reading of a decimal number, without its dependence on the C locale's decimal point.
double parseDecimal(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(" \t\v\f\r\n"), text.size()));
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const auto digit = [&](std::size_t i) { return i < text.size() && text[i] >= '0' && text[i] <= '9'; };
    // Only decimal text: from_chars would also take "inf" and "nan".
    if (!digit(0) && !(text.size() > 1 && text[0] == '.' && digit(1)))
        return 0.0;
    double value = 0.0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc())
        return 0.0;
    return negative ? -value : value;
}

} // namespace

int32_t readInt(const std::string& file, const char* section, const char* key, int32_t def) {
    return static_cast<int32_t>(win::GetPrivateProfileIntA(section, key, def, file.c_str()));
}

bool readBool(const std::string& file, const char* section, const char* key, bool def) {
    return readInt(file, section, key, def ? 1 : 0) > 0;
}

double readFloat(const std::string& file, const char* section, const char* key, double def) {
    char text[32];
    const uint32_t n = win::GetPrivateProfileStringA(section, key, "", text, sizeof text, file.c_str());
    return n == 0 ? def : parseDecimal(std::string_view(text, n));
}

std::string readString(const std::string& file, const char* section, const char* key,
                       const std::string& def) {
    if (section == nullptr || key == nullptr)
        return def;
    const auto document = readDocument(file.c_str());
    const auto value = document ? document->value(section, key) : std::nullopt;
    return value ? std::string(*value) : def;
}

Guid readGuid(const std::string& file, const char* section, const char* key) {
    if (const auto guid = Guid::parse(readString(file, section, key, "")))
        return *guid;
    return Guid::create();
}

bool writeInt(const std::string& file, const char* section, const char* key, int32_t value) {
    return writeString(file, section, key, std::to_string(value));
}

bool writeBool(const std::string& file, const char* section, const char* key, bool value) {
    return writeString(file, section, key, value ? "1" : "0");
}

bool writeFloat(const std::string& file, const char* section, const char* key, double value, int decimals) {
    // Beyond 1074 decimals every double's expansion has ended, so nothing is lost by the cap.
    const int precision = decimals < 0 ? 6 : std::min(decimals, 1074);
    std::string text(330 + static_cast<std::size_t>(precision), '\0');
    const auto result =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, precision);
    text.resize(static_cast<std::size_t>(result.ptr - text.data()));
    return writeString(file, section, key, text);
}

bool writeString(const std::string& file, const char* section, const char* key, const std::string& value) {
    return key != nullptr && win::WritePrivateProfileStringA(section, key, value.c_str(), file.c_str());
}

bool writeGuid(const std::string& file, const char* section, const char* key, const Guid& value) {
    return writeString(file, section, key, value.toString());
}

bool deleteSection(const std::string& file, const char* section) {
    return win::WritePrivateProfileStringA(section, nullptr, nullptr, file.c_str());
}

} // namespace profile
