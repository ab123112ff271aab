#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "converter/ProgramArguments.h"

namespace {

using Words = std::vector<std::string>;

struct SplitCase {
    const char* commandLine;
    Words words;
};
void PrintTo(const SplitCase& c, std::ostream* os) {
    *os << '[' << c.commandLine << ']';
}

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsIntoTheWordsAUserMeant) {
    EXPECT_EQ(splitCommandLine(GetParam().commandLine), GetParam().words)
        << "[" << GetParam().commandLine << "]";
}

INSTANTIATE_TEST_SUITE_P(
    ProgramArguments, SplitCommandLineTest,
    ::testing::Values(SplitCase{"", {}}, SplitCase{"    ", {}},
                      SplitCase{"conv in.zfl out.txt", {"conv", "in.zfl", "out.txt"}},
                      // Spaces before, between and after words only separate them.
                      SplitCase{"   conv    in.txt  ", {"conv", "in.txt"}},
                      // Quotes switch quoting on and off and vanish; spaces inside belong to the word.
                      SplitCase{"\"C:\\My Tools\\conv.exe\" \"my flight.zfl\" x",
                                {"C:\\My Tools\\conv.exe", "my flight.zfl", "x"}},
                      SplitCase{"conv my\" big \"flight.zfl", {"conv", "my big flight.zfl"}},
                      SplitCase{"a\"b\"c\"d e\"f", {"abcd ef"}},
                      // An empty pair of quotes is a word of its own, even at the end.
                      SplitCase{"conv \"\" out", {"conv", "", "out"}}, SplitCase{"conv \"\"", {"conv", ""}},
                      // A quote left open runs to the end of the line.
                      SplitCase{"conv \"a  b", {"conv", "a  b"}},
                      // Only the space separates words.
                      SplitCase{"a\tb", {"a\tb"}}));

struct PathCase {
    const char* path;
    bool recording;
};
void PrintTo(const PathCase& c, std::ostream* os) {
    *os << '[' << c.path << ']';
}

class IsRecordingPathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(IsRecordingPathTest, LooksOnlyAtTheTextAfterTheLastDot) {
    EXPECT_EQ(isRecordingPath(GetParam().path), GetParam().recording) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(ProgramArguments, IsRecordingPathTest,
                         ::testing::Values(PathCase{"flight.zfl", true}, PathCase{"FLIGHT.ZFL", true},
                                           PathCase{".ZfL", true}, PathCase{"a.txt.zfl", true},
                                           PathCase{"dir.txt/flight.zFl", true}, PathCase{"a.zfl.txt", false},
                                           PathCase{"dir.zfl/file", false}, PathCase{"flight", false},
                                           PathCase{"", false}, PathCase{"a.", false},
                                           PathCase{"a.zf", false}, PathCase{"a.zfll", false},
                                           PathCase{"a.zfl ", false}, PathCase{"azfl", false}));

} // namespace
