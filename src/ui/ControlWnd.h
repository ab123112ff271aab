#pragma once

#include <array>
#include <string>

#include "playback/PlayerSeams.h"
#include "winsys/WinSys.h"

// The playback control commands the control window's buttons and slider send. The controller
// carries them out under the same conditions as the keyboard's. They are called from the window
// procedure, so an implementation reports its own failures; anything that still escapes is shown
// in an error box.
class PlaybackCommands {
public:
    virtual ~PlaybackCommands() = default;
    virtual void forward(int level) = 0; // 1..3 while a search button is held, 0 when it is let go
    virtual void backward(int level) = 0;
    virtual void previousMarker() = 0;
    virtual void nextMarker() = 0;
    virtual void loopIn() = 0;
    virtual void loopOut() = 0;
    virtual void setLoop(bool on) = 0;
    virtual void slower() = 0;
    virtual void faster() = 0;
    virtual void normalSpeed() = 0;
    virtual void position(double fraction) = 0; // 0 = the beginning, 1 = the end
};

// The playback control window: a floating tool window over the simulator with a position slider
// that also marks the loop range, press-and-hold search buttons, chapter jumps, loop buttons and
// the playback speed. It is created hidden, reopens where the user last moved it (kept in the
// settings file) and hands the keyboard focus back to the simulator whenever it is activated, so
// that the simulator's keys keep working.
class ControlWnd : public PlaybackControlView {
public:
    static constexpr const char* kClassName = "ZEPHREL_CONTROLWND";
    static constexpr const char* kTitle = "Zephrel";
    static constexpr int kClientWidth = 350;
    static constexpr int kClientHeight = 65;
    static constexpr int kTrackRange = 350; // the slider runs 0..kTrackRange over the playback

    static constexpr int kPreviousMarkerId = 1000;
    static constexpr int kBackward3Id = 1001;
    static constexpr int kBackward2Id = 1002;
    static constexpr int kBackward1Id = 1003;
    static constexpr int kProgressId = 1004;
    static constexpr int kForward1Id = 1005;
    static constexpr int kForward2Id = 1006;
    static constexpr int kForward3Id = 1007;
    static constexpr int kNextMarkerId = 1008;
    static constexpr int kLoopInId = 1009;
    static constexpr int kLoopId = 1010;
    static constexpr int kLoopOutId = 1011;
    static constexpr int kSlowerId = 1012;
    static constexpr int kSpeedId = 1013;
    static constexpr int kFasterId = 1014;
    static constexpr int kControlCount = 15;

    // `owner` is the simulator's main window; null fails with "NULL pointer passed". The settings
    // file keeps the window's position. The commands must outlive the window.
    ControlWnd(win::HWND owner, PlaybackCommands& commands, std::string settingsFile);
    ~ControlWnd() override;
    ControlWnd(const ControlWnd&) = delete;
    ControlWnd& operator=(const ControlWnd&) = delete;

    void show();
    void hide();
    // Returns whether the window is shown now, for the menu entry's check mark.
    bool toggle();
    bool isShown() const { return visible_; }

    win::HWND hwnd() const { return hwnd_; }

    void setPosition(double fraction) override;
    void setLoop(double inFraction, double outFraction, bool loopOn) override;
    void setSpeed(float speed) override;

private:
    static win::LRESULT windowProc(win::HWND hwnd, win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    win::LRESULT route(win::UINT message, win::WPARAM wParam, win::LPARAM lParam);
    void createWindow();
    void createControls();
    void onCommand(int id, int notifyCode);
    void onScroll(int scrollCode);
    void onDrawItem(const win::DRAWITEMSTRUCT& draw);
    void savePosition() const;

    win::HWND owner_;
    PlaybackCommands& commands_;
    std::string settingsFile_;
    win::HWND hwnd_ = nullptr;
    bool visible_ = false;
    // By control, in the order of the control table: the search buttons marked as held.
    std::array<bool, kControlCount> held_{};
};
