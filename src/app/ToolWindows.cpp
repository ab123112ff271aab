#include "app/ToolWindows.h"

#include <functional>

#include "alerts/HostWindow.h"
#include "app/MenuIds.h"
#include "app/Zephrel.h"
#include "host/FSinterface.h"

// The controller's playback commands from the control window's buttons. A failure is shown and
// acted on as a key's would be; one that disables the module passes on.
class ToolWindows::Commands : public PlaybackCommands {
public:
    void attach(Zephrel* controller) { controller_ = controller; }

    void forward(int level) override { run([=](Zephrel& z) { z.forward(level); }); }
    void backward(int level) override { run([=](Zephrel& z) { z.backward(level); }); }
    void previousMarker() override { run([](Zephrel& z) { z.previousMarker(); }); }
    void nextMarker() override { run([](Zephrel& z) { z.nextMarker(); }); }
    void loopIn() override { run([](Zephrel& z) { z.loopIn(); }); }
    void loopOut() override { run([](Zephrel& z) { z.loopOut(); }); }
    void setLoop(bool on) override { run([=](Zephrel& z) { z.setLoop(on); }); }
    void slower() override { run([](Zephrel& z) { z.slower(); }); }
    void faster() override { run([](Zephrel& z) { z.faster(); }); }
    void normalSpeed() override { run([](Zephrel& z) { z.normalSpeed(); }); }
    void position(double fraction) override { run([=](Zephrel& z) { z.position(fraction); }); }

private:
    void run(const std::function<void(Zephrel&)>& command) {
        if (controller_ == nullptr)
            return;
        try {
            command(*controller_);
        } catch (const ZephrelException& e) {
            if (e.severity >= ZephrelException::DisablesModule)
                throw;
            controller_->afterError(e, false);
        }
    }

    Zephrel* controller_ = nullptr;
};

// A window as the controller shows and hides it; its menu entry's check mark follows.
class ToolWindows::Shown : public ToolWindow {
public:
    Shown(std::function<void(bool)> show, std::function<bool()> isShown, uint32_t menuItem)
        : show_(std::move(show)), isShown_(std::move(isShown)), menuItem_(menuItem) {}

    void show(bool shown) override {
        show_(shown);
        FSinterface::checkMenuItem(menuItem_, shown);
    }
    bool isShown() const override { return isShown_(); }

private:
    std::function<void(bool)> show_;
    std::function<bool()> isShown_;
    uint32_t menuItem_;
};

ToolWindows::ToolWindows(const std::string& settingsFile) : commands_(std::make_unique<Commands>()) {
    if (const win::HWND owner = HostWindow::mainWindow(); owner != nullptr) {
        controlWindow_ = std::make_unique<ControlWnd>(owner, *commands_, settingsFile);
        ControlWnd& control = *controlWindow_;
        controlShown_ = std::make_unique<Shown>([&control](bool on) { on ? control.show() : control.hide(); },
                                                [&control] { return control.isShown(); }, kMenuControlWindow);
    }
    dataWindow_ = std::make_unique<DataWnd>(
        settingsFile,
        DataWndFields::Surroundings{[] { return FSinterface::getHeight(); }, [] { return FSinterface::getMagVar(); }},
        [](bool shown) { FSinterface::checkMenuItem(kMenuDataWindow, shown); });
    DataWnd& data = *dataWindow_;
    dataShown_ = std::make_unique<Shown>([&data](bool on) { on ? data.show() : data.hide(); },
                                         [&data] { return data.isShown(); }, kMenuDataWindow);
}

ToolWindows::~ToolWindows() = default;

void ToolWindows::fill(ControllerSeams& seams) {
    seams.controlWindow = controlShown_.get();
    seams.player.controlWindow = controlWindow_.get();
    seams.dataWindow = dataShown_.get();
    seams.player.dataWindow = dataWindow_.get();
}

void ToolWindows::attach(Zephrel* controller) {
    commands_->attach(controller);
}
