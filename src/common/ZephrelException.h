#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

// The one exception type of the module and the converter. Its code selects a fixed pair of texts
// (one for the user, one for the log); making one writes the log text at once, so every failure
// is in the log whether or not anyone catches it.
class ZephrelException : public std::exception {
public:
    enum Severity : uint32_t {
        Warning = 0,
        Error = 1,
        StopsRecordingAndPlayback = 2,
        DisablesModule = 3,
    };

    static constexpr uint32_t kCodeCount = 17;
    static constexpr uint32_t kUnexpected = 16;

#ifdef ZEPHREL_CONVERTER
    // The converter's errors always stop the conversion: no severity to choose, no log file.
    ZephrelException(uint32_t code, std::string_view function, uint32_t line, std::string_view d1 = {},
                     std::string_view d2 = {});
#else
    ZephrelException(uint32_t code, uint32_t severity, std::string_view function, uint32_t line,
                     std::string_view d1 = {}, std::string_view d2 = {});
#endif

    // Failures of the recording-file layer always stop recording and playback; this builds one
    // in either variant of the layer.
    static ZephrelException stopping(uint32_t code, std::string_view function, uint32_t line,
                                     std::string_view d1 = {}, std::string_view d2 = {});

    const char* what() const noexcept override { return logText.c_str(); }

    uint32_t code;
    uint32_t severity;
    std::string userText;
    std::string logText;
    std::string function;
    uint32_t line;

private:
    void fill(std::string_view d1, std::string_view d2);
};
