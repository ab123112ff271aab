// Fuzzes the module's play path: the input is a recording chosen to play, through the controller
// as its play commands reach it (the file checked and its tracks and markers selected, the play
// list built, the player started and run through frames, jumps and marker steps, then stopped),
// once on the user aircraft and once as traffic. Each time it must be refused with a message box
// or play, and afterwards nothing may play and "Play..." must be there to choose again.

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "common/Log.h"
#include "fuzz/ReadRecording.h"
#include "harness/ControllerPlayback.h"

namespace fs = std::filesystem;

namespace {

fs::path folder;
std::string recording;
ControllerPlayback* controller = nullptr;

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "play path: %s\n", what);
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = fs::temp_directory_path() / ("zephrel-fuzz-play-" + std::to_string(getpid()));
    fs::create_directories(folder);
    recording = (folder / "chosen.zfl").string();
    // One module for the whole run, as one simulator session plays file after file.
    controller = new ControllerPlayback(folder.string());
    Log::setLogFlags(0);
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    zfuzz::writeFile(recording, data, size);
    for (const bool asTraffic : {false, true}) {
        const ControllerPlayback::Outcome outcome = controller->play(recording, asTraffic);
        require(outcome.played || outcome.messageBoxes > 0, "nothing played and nothing was said");
        require(outcome.stopped, "something still plays, or Play... cannot be chosen");
    }
    return 0;
}
