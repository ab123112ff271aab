#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "alerts/MessageBox.h"
#include "alerts/OldVersionQuestion.h"
#include "common/ZflFile.h"
#include "support/OldFormatFiles.h"
#include "support/Packed.h"
#include "support/ShownMessageBoxes.h"

using namespace oldformat;

namespace {

// The user answers the question as told; every other box is closed with OK.
class OldVersionQuestionTest : public ::testing::Test {
protected:
    void SetUp() override {
        win::headless::reset();
        writeBytes(path, old);
    }
    void TearDown() override { win::headless::reset(); }

    bool ask() {
        if (answer != 0)
            win::headless::answerMessageBox(answer, {"Zephrel", "was recorded with an older version"});
        bool converted = askConvertOldFile(path);
        shown = shownMessageBoxes();
        return converted;
    }

    void expectUntouched() {
        EXPECT_EQ(old, readBytes(path));
        EXPECT_FALSE(std::filesystem::exists(backup));
    }

    TempDir dir;
    std::string path = dir.file("circuit.zfl");
    std::string backup = dir.file("circuit.v1.zfl");
    Bytes old = multiTrackFile({Track{"Old Cessna", 0x0ff, 1.0f, samples(4)}});
    int answer = AnswerNo; // 0: nobody answers
    std::vector<MessageBoxRequest> shown;
};

TEST_F(OldVersionQuestionTest, QuestionNamesTheFileAndNoLeavesItAsItIs) {
    EXPECT_FALSE(ask());
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Zephrel", shown[0].caption);
    EXPECT_EQ("The file '" + path +
                  "' was recorded with an older version of Zephrel. For playback it has to be converted to the new "
                  "format. Do you want to convert it now (a backup of the old file will be saved before the "
                  "conversion)?",
              shown[0].text);
    EXPECT_EQ(MessageIcon::Question, shown[0].icon);
    EXPECT_EQ(MessageButtons::YesNo, shown[0].buttons);
    expectUntouched();
    // Where nobody can answer, nothing is converted.
    answer = 0;
    EXPECT_FALSE(ask());
    expectUntouched();
}

TEST_F(OldVersionQuestionTest, YesConvertsTheFileAndAllowsOpeningIt) {
    answer = AnswerYes;
    EXPECT_TRUE(ask());
    EXPECT_EQ(1u, shown.size());
    EXPECT_EQ(old, readBytes(backup));
    ZflFile file;
    file.open(path, ZflFile::Read);
    ASSERT_EQ(1u, file.getNTracks());
    EXPECT_STREQ("Old Cessna", file.getTrackInfo(0).title);
    EXPECT_EQ(4u, copyOf(file.getTrackInfo(0).nCont));
}

TEST_F(OldVersionQuestionTest, FailedConversionIsShownAsAStoppingErrorAndRefusesOpening) {
    const Bytes earlier = singleTrackFile(kVersion5, 0, 0, 0, samples(1));
    const struct {
        const char* what;
        bool cut;
        std::string text;
    } cases[] = {{"damaged file", true, "Reading from file '" + backup + "' failed!"},
                 {"backup exists", false, "The file '" + path + "' could not be renamed to '" + backup + "'!"}};
    answer = AnswerYes;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        win::headless::reset();
        old = multiTrackFile({Track{"Old Cessna", 0x0ff, 1.0f, samples(4)}});
        if (c.cut)
            old.pop_back();
        else
            writeBytes(backup, earlier);
        writeBytes(path, old);
        EXPECT_FALSE(ask());
        ASSERT_EQ(2u, shown.size());
        EXPECT_EQ("Zephrel Error", shown[1].caption);
        EXPECT_EQ(MessageIcon::Error, shown[1].icon);
        EXPECT_EQ(MessageButtons::Ok, shown[1].buttons);
        EXPECT_EQ(c.text + " Recording/playback will be stopped now!", shown[1].text);
        EXPECT_EQ(old, readBytes(path));
        if (c.cut) {
            EXPECT_FALSE(std::filesystem::exists(backup));
        } else {
            EXPECT_EQ(earlier, readBytes(backup));
        }
    }
}

} // namespace
