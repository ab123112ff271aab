#include "ZephrelException.h"

#include "Log.h"

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

Texts textsFor(uint32_t code, std::string_view d1, std::string_view d2) {
    switch (code) {
    case 0:
        return {"Initialization failed! Zephrel will not be available!", std::string(d1)};
    case 1:
        return {"Zephrel is not compatible with your version of FS!", concat({"Unsupported FS version ", d1})};
    case 2:
        return {concat({"Could not create AI aicraft '", d1, "'!"}), concat({"Failed to create AI aicraft '", d1, "'"})};
    case 3:
        return {"Invalid aircraft ID!", "Invalid aircraft ID"};
    case 4:
        return {"Memory allocation failed!", "Memory allocation failed"};
    case 5:
        return {"Temp file could not be opened!", concat({"Temp file '", d1, "' could not be opened"})};
    case 6:
        return {"Writing to temp file failed!", "Writing to temp file failed"};
    case 7:
        return {"Reading from temp file failed!", "Reading from temp file failed"};
    case 8:
        return {concat({"File ", d1, " could not be opened!"}), concat({"File ", d1, " could not be opened"})};
    case 9:
        return {concat({"Reading from file '", d1, "' failed!"}), concat({"Reading from file '", d1, "' failed"})};
    case 10:
        return {concat({"Writing to file '", d1, "' failed!"}), concat({"Writing to file '", d1, "' failed"})};
    case 11:
        return {concat({"The file '", d1, "' is damaged or uses an unsupported format!"}),
                concat({"Invalid ZFL file '", d1, "'"})};
    case 12:
        return {concat({"The file '", d1, "' could not be renamed to '", d2, "'!"}),
                concat({"Failed to rename file '", d1, "' to '", d2, "'"})};
    case 13:
        return {concat({"Video could not be opened: ", d1}), concat({"Failed to open video: ", d1})};
    case 14:
        return {"FS window could not be resized to output size, please choose a smaller video size!",
                "Failed to resize FS window to video size"};
    case 15:
        return {"Video rendering had to be stopped, because the FS window size changed!",
                "FS window resized during rendering"};
    default:
        // 16, and any code outside the table, is the general "should not happen" code.
        return {"An unexpected error occured!", std::string(d1)};
    }
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

#ifdef ZEPHREL_CONVERTER
ZephrelException::ZephrelException(uint32_t code_, std::string_view function_, uint32_t line_, std::string_view d1,
                                   std::string_view d2)
    : code(code_), severity(StopsRecordingAndPlayback), function(function_), line(line_) {
    fill(d1, d2);
}

ZephrelException ZephrelException::stopping(uint32_t code, std::string_view function, uint32_t line,
                                            std::string_view d1, std::string_view d2) {
    return ZephrelException(code, function, line, d1, d2);
}
#else
ZephrelException::ZephrelException(uint32_t code_, uint32_t severity_, std::string_view function_, uint32_t line_,
                                   std::string_view d1, std::string_view d2)
    : code(code_), severity(severity_), function(function_), line(line_) {
    fill(d1, d2);
    Log::log(logText, 1, false);
}

ZephrelException ZephrelException::stopping(uint32_t code, std::string_view function, uint32_t line,
                                            std::string_view d1, std::string_view d2) {
    return ZephrelException(code, StopsRecordingAndPlayback, function, line, d1, d2);
}
#endif

void ZephrelException::fill(std::string_view d1, std::string_view d2) {
    Texts texts = textsFor(code, d1, d2);
    userText = std::move(texts.user);
    logText = concat({prefixFor(severity), texts.logBody, " [", function, ", line ", std::to_string(line), "]"});
}
