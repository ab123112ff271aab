// "Video Information": the summary shown read-only, the video played with the shell's "open", a
// refused open told to the user, and closing.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ModuleDialogTest.h"
#include "TemplateLayout.h"
#include "support/HeadlessDelegate.h"
#include "ui/VideoInfoDlg.h"
#include "winsys/HeadlessScript.h"

namespace {

using namespace win::headless;
using D = VideoInfoDlg;

const std::string kFile = "/videos/circuit.wmv";
const std::string kSummary = "Video File: /videos/circuit.wmv\r\nCaptured 250 frames (0h:00m:10s:00f)\r\n"
                             "640x480, 25.00fps";

// The headless backend, except that the shell has no application for any file.
class NoApplicationBackend final : public HeadlessDelegate {
public:
    bool shellOpen(const std::string&, const std::string&) override { return false; }
};

class VideoInfoDlgTest : public ModuleDialogTest {
protected:
    static void show(std::vector<Step> steps) {
        scriptDialog(ModuleResources::kVideoInfoDialog, std::move(steps));
        D::show(nullptr, kSummary, kFile);
    }
    static std::vector<win::DialogEntry> ended() {
        std::vector<win::DialogEntry> dialogs = transcript().all<win::DialogEntry>();
        std::erase_if(dialogs, [](const win::DialogEntry& d) { return d.what != win::DialogEntry::Ended; });
        return dialogs;
    }
};

TEST_F(VideoInfoDlgTest, TemplateControlsStayInsideTheDialogAndApart) {
    EXPECT_EQ(std::vector<std::string>{}, layoutProblems(D::dialogTemplate()));
}

TEST_F(VideoInfoDlgTest, ShowsTheSummaryAndCloseOrEscapeClosesIt) {
    for (const Step& closing : {Step{Press{win::IDCANCEL}}, Step{Close{}}}) {
        forgetHistory();
        show({closing});
        const std::vector<win::DialogEntry> dialogs = ended();
        ASSERT_EQ(1u, dialogs.size());
        EXPECT_EQ("Video Information", dialogs[0].title);
        EXPECT_EQ(kSummary, dialogs[0].controls.front().text);
        EXPECT_TRUE(transcript().all<win::ShellOpenEntry>().empty());
    }
}

TEST_F(VideoInfoDlgTest, TheSummaryCannotBeEdited) {
    show({SetText{D::kSummaryId, "edited"}, Press{win::IDCANCEL}});
    ASSERT_EQ(1u, failures().size());
    EXPECT_NE(std::string::npos, failures().front().find("read-only")) << failures().front();
    reset(); // the refused step was expected
}

TEST_F(VideoInfoDlgTest, PlayVideoOpensTheFileAndKeepsTheDialogOpen) {
    show({Press{D::kPlayId}, Press{D::kPlayId}, Press{win::IDCANCEL}});
    const std::vector<win::ShellOpenEntry> opened = transcript().all<win::ShellOpenEntry>();
    ASSERT_EQ(2u, opened.size());
    EXPECT_EQ("open", opened[0].operation);
    EXPECT_EQ(kFile, opened[0].target);
    EXPECT_TRUE(transcript().all<win::MessageBoxEntry>().empty());
}

TEST_F(VideoInfoDlgTest, AVideoTheShellCannotOpenIsReportedWithItsName) {
    win::SetBackend(std::make_unique<NoApplicationBackend>());
    answerMessageBox(win::IDOK, {"Zephrel", kFile});
    show({Press{D::kPlayId}, Press{win::IDCANCEL}});
    const std::vector<win::MessageBoxEntry> boxes = transcript().all<win::MessageBoxEntry>();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_NE(std::string::npos, boxes[0].text.find(kFile)) << boxes[0].text;
    EXPECT_EQ(1u, ended().size());
}

} // namespace
