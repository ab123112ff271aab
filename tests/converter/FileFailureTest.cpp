#include <gtest/gtest.h>

#include <cerrno>
#include <optional>
#include <string>

#include "ConverterTestKit.h"
#include "converter/FileFailure.h"

namespace {

// A file failure of the recording layer is told by its own text, its code and the errno the
// failing operation left; one from before the operation is no reason, and a misuse is unexpected.
TEST(FileFailureTest, ARecordingFailureIsToldWithItsCodeAndTheOperationsOwnReason) {
    const struct {
        ErrorCode code;
        int errnoBefore, errnoOfOperation; // 0: the operation leaves errno alone
        std::string message;
    } cases[] = {
        {ErrorCode::FileWriteFailed, 0, ENOSPC,
         "Writing to file 'out.zfl' failed! (error 10: No space left on device)"},
        {ErrorCode::FileNotOpened, ENOENT, EACCES,
         "File out.zfl could not be opened! (error 8: Permission denied)"},
        {ErrorCode::FileWriteFailed, ENOSPC, 0, "Writing to file 'out.zfl' failed! (error 10)"},
        {ErrorCode::InvalidFile, EINVAL, 0,
         "The file 'out.zfl' is damaged or uses an unsupported format! (error 11)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        errno = c.errnoBefore;
        // The recording layer works on the staged name; the user is told the output's.
        const auto failing = [&] {
            if (c.errnoOfOperation != 0)
                errno = c.errnoOfOperation;
            throw ZephrelException::stopping(c.code, "test", __LINE__, "out.zfl.part");
        };
        EXPECT_EQ(convtest::conversionMessage([&] { withOsReason("out.zfl", failing); }), c.message);
        const ZephrelException direct = ZephrelException::stopping(c.code, "test", __LINE__, "out.zfl");
        EXPECT_EQ(failureMessage(direct, c.errnoOfOperation), c.message);
    }

    const ZephrelException misuse =
        ZephrelException::stopping(ErrorCode::Unexpected, "test", __LINE__, "misuse");
    EXPECT_EQ(failureMessage(misuse, ENOSPC), "An unexpected error occurred!");
    try {
        withOsReason("out.zfl", [&] { throw misuse; });
        ADD_FAILURE() << "the misuse was swallowed";
    } catch (const ZephrelException& e) {
        EXPECT_EQ(e.code, ErrorCode::Unexpected);
        EXPECT_EQ(e.logText, misuse.logText);
    }
}

} // namespace
