#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "app/ControllerSeams.h"
#include "ui/ControlWnd.h"
#include "ui/DataWnd.h"

class Zephrel;

// The playback control window and the data window as the module has them: made with the
// controller, fed by the player, shown and hidden by the controller with the check mark of their
// menu entry following; the control window's buttons call the controller's playback commands.
class ToolWindows {
public:
    // The control window needs the simulator's main window as its owner; without one there is none.
    explicit ToolWindows(const std::string& settingsFile);
    ~ToolWindows();
    ToolWindows(const ToolWindows&) = delete;
    ToolWindows& operator=(const ToolWindows&) = delete;

    // The windows into the controller's and the player's seams.
    void fill(ControllerSeams& seams);
    // The controller the control window's buttons command; none before this.
    void attach(Zephrel* controller);

private:
    class Commands;
    class Shown;

    std::unique_ptr<Commands> commands_;
    std::unique_ptr<ControlWnd> controlWindow_;
    std::unique_ptr<DataWnd> dataWindow_;
    std::unique_ptr<Shown> controlShown_;
    std::unique_ptr<Shown> dataShown_;
};
