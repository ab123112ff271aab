#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// "Zephrel.log" in the module folder. Lines pass a category mask; the file is opened by the first
// line that passes, and that line alone decides between continuing and replacing an existing log.
// The converter keeps no log: there every call is a no-op.
class Log {
public:
    static constexpr uint32_t kDefaultFlags = 1;
    static constexpr uint32_t kAllCategories = 0xFFFFFFFFu;

#ifdef ZEPHREL_CONVERTER
    static void log(std::string_view, uint32_t, bool) noexcept {}
#else
    static void log(std::string_view message, uint32_t categoryMask, bool append) noexcept;
    static void setLogFlags(uint32_t mask) noexcept;
    static uint32_t logFlags() noexcept;
    static void closeLog() noexcept;

    // The folder that holds the module (and "Zephrel.ini"); set once at module load. Until then the
    // log goes to the current folder.
    static void setFolder(std::string folder);
    static std::string filePath();
#endif
};
