#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "common/ErrorCode.h"

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

    ZephrelException(ErrorCode code, uint32_t severity, std::string_view function, uint32_t line,
                     std::string_view d1 = {}, std::string_view d2 = {});

    // Failures of the recording-file layer (and every failure of the converter) stop recording
    // and playback.
    static ZephrelException stopping(ErrorCode code, std::string_view function, uint32_t line,
                                     std::string_view d1 = {}, std::string_view d2 = {});
    // An operation called in a state that forbids it: "Invalid call", only a warning.
    static ZephrelException invalidCall(std::string_view function, uint32_t line);

    const char* what() const noexcept override { return logText.c_str(); }

    ErrorCode code;
    uint32_t severity;
    std::string userText;
    std::string logText;
    std::string function;
    uint32_t line;
};
