#include "converter/FileFailure.h"

#include <system_error>

std::string failureMessage(const ZephrelException& failure, int osError) {
    if (failure.code == ErrorCode::Unexpected)
        return kUnexpectedMessage;
    std::string message = failure.userText + " (error " + std::to_string(static_cast<uint32_t>(failure.code));
    if (osError != 0)
        message += ": " + std::generic_category().message(osError);
    return message + ")";
}

ConversionError fileFailure(ErrorCode code, const std::string& path, int osError) {
    // The exception is made for its text only: the converter keeps no log (where it was made would
    // go there), and throws its own error.
    const ZephrelException failure = ZephrelException::stopping(code, "ZflConverter", 0, path);
    return ConversionError{failureMessage(failure, osError)};
}
