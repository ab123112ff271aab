#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "Zephrel.log" in the module folder. Lines pass a category mask; the file is opened by the first
// line that passes, and that line alone decides between continuing and replacing an existing log.
// Nothing is logged until the module names its folder, so the converter, which never does, keeps
// no log.
class Log {
public:
    static constexpr uint32_t kDefaultFlags = 1;
    static constexpr uint32_t kAllCategories = 0xFFFFFFFFu;

    static void log(std::string_view message, uint32_t categoryMask, bool append) noexcept;
    static void setLogFlags(uint32_t mask) noexcept;
    static uint32_t logFlags() noexcept;
    static void closeLog() noexcept;

    // The folder that holds the module (and "Zephrel.ini"); set once at module load.
    static void setFolder(std::string folder);
    static std::string filePath();
};
