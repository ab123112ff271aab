#include "profile/Profile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "profile/IniDocument.h"
#include "profile/ProfileFile.h"

namespace win {

namespace {

uint32_t copyText(std::string_view text, char* buffer, uint32_t size) {
    const auto n = static_cast<uint32_t>(std::min<std::size_t>(text.size(), size - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    return n;
}

uint32_t copyList(const std::vector<std::string>& names, char* buffer, uint32_t size) {
    std::string list;
    for (const std::string& name : names)
        list.append(name).push_back('\0');
    if (list.empty() || size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    // As in the original, a list that would fill the buffer exactly counts as cut.
    if (list.size() + 1 < size)
        return copyText(list, buffer, size);
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
}

bool hasLineBreak(const char* text) {
    return text != nullptr && std::strpbrk(text, "\r\n") != nullptr;
}

} // namespace

uint32_t GetPrivateProfileIntA(const char* section, const char* key, int32_t defaultValue, const char* file) {
    const auto fallback = static_cast<uint32_t>(defaultValue);
    if (section == nullptr || key == nullptr)
        return fallback;
    const auto document = profile::readDocument(file);
    const auto text = document ? document->value(section, key) : std::nullopt;
    if (!text || text->empty())
        return fallback;
    std::size_t i = text->find_first_not_of(" \t\v");
    if (i == std::string_view::npos)
        return 0;
    const bool negative = (*text)[i] == '-';
    if (negative || (*text)[i] == '+')
        ++i;
    uint32_t value = 0;
    for (; i < text->size() && (*text)[i] >= '0' && (*text)[i] <= '9'; ++i)
        value = value * 10 + static_cast<uint32_t>((*text)[i] - '0'); // wraps, as the original does
    return negative ? 0u - value : value;
}

uint32_t GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                                  char* buffer, uint32_t size, const char* file) {
    if (buffer == nullptr || size == 0)
        return 0;
    const auto document = profile::readDocument(file);
    if (section == nullptr)
        return copyList(document ? document->sectionNames() : std::vector<std::string>{}, buffer, size);
    if (key == nullptr)
        return copyList(document ? document->keyNames(section) : std::vector<std::string>{}, buffer, size);
    if (const auto value = document ? document->value(section, key) : std::nullopt)
        return copyText(*value, buffer, size);
    std::string_view fallback = defaultValue != nullptr ? defaultValue : "";
    fallback = fallback.substr(0, fallback.find_last_not_of(' ') + 1);
    return copyText(fallback, buffer, size);
}

bool WritePrivateProfileStringA(const char* section, const char* key, const char* value, const char* file) {
    // A line break would let a name or value turn into lines of their own.
    if (file == nullptr || *file == '\0' || section == nullptr || hasLineBreak(section) ||
        hasLineBreak(key) || hasLineBreak(value))
        return false;
    profile::FileText text = profile::readFile(file);
    if (text.state == profile::FileText::State::Unreadable)
        return false;
    profile::IniDocument document(std::move(text.bytes));
    const std::string before = document.bytes();
    if (key == nullptr)
        document.removeSection(section);
    else if (value == nullptr)
        document.removeKey(section, key);
    else
        document.setValue(section, key, value);
    // Nothing to change, nothing written: deleting from a missing file creates no empty file.
    if (document.bytes() == before)
        return true;
    return profile::replaceFile(file, document.bytes());
}

} // namespace win
