#include "harness/ControllerPlayback.h"

#include <filesystem>
#include <fstream>

#include "host/FSinterface.h"
#include "services/HostMenus.h"
#include "winsys/HeadlessScript.h"

namespace {

// Controls for traffic too, no pause at the end, the markers loaded, no instant replay.
std::string settingsIn(const std::string& folder) {
    return "[SETTINGS]\nTempDirectory=" + folder +
           "\nEnableReplay=0\nEnableControlsAI=1\nPauseEndPlay=0\nShowPlayDialog=0\n"
           "[PLAYBACK]\nLoadMarkers=1\n";
}

} // namespace

ControllerPlayback::ControllerPlayback(const std::string& folder) : zephrel_(folder), ui_(&zephrel_, folder) {
    std::ofstream(std::filesystem::path(folder) / "Zephrel.ini") << settingsIn(folder);
    SimulatorSetup setup;
    setup.userTitle = "Trainer 152 Aerobat";
    setup.flightsFolder = (std::filesystem::path(folder) / "Flights").string();
    setup.frameStep = 0.0625;
    module_ = std::make_unique<ModuleInSimulator>(setup);
    win::headless::setUnscriptedPolicy(win::headless::Unscripted::Default);
    FSinterface::addCallback(&zephrel_);
    FSinterface::addCallback(&ui_);
    FSinterface::callback(Start);
    frames(1); // the host reports each frame's length in the frame after it
}

ControllerPlayback::~ControllerPlayback() {
    module_.reset();
}

void ControllerPlayback::frames(int count) {
    for (int i = 0; i < count; ++i)
        module_->sim().frame();
}

ControllerPlayback::Outcome ControllerPlayback::play(const std::string& path, bool asTraffic) {
    win::headless::forgetHistory();
    Outcome outcome;
    zephrel_.playFile(path, asTraffic);
    outcome.played = zephrel_.isPlaying();
    if (outcome.played) {
        frames(16);
        zephrel_.position(0.95);
        frames(8);
        for (int step = 0; step < 3 && zephrel_.isPlaying(); ++step)
            zephrel_.nextMarker();
        frames(4);
        for (int step = 0; step < 3 && zephrel_.isPlaying(); ++step)
            zephrel_.previousMarker();
        zephrel_.position(0);
        frames(8);
        if (zephrel_.isPlaying())
            zephrel_.stopPlayback(true);
        frames(2);
    }
    outcome.messageBoxes = win::headless::transcript().all<win::MessageBoxEntry>().size();
    const HostMenus::Item* playItem = module_->sim().menus().find("Zephrel/Play...");
    outcome.stopped = !zephrel_.isPlaying() && playItem != nullptr && playItem->enabled;
    return outcome;
}
