#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "video/VideoFileInfo.h"

// zephrel-render's work: a recording played on the user aircraft of the stand-in simulator, headless,
// with the module loaded as a user installs it, and rendered into a video file through the module's
// own menu, dialogs and cameras.

struct RenderOptions {
    std::string recording;
    std::string output;
    std::string camera = "follow"; // spot, follow, flyby, tower or vc
    int width = 640;
    int height = 480;
    double fps = 25;
    std::string codec; // FFmpeg's encoder name or the codec's name; empty: the best for the file type
    std::optional<int> from, to; // whole seconds of the recording
    bool traffic = false;        // the other tracks played as AI traffic
    std::string module;          // the module file
    std::string root;            // the simulator's folder
};

struct RenderUsageError {
    std::string what;
};

extern const char* const kRenderUsage;

// The options of a command line (without the program's name); RenderUsageError for anything wrong
// in it. `defaults` gives the module and the simulator's folder.
RenderOptions parseRenderCommand(const std::vector<std::string>& args, const RenderOptions& defaults);

// How far a rendering is: seconds of video done of the total.
struct RenderProgress {
    double done = 0;
    double total = 0;
};

struct RenderResult {
    bool succeeded = false;
    std::vector<std::string> errors; // what went wrong, in the words the user would have seen
    VideoFileInfo video;             // what the written file holds
};

// Thrown by the progress callback to end a rendering early (the user pressed Ctrl-C); the run
// stops and nothing is left of the video.
struct RenderInterrupted {};

// Checks what can be checked before the simulator starts (the recording, the codec, the output
// file's folder) and then renders; throws RenderUsageError with a clear message for a bad input.
// The written video must hold the frames planned (within a frame), or the rendering failed.
RenderResult renderRecording(const RenderOptions& options, const std::function<void(const RenderProgress&)>& progress);
