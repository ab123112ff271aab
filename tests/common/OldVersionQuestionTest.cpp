#include <gtest/gtest.h>

#include "Packed.h"

#include <filesystem>
#include <string>
#include <vector>

#include "MessageBox.h"
#include "OldVersionQuestion.h"
#include "TempDir.h"
#include "ZflFile.h"
#include "ZflTestFiles.h"

using namespace zfltest;
using namespace zfltest::v1;

namespace {

// Stands in for the user: answers the question as told and closes every other box with OK,
// remembering what was shown.
class OldVersionQuestionTest : public ::testing::Test {
protected:
    void SetUp() override {
        setMessageBoxPresenter([this](const MessageBoxRequest& request) {
            shown.push_back(request);
            return request.buttons == MessageButtons::YesNo ? answer : AnswerOk;
        });
        replaceFile(path, old);
    }
    void TearDown() override { setMessageBoxPresenter({}); }

    std::string questionText() const {
        return "The file '" + path +
               "' was recorded with an older version of Zephrel. For playback it has to be converted to the new "
               "format. Do you want to convert it now (a backup of the old file will be saved before the "
               "conversion)?";
    }

    TempDir dir;
    std::string path = dir.file("circuit.zfl");
    std::string backup = dir.file("circuit.v1.zfl");
    Bytes old = multiTrackFile({OldTrack{"Old Cessna", 0x0ff, 1.0f, samples(4)}});
    int answer = AnswerNo;
    std::vector<MessageBoxRequest> shown;
};

TEST_F(OldVersionQuestionTest, QuestionNamesTheFileAndOffersYesAndNo) {
    askConvertOldFile(path);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ("Zephrel", shown[0].caption);
    EXPECT_EQ(questionText(), shown[0].text);
    EXPECT_EQ(MessageButtons::YesNo, shown[0].buttons);
}

TEST_F(OldVersionQuestionTest, NoLeavesTheFileAsItIs) {
    answer = AnswerNo;
    EXPECT_FALSE(askConvertOldFile(path));
    EXPECT_EQ(1u, shown.size());
    EXPECT_EQ(old, readBytes(path));
    EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(OldVersionQuestionTest, YesConvertsTheFileAndAllowsOpeningIt) {
    answer = AnswerYes;
    EXPECT_TRUE(askConvertOldFile(path));
    EXPECT_EQ(1u, shown.size());
    EXPECT_EQ(old, readBytes(backup));
    EXPECT_FALSE(ZflFile::checkOldVersion(path));
    ZflFile file;
    file.open(path, ZflFile::Read);
    ASSERT_EQ(1u, file.getNTracks());
    EXPECT_STREQ("Old Cessna", file.getTrackInfo(0).title);
    EXPECT_EQ(4u, copyOf(file.getTrackInfo(0).nCont));
}

TEST_F(OldVersionQuestionTest, FailedConversionIsShownAsAnErrorAndRefusesOpening) {
    old.resize(old.size() - 1);
    replaceFile(path, old);
    answer = AnswerYes;
    EXPECT_FALSE(askConvertOldFile(path));
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Zephrel Error", shown[1].caption);
    EXPECT_EQ(MessageButtons::Ok, shown[1].buttons);
    EXPECT_EQ(MessageIcon::Error, shown[1].icon);
    EXPECT_EQ("Reading from file '" + backup + "' failed! Recording/playback will be stopped now!", shown[1].text);
    EXPECT_EQ(old, readBytes(path));
    EXPECT_FALSE(std::filesystem::exists(backup));
}

TEST_F(OldVersionQuestionTest, ExistingBackupIsShownAsAnErrorAndKept) {
    const Bytes earlier = singleTrackFile(kVersion5, 0, 0, 0, samples(1));
    replaceFile(backup, earlier);
    answer = AnswerYes;
    EXPECT_FALSE(askConvertOldFile(path));
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("Zephrel Error", shown[1].caption);
    EXPECT_EQ("The file '" + path + "' could not be renamed to '" + backup +
                  "'! Recording/playback will be stopped now!",
              shown[1].text);
    EXPECT_EQ(old, readBytes(path));
    EXPECT_EQ(earlier, readBytes(backup));
}

TEST_F(OldVersionQuestionTest, WithoutAPresenterTheQuestionIsAnsweredNo) {
    setMessageBoxPresenter({});
    EXPECT_FALSE(askConvertOldFile(path));
    EXPECT_EQ(questionText(), lastFallbackMessageBox().text);
    EXPECT_EQ(old, readBytes(path));
    EXPECT_FALSE(std::filesystem::exists(backup));
}

} // namespace
