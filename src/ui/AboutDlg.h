#pragma once

#include <string>

#include "ui/Dialog.h"

// "About Zephrel": the version and build, and a button that opens the product's web page.
class AboutDlg : public Dialog {
public:
    static constexpr int kTextId = 1000;
    static constexpr int kLinkId = 1182;
    static constexpr const char* kWebPage = "https://zephrel.org/";

    AboutDlg();

    static win::DialogTemplate dialogTemplate();
    static std::string aboutText();

protected:
    bool onInitDialog() override;
    bool onCommand(int id, int notifyCode, win::LPARAM lParam) override;
};
