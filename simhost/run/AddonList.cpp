#include "run/AddonList.h"

#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "text/AsciiCase.h"

namespace {

std::string_view trimmed(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool isTrue(const pugi::xml_node& addon, const char* element) {
    const std::string_view value = trimmed(addon.child_value(element));
    return equalsIgnoringCase(value, "true");
}

// The original's paths use backslashes; a path that does not start at the file system's root is
// taken in the simulator's folder. The result always has a folder part, so that dlopen never
// searches the library path for it.
std::string modulePath(std::string_view written, const std::string& root) {
    std::string path(written);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (path.front() == '/')
        return path;
    return (std::filesystem::path(root.empty() ? "." : root) / path).string();
}

} // namespace

std::string AddonList::dllXmlPath(const std::string& appdata) {
    return (std::filesystem::path(appdata) / "Microsoft" / "FSX" / "dll.xml").string();
}

AddonList AddonList::read(const std::string& dllXmlPath, const std::string& root) {
    AddonList list;
    std::error_code error;
    if (!std::filesystem::exists(dllXmlPath, error))
        return list;
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_file(dllXmlPath.c_str());
    if (!parsed) {
        list.errors.push_back(dllXmlPath + ": " + parsed.description() + " at byte " +
                              std::to_string(parsed.offset) + "; no add-ons loaded");
        return list;
    }
    const pugi::xml_node launch = document.child("SimBase.Document");
    if (!launch) {
        list.errors.push_back(dllXmlPath + ": no SimBase.Document element; no add-ons loaded");
        return list;
    }
    for (const pugi::xml_node& addon : launch.children("Launch.Addon")) {
        if (isTrue(addon, "Disabled") || isTrue(addon, "ManualLoad"))
            continue;
        const std::string name(trimmed(addon.child_value("Name")));
        const std::string_view path = trimmed(addon.child_value("Path"));
        if (path.empty())
            list.errors.push_back("add-on \"" + name + "\" in " + dllXmlPath + " has no Path");
        else
            list.entries.push_back(Entry{name, modulePath(path, root)});
    }
    return list;
}
