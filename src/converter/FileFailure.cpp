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

ConversionError fileFailure(ErrorCode code, const std::string& path, int osError,
                            std::source_location where) {
    // The exception is made for its text only: the converter keeps no log, and throws its own error.
    const ZephrelException failure =
        ZephrelException::stopping(code, where.function_name(), where.line(), path);
    return ConversionError{failureMessage(failure, osError)};
}
