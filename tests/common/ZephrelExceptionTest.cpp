#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "Log.h"
#include "TempDir.h"
#include "ZephrelException.h"

namespace {

// Every exception writes to the process-wide log; these tests point it at a private folder and
// put it back afterwards so that other suites in this binary see the log as they left it.
class ZephrelExceptionTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedFolder_ = std::filesystem::path(Log::filePath()).parent_path().string();
        Log::closeLog();
        Log::setLogFlags(1);
        Log::setFolder(dir_.path().string());
    }
    void TearDown() override {
        Log::closeLog();
        Log::setFolder(savedFolder_);
        Log::setLogFlags(1);
    }

    // The log so far; closing makes sure everything written is on disk.
    std::string logContents() {
        Log::closeLog();
        std::vector<unsigned char> bytes = readBytes(Log::filePath());
        return {bytes.begin(), bytes.end()};
    }

    static std::size_t occurrences(const std::string& haystack, const std::string& needle) {
        std::size_t count = 0;
        for (std::size_t pos = haystack.find(needle); pos != std::string::npos; pos = haystack.find(needle, pos + 1))
            ++count;
        return count;
    }

    TempDir dir_;
    std::string savedFolder_;
};

struct CodeTexts {
    uint32_t code;
    const char* userText;
    const char* logBody;
};

// D1 = "<D1>", D2 = "<D2>": distinct markers show exactly where each detail lands.
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
    static_assert(std::size(kCodeTable) == ZephrelException::kCodeCount);
    for (const CodeTexts& row : kCodeTable) {
        SCOPED_TRACE("code " + std::to_string(row.code));
        ZephrelException e(row.code, ZephrelException::Warning, "Class::method", 42, "<D1>", "<D2>");
        EXPECT_EQ(e.code, row.code);
        EXPECT_EQ(e.userText, row.userText);
        EXPECT_EQ(e.logText, std::string("Warning: ") + row.logBody + " [Class::method, line 42]");
    }
}

TEST_F(ZephrelExceptionTest, RenameErrorNamesBothFiles) {
    ZephrelException e(12, ZephrelException::Error, "ZflFile::rename", 7, "a.zfl", "b.zfl");
    EXPECT_EQ(e.userText, "The file 'a.zfl' could not be renamed to 'b.zfl'!");
    EXPECT_EQ(e.logText, "Error: Failed to rename file 'a.zfl' to 'b.zfl' [ZflFile::rename, line 7]");
}

TEST_F(ZephrelExceptionTest, LogTextPrefixDependsOnSeverity) {
    struct Case {
        uint32_t severity;
        const char* prefix;
    };
    const Case cases[] = {
        {0, "Warning: "}, {1, "Error: "}, {2, "Error: "}, {3, "Critical Error: "}, {4, ""}, {99, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("severity " + std::to_string(c.severity));
        ZephrelException e(16, c.severity, "ZflFile::getNTracks", 318, "File not opened");
        EXPECT_EQ(e.severity, c.severity);
        EXPECT_EQ(e.logText, std::string(c.prefix) + "File not opened [ZflFile::getNTracks, line 318]");
        // The user never sees the prefix.
        EXPECT_EQ(e.userText, "An unexpected error occured!");
    }
}

TEST_F(ZephrelExceptionTest, KeepsFunctionAndPrintsLineInFullDecimal) {
    const uint32_t lines[] = {0, 9, 10, 65536, std::numeric_limits<uint32_t>::max()};
    for (uint32_t line : lines) {
        ZephrelException e(3, ZephrelException::Error, "Aircraft::find", line);
        EXPECT_EQ(e.function, "Aircraft::find");
        EXPECT_EQ(e.line, line);
        EXPECT_EQ(e.logText, "Error: Invalid aircraft ID [Aircraft::find, line " + std::to_string(line) + "]");
    }
}

TEST_F(ZephrelExceptionTest, MissingDetailsLeaveEmptyPlaces) {
    ZephrelException e(12, ZephrelException::Warning, "F::g", 1);
    EXPECT_EQ(e.userText, "The file '' could not be renamed to ''!");
    EXPECT_EQ(e.logText, "Warning: Failed to rename file '' to '' [F::g, line 1]");
}

TEST_F(ZephrelExceptionTest, MakingOneWritesItsLogTextOnceAsCategoryOne) {
    std::string logText;
    {
        ZephrelException e(9, ZephrelException::Error, "ZflFile::open", 120, "track.zfl");
        logText = e.logText;
    }
    std::string contents = logContents();
    EXPECT_EQ(occurrences(contents, logText + "\n"), 1u) << contents;
}

TEST_F(ZephrelExceptionTest, IsLoggedEvenWhenNotCaught) {
    try {
        throw ZephrelException(5, ZephrelException::StopsRecordingAndPlayback, "TempFile::open", 33, "t.tmp");
    } catch (...) {
        // Deliberately not looked at.
    }
    EXPECT_EQ(occurrences(logContents(), "Error: Temp file 't.tmp' could not be opened [TempFile::open, line 33]\n"),
              1u);
}

TEST_F(ZephrelExceptionTest, LogLineObeysTheCategoryMask) {
    Log::setLogFlags(2); // excludes category 1
    ZephrelException(4, ZephrelException::Error, "Buffer::grow", 5);
    Log::closeLog();
    EXPECT_FALSE(std::filesystem::exists(Log::filePath()));
}

TEST_F(ZephrelExceptionTest, CopiesCarryAllFieldsAndAreNotLoggedAgain) {
    std::string contents;
    try {
        ZephrelException original(10, ZephrelException::DisablesModule, "ZflFile::close", 77, "out.zfl");
        ZephrelException copy = original;
        EXPECT_EQ(copy.code, 10u);
        EXPECT_EQ(copy.severity, 3u);
        EXPECT_EQ(copy.userText, "Writing to file 'out.zfl' failed!");
        EXPECT_EQ(copy.function, "ZflFile::close");
        EXPECT_EQ(copy.line, 77u);
        throw copy;
    } catch (const ZephrelException& caught) {
        EXPECT_EQ(caught.logText, "Critical Error: Writing to file 'out.zfl' failed [ZflFile::close, line 77]");
        contents = logContents();
        EXPECT_EQ(occurrences(contents, caught.logText), 1u) << contents;
    }
}

TEST_F(ZephrelExceptionTest, StoppingBuildsASeverityTwoErrorAndLogsIt) {
    ZephrelException e = ZephrelException::stopping(16, "DataBuffer::getContData", 61, "Buffer pointer is NULL");
    EXPECT_EQ(e.code, 16u);
    EXPECT_EQ(e.severity, static_cast<uint32_t>(ZephrelException::StopsRecordingAndPlayback));
    EXPECT_EQ(e.userText, "An unexpected error occured!");
    EXPECT_EQ(e.logText, "Error: Buffer pointer is NULL [DataBuffer::getContData, line 61]");
    EXPECT_EQ(occurrences(logContents(), e.logText + "\n"), 1u);
}

} // namespace
