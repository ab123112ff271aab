#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "app/UI.h"
#include "app/Zephrel.h"
#include "harness/ModuleInSimulator.h"

// The module's controller and menu in the stand-in simulator in this process, playing recordings
// as its play commands do, one at a time, with unscripted message boxes answered as a user who
// only closes them: for the tests and the fuzz target that feed the play path damaged files.
// Frames last 1/16 s; the module's folder (Zephrel.ini, temporary files) is `folder`.
class ControllerPlayback {
public:
    explicit ControllerPlayback(const std::string& folder);
    ~ControllerPlayback();
    ControllerPlayback(const ControllerPlayback&) = delete;
    ControllerPlayback& operator=(const ControllerPlayback&) = delete;

    struct Outcome {
        bool played = false;          // the playback started
        std::size_t messageBoxes = 0; // shown while it was chosen, played and stopped
        bool stopped = false;         // afterwards nothing plays and "Play..." can be chosen again
    };
    // Chooses `path` to play on the user aircraft or as traffic; if it plays: frames, a jump near
    // the end, the markers stepped through forward and back, a jump to the start, more frames; then
    // the playback is stopped.
    Outcome play(const std::string& path, bool asTraffic);

    Zephrel& controller() { return zephrel_; }

private:
    void frames(int count);

    // The controller and the menu outlive the module, which tells its listeners when it stops.
    Zephrel zephrel_;
    UI ui_;
    std::unique_ptr<ModuleInSimulator> module_;
};
