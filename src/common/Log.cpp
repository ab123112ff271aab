#include "common/Log.h"

#include <cstdio>
#include <ctime>
#include <filesystem>

#include "common/Version.h"

namespace {

constexpr const char* kLogFileName = "Zephrel.log";

// Process-wide, used only from the simulator's thread.
std::FILE* stream = nullptr;
uint32_t flags = Log::kDefaultFlags;
// Constructed on first use: the module's load hook sets it before the library's own global
// constructors have run.
std::string& folder() {
    static std::string path;
    return path;
}
// Whether the module has named its folder (an empty name is the current folder).
bool folderNamed = false;
bool reportedOpenFailure = false;

void writeHeader(std::FILE* f) {
    std::fprintf(f, "%s for %s Version %s %s (Built %s)\n", Version::kProduct, Version::kHost, Version::kNumber,
                 Version::kStage, Version::kBuildDate);
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::fprintf(f, "%02d.%02d.%04d %02d:%02d:%02d\n\n", local.tm_mday, local.tm_mon + 1, local.tm_year + 1900,
                 local.tm_hour, local.tm_min, local.tm_sec);
}

} // namespace

void Log::log(std::string_view message, uint32_t categoryMask, bool append) noexcept {
    if ((flags & categoryMask) == 0 || !folderNamed)
        return;
    try {
        if (stream == nullptr) {
            std::string path = filePath();
            stream = std::fopen(path.c_str(), append ? "a" : "w");
            if (stream == nullptr) {
                // Nowhere else to report it; say it once so a missing log is not a mystery.
                if (!reportedOpenFailure)
                    std::fprintf(stderr, "Zephrel: log file '%s' could not be opened\n", path.c_str());
                reportedOpenFailure = true;
                return;
            }
            writeHeader(stream);
        }
        std::fprintf(stream, "%.*s\n", static_cast<int>(message.size()), message.data());
        std::fflush(stream);
    } catch (...) {
        // Logging must never be the cause of a failure.
    }
}

void Log::setLogFlags(uint32_t mask) noexcept { flags = mask; }

uint32_t Log::logFlags() noexcept { return flags; }

void Log::closeLog() noexcept {
    if (stream != nullptr)
        std::fclose(stream);
    stream = nullptr;
    reportedOpenFailure = false;
}

void Log::setFolder(std::string newFolder) {
    folder() = std::move(newFolder);
    folderNamed = true;
}

std::string Log::filePath() {
    if (folder().empty())
        return kLogFileName;
    return (std::filesystem::path(folder()) / kLogFileName).string();
}
