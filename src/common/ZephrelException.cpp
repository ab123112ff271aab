#include "common/ZephrelException.h"

#include "common/Log.h"

namespace {

std::string concat(std::initializer_list<std::string_view> parts) {
    std::string s;
    for (std::string_view p : parts)
        s += p;
    return s;
}

struct Texts {
    std::string user;
    std::string logBody;
};

Texts textsFor(ErrorCode code, std::string_view d1, std::string_view d2) {
    switch (code) {
    case ErrorCode::InitializationFailed:
        return {"Initialization failed! Zephrel will not be available!", std::string(d1)};
    case ErrorCode::NotCompatible:
        return {"Zephrel is not compatible with your version of FS!", concat({"Unsupported FS version ", d1})};
    case ErrorCode::AircraftNotCreated:
        return {concat({"Could not create AI aicraft '", d1, "'!"}), concat({"Failed to create AI aicraft '", d1, "'"})};
    case ErrorCode::InvalidAircraftId:
        return {"Invalid aircraft ID!", "Invalid aircraft ID"};
    case ErrorCode::AllocationFailed:
        return {"Memory allocation failed!", "Memory allocation failed"};
    case ErrorCode::TempFileNotOpened:
        return {"Temp file could not be opened!", concat({"Temp file '", d1, "' could not be opened"})};
    case ErrorCode::TempFileWriteFailed:
        return {"Writing to temp file failed!", "Writing to temp file failed"};
    case ErrorCode::TempFileReadFailed:
        return {"Reading from temp file failed!", "Reading from temp file failed"};
    case ErrorCode::FileNotOpened:
        return {concat({"File ", d1, " could not be opened!"}), concat({"File ", d1, " could not be opened"})};
    case ErrorCode::FileReadFailed:
        return {concat({"Reading from file '", d1, "' failed!"}), concat({"Reading from file '", d1, "' failed"})};
    case ErrorCode::FileWriteFailed:
        return {concat({"Writing to file '", d1, "' failed!"}), concat({"Writing to file '", d1, "' failed"})};
    case ErrorCode::InvalidFile:
        return {concat({"The file '", d1, "' is damaged or uses an unsupported format!"}),
                concat({"Invalid ZFL file '", d1, "'"})};
    case ErrorCode::RenameFailed:
        return {concat({"The file '", d1, "' could not be renamed to '", d2, "'!"}),
                concat({"Failed to rename file '", d1, "' to '", d2, "'"})};
    case ErrorCode::VideoNotOpened:
        return {concat({"Video could not be opened: ", d1}), concat({"Failed to open video: ", d1})};
    case ErrorCode::WindowNotResized:
        return {"FS window could not be resized to output size, please choose a smaller video size!",
                "Failed to resize FS window to video size"};
    case ErrorCode::WindowResized:
        return {"Video rendering had to be stopped, because the FS window size changed!",
                "FS window resized during rendering"};
    case ErrorCode::Unexpected:
        break;
    }
    // Unexpected, and any value outside the table, is the general "should not happen" code.
    return {"An unexpected error occured!", std::string(d1)};
}

const char* prefixFor(uint32_t severity) {
    switch (severity) {
    case ZephrelException::Warning:
        return "Warning: ";
    case ZephrelException::Error:
    case ZephrelException::StopsRecordingAndPlayback:
        return "Error: ";
    case ZephrelException::DisablesModule:
        return "Critical Error: ";
    default:
        return "";
    }
}

} // namespace

ZephrelException::ZephrelException(ErrorCode code_, uint32_t severity_, std::string_view function_, uint32_t line_,
                                   std::string_view d1, std::string_view d2)
    : code(code_), severity(severity_), function(function_), line(line_) {
    Texts texts = textsFor(code, d1, d2);
    userText = std::move(texts.user);
    logText = concat({prefixFor(severity), texts.logBody, " [", function, ", line ", std::to_string(line), "]"});
    Log::log(logText, 1, false);
}

ZephrelException ZephrelException::stopping(ErrorCode code, std::string_view function, uint32_t line,
                                            std::string_view d1, std::string_view d2) {
    return ZephrelException(code, StopsRecordingAndPlayback, function, line, d1, d2);
}

ZephrelException ZephrelException::invalidCall(std::string_view function, uint32_t line) {
    return ZephrelException(ErrorCode::Unexpected, Warning, function, line, "Invalid call");
}
