#pragma once

#include <cerrno>
#include <string>

#include "common/ErrorCode.h"
#include "common/ZephrelException.h"
#include "converter/ConversionError.h"

// Shown for what should not happen: a failure that is neither a ConversionError nor one of the
// recording layer's file errors.
inline constexpr const char* kUnexpectedMessage = "An unexpected error occurred!";

// A file's failure as the converter tells it: the recording layer's own text, its code and, when
// the operating system gave one, the system's reason:
//   The file 'a.zfl' is damaged or uses an unsupported format! (error 11)
//   Writing to file 'out.zfl' failed! (error 10: No space left on device)
// ErrorCode::Unexpected is kUnexpectedMessage.
std::string failureMessage(const ZephrelException& failure, int osError = 0);

// The failure of a file the converter handles itself, in the recording layer's words. `path` is
// the file as the user named it; `osError` the errno of the failed call, 0 for none.
ConversionError fileFailure(ErrorCode code, const std::string& path, int osError);

// Runs an operation of the recording layer on the file the user knows as `path` (it may work on a
// staged name) and turns its file errors into fileFailure, with the errno the operation left.
template <typename Operation> void withOsReason(const std::string& path, Operation&& operation) {
    errno = 0; // an error code from before the operation is no reason for its failure
    try {
        operation();
    } catch (const ZephrelException& failure) {
        const int osError = errno;
        if (failure.code == ErrorCode::Unexpected)
            throw;
        throw fileFailure(failure.code, path, osError);
    }
}
