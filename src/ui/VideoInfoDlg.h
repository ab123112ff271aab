#pragma once

#include <string>

#include "ui/Dialog.h"

// "Video Information": the summary of a finished rendering, and a button that plays the video with
// the application the system opens such files with.
class VideoInfoDlg : public Dialog {
public:
    static constexpr int kSummaryId = 1001;
    static constexpr int kPlayId = 1002; // "Play Video"

    VideoInfoDlg(std::string summary, std::string videoFile);

    static win::DialogTemplate dialogTemplate();

    // Shows the dialog over `owner` (none: the usual parent) until the user closes it.
    static void show(win::HWND owner, const std::string& summary, const std::string& videoFile);

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;

private:
    void playVideo();

    std::string summary_;
    std::string videoFile_;
};
