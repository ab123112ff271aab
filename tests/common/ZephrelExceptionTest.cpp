#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <utility>

#include "common/ZephrelException.h"
#include "support/Errors.h"
#include "support/TempLog.h"

namespace {

// Every exception writes to the process-wide log, which the fixture keeps in a private folder.
using ZephrelExceptionTest = TempLogTest;

struct CodeTexts {
    uint32_t code;
    const char* userText;
    const char* logBody;
};

// The table by number, as the codes are numbered outside the program. D1 = "<D1>", D2 = "<D2>":
// distinct markers show exactly where each detail lands.
const CodeTexts kCodeTable[] = {
    {0, "Initialization failed! Zephrel will not be available!", "<D1>"},
    {1, "Zephrel is not compatible with your version of FS!", "Unsupported FS version <D1>"},
    {2, "Could not create AI aicraft '<D1>'!", "Failed to create AI aicraft '<D1>'"},
    {3, "Invalid aircraft ID!", "Invalid aircraft ID"},
    {4, "Memory allocation failed!", "Memory allocation failed"},
    {5, "Temp file could not be opened!", "Temp file '<D1>' could not be opened"},
    {6, "Writing to temp file failed!", "Writing to temp file failed"},
    {7, "Reading from temp file failed!", "Reading from temp file failed"},
    {8, "File <D1> could not be opened!", "File <D1> could not be opened"},
    {9, "Reading from file '<D1>' failed!", "Reading from file '<D1>' failed"},
    {10, "Writing to file '<D1>' failed!", "Writing to file '<D1>' failed"},
    {11, "The file '<D1>' is damaged or uses an unsupported format!", "Invalid ZFL file '<D1>'"},
    {12, "The file '<D1>' could not be renamed to '<D2>'!", "Failed to rename file '<D1>' to '<D2>'"},
    {13, "Video could not be opened: <D1>", "Failed to open video: <D1>"},
    {14, "FS window could not be resized to output size, please choose a smaller video size!",
     "Failed to resize FS window to video size"},
    {15, "Video rendering had to be stopped, because the FS window size changed!", "FS window resized during rendering"},
    {16, "An unexpected error occured!", "<D1>"},
};

TEST_F(ZephrelExceptionTest, EveryCodeBuildsItsUserTextAndLogBodyFromTheDetails) {
    static_assert(std::size(kCodeTable) == kErrorCodeCount);
    for (const CodeTexts& row : kCodeTable) {
        SCOPED_TRACE("code " + std::to_string(row.code));
        ZephrelException e(static_cast<ErrorCode>(row.code), ZephrelException::Warning, "Class::method", 42, "<D1>",
                           "<D2>");
        EXPECT_EQ(row.code, static_cast<uint32_t>(e.code));
        EXPECT_EQ(row.userText, e.userText);
        EXPECT_EQ(std::string("Warning: ") + row.logBody + " [Class::method, line 42]", e.logText);
        EXPECT_EQ(e.logText, e.what());
    }
}

TEST_F(ZephrelExceptionTest, LogTextPrefixDependsOnSeverityAndTheUserNeverSeesIt) {
    const std::pair<uint32_t, const char*> cases[] = {{0, "Warning: "}, {1, "Error: "}, {2, "Error: "},
                                                      {3, "Critical Error: "}, {4, ""}, {99, ""}};
    for (const auto& [severity, prefix] : cases) {
        SCOPED_TRACE("severity " + std::to_string(severity));
        ZephrelException e(ErrorCode::Unexpected, severity, "ZflFile::getNTracks", 318, "File not opened");
        EXPECT_EQ(severity, e.severity);
        EXPECT_EQ(std::string(prefix) + "File not opened [ZflFile::getNTracks, line 318]", e.logText);
        EXPECT_EQ("An unexpected error occured!", e.userText);
    }
}

TEST_F(ZephrelExceptionTest, KeepsFunctionAndLineAndLeavesMissingDetailsEmpty) {
    for (uint32_t line : {0u, 9u, 10u, 65536u, std::numeric_limits<uint32_t>::max()}) {
        ZephrelException e(ErrorCode::RenameFailed, ZephrelException::Error, "Aircraft::find", line);
        EXPECT_EQ("Aircraft::find", e.function);
        EXPECT_EQ(line, e.line);
        EXPECT_EQ("The file '' could not be renamed to ''!", e.userText);
        EXPECT_EQ("Error: Failed to rename file '' to '' [Aircraft::find, line " + std::to_string(line) + "]",
                  e.logText);
    }
}

// Making one logs it once, whether or not it is caught; copies carry every field and are not
// logged again.
TEST_F(ZephrelExceptionTest, MakingOneLogsItOnceAndCopiesAreNotLoggedAgain) {
    try {
        ZephrelException original(ErrorCode::FileWriteFailed, ZephrelException::DisablesModule, "ZflFile::close", 77,
                                  "out.zfl");
        ZephrelException copy = original;
        EXPECT_EQ(ErrorCode::FileWriteFailed, copy.code);
        EXPECT_EQ(3u, copy.severity);
        EXPECT_EQ("Writing to file 'out.zfl' failed!", copy.userText);
        EXPECT_EQ("ZflFile::close", copy.function);
        EXPECT_EQ(77u, copy.line);
        throw copy;
    } catch (const ZephrelException& caught) {
        EXPECT_EQ("Critical Error: Writing to file 'out.zfl' failed [ZflFile::close, line 77]", caught.logText);
    }
    try {
        throw ZephrelException(ErrorCode::TempFileNotOpened, ZephrelException::StopsRecordingAndPlayback, "TempFile::open",
                               33, "t.tmp");
    } catch (...) {
        // Deliberately not looked at.
    }
    const std::string log = logText();
    EXPECT_EQ(1u, occurrences(log, "Critical Error: Writing to file 'out.zfl' failed [ZflFile::close, line 77]\n"));
    EXPECT_EQ(1u, occurrences(log, "Error: Temp file 't.tmp' could not be opened [TempFile::open, line 33]\n"));
}

TEST_F(ZephrelExceptionTest, LogLineObeysTheCategoryMask) {
    Log::setLogFlags(2); // excludes category 1
    ZephrelException(ErrorCode::AllocationFailed, ZephrelException::Error, "Buffer::grow", 5);
    EXPECT_FALSE(std::filesystem::exists(logPath()));
}

TEST_F(ZephrelExceptionTest, StoppingErrorsAndRefusedCallsAreBuiltAndLoggedAlike) {
    const ZephrelException stopping =
        ZephrelException::stopping(ErrorCode::Unexpected, "DataBuffer::getContData", 61, "Buffer pointer is NULL");
    EXPECT_EQ(ErrorCode::Unexpected, stopping.code);
    EXPECT_EQ(static_cast<uint32_t>(ZephrelException::StopsRecordingAndPlayback), stopping.severity);
    EXPECT_EQ("An unexpected error occured!", stopping.userText);
    EXPECT_EQ("Error: Buffer pointer is NULL [DataBuffer::getContData, line 61]", stopping.logText);

    const ZephrelException refused = ZephrelException::invalidCall("Player::stop", 12);
    EXPECT_EQ(ErrorCode::Unexpected, refused.code);
    EXPECT_EQ(static_cast<uint32_t>(ZephrelException::Warning), refused.severity);
    EXPECT_EQ("An unexpected error occured!", refused.userText);
    EXPECT_EQ("Warning: Invalid call [Player::stop, line 12]", refused.logText);

    EXPECT_EQ(1u, occurrences(logText(), stopping.logText + "\n"));
    EXPECT_EQ(1u, occurrences(logText(), refused.logText + "\n"));
}

} // namespace
