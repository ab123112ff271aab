#pragma once

#include <functional>
#include <string>

#include "playback/PlayerSeams.h"
#include "ui/DataWndFields.h"
#include "winsys/WinSys.h"

// "Zephrel Data": a modeless window over the simulator that shows, during a playback that drives
// the user aircraft, the values applied to it in each frame. Created hidden; it reopens where the
// user last moved it (kept in the settings file).
class DataWnd : public FlightDataView {
public:
    static constexpr const char* kClassName = "ZEPHREL_DATAWND";

    // `shownChanged`, when given, hears every change of visibility (the window may also be closed
    // by the user), so the "Data Window" menu entry can carry its check mark. Without an owner the
    // window belongs to the simulator's main window.
    DataWnd(std::string settingsFile, DataWndFields::Surroundings surroundings,
            std::function<void(bool shown)> shownChanged = {}, win::HWND owner = nullptr);
    ~DataWnd() override;
    DataWnd(const DataWnd&) = delete;
    DataWnd& operator=(const DataWnd&) = delete;

    static win::DialogTemplate dialogTemplate();

    void show();
    void hide();
    void toggle();
    bool isShown() const override;

    void setData(const ContData& cont, const DiscData& disc, const DataFormat& format) override;

    win::HWND hwnd() const { return hwnd_; }

private:
    static win::INT_PTR dialogProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    bool onMessage(win::UINT message, win::WPARAM wParam);
    void setShown(bool shown);
    void keepPosition() const;

    std::string settingsFile_;
    DataWndFields::Surroundings surroundings_;
    std::function<void(bool shown)> shownChanged_;
    win::HWND hwnd_ = nullptr;
    bool visible_ = false;
};
