// Fuzzes the profile (INI) functions: the input is written as <folder>/in.ini and read the way the
// settings are read: the section list, the key list of the first sections, each listed key as
// text (with a large and a tiny buffer) and as an integer. Then a listed key is set, deleted and
// its section deleted, and a new section is added and deleted again; each must read back as
// written, and adding and removing the new section must leave the input's bytes as they were.

#include <strings.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "profile/Profile.h"

namespace {

std::filesystem::path folder;
std::string path;

constexpr uint32_t kBufferSize = 1 << 16;
constexpr std::size_t kMaxNames = 8;
constexpr const char* kNewSection = "Zephrel Fuzz Section";

void removeFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "inconsistent: %s\n", what);
        std::abort();
    }
}

std::string contents() {
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            text.append(chunk, n);
        std::fclose(f);
    }
    return text;
}

std::string get(const char* section, const char* key, uint32_t size = kBufferSize) {
    std::vector<char> buffer(size);
    const uint32_t n =
        win::GetPrivateProfileStringA(section, key, "<default>", buffer.data(), size, path.c_str());
    require(n < size, "returned length beyond the buffer");
    require(buffer[n] == '\0', "text not terminated");
    return std::string(buffer.data(), n);
}

// A NUL-separated list, checked for its double-NUL end at every buffer size that cuts it.
std::vector<std::string> list(const char* section) {
    const std::string all = get(section, nullptr);
    std::vector<std::string> names;
    for (std::size_t at = 0; at < all.size();) {
        const std::size_t end = all.find('\0', at);
        require(end != std::string::npos && end > at, "list entry empty or not terminated");
        names.push_back(all.substr(at, end - at));
        at = end + 1;
    }
    for (uint32_t size = 2; size < 6 && size <= all.size() + 1; ++size) {
        std::vector<char> buffer(size, 'x');
        const uint32_t n =
            win::GetPrivateProfileStringA(section, nullptr, "", buffer.data(), size, path.c_str());
        require(n == size - 2 && buffer[n] == '\0' && buffer[n + 1] == '\0',
                "cut list not double-NUL terminated");
        require(std::memcmp(buffer.data(), all.data(), n) == 0, "cut list differs from the full one");
    }
    return names;
}

void readEverything(const std::vector<std::string>& sections) {
    for (std::size_t s = 0; s < sections.size() && s < kMaxNames; ++s) {
        const char* section = sections[s].c_str();
        const std::vector<std::string> keys = list(section);
        for (std::size_t k = 0; k < keys.size() && k < kMaxNames; ++k) {
            const char* key = keys[k].c_str();
            const std::string full = get(section, key);
            require(get(section, key, 4) == full.substr(0, 3), "a short buffer does not get the start");
            win::GetPrivateProfileIntA(section, key, -7, path.c_str());
        }
    }
}

void editAndReadBack(const std::vector<std::string>& sections) {
    const std::string section = sections.empty() ? "Section" : sections.front();
    const std::vector<std::string> keys = list(section.c_str());
    const std::string key = keys.empty() ? "Key" : keys.front();

    require(win::WritePrivateProfileStringA(section.c_str(), key.c_str(), "fuzz value", path.c_str()),
            "set failed");
    require(get(section.c_str(), key.c_str()) == "fuzz value", "set value does not read back");
    require(win::WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, path.c_str()),
            "delete key failed");
    require(get(section.c_str(), key.c_str()) == "<default>", "deleted key still reads");
    require(win::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, path.c_str()),
            "delete section failed");
    require(list(section.c_str()).empty(), "deleted section still has keys");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = std::filesystem::temp_directory_path() / ("zephrel-fuzz-profile-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    path = (folder / "in.ini").string();
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    require(f != nullptr && std::fwrite(input.data(), 1, input.size(), f) == input.size() &&
                std::fclose(f) == 0,
            "cannot write the input");

    const std::vector<std::string> sections = list(nullptr);
    readEverything(sections);

    // A section the input does not have goes at the end and takes nothing else with it.
    bool present = false;
    for (const std::string& name : sections)
        present = present || strcasecmp(name.c_str(), kNewSection) == 0;
    if (!present) {
        require(win::WritePrivateProfileStringA(kNewSection, "k", "v", path.c_str()),
                "adding a section failed");
        const std::string added = contents();
        require(added.compare(0, input.size(), input) == 0, "adding a section changed the input's bytes");
        require(get(kNewSection, "k") == "v", "added section does not read back");
        require(win::WritePrivateProfileStringA(kNewSection, nullptr, nullptr, path.c_str()),
                "delete failed");
        const std::string removed = contents();
        require(removed.size() <= input.size() + 2 && removed.compare(0, input.size(), input) == 0,
                "removing the added section changed the input's bytes");
    }

    editAndReadBack(sections);

    // Every write replaced the file; no temporary file may stay behind.
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        require(entry.path() == path, "a temporary file was left behind");
    std::remove(path.c_str());
    return 0;
}
