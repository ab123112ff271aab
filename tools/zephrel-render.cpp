// zephrel-render: renders a recording into a video file through the module in the stand-in
// simulator, headless, with a progress bar on a terminal.

#include <chrono>
#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "run/TerminalLine.h"
#include "tools/RenderJob.h"

namespace {

// Set by Ctrl-C (or a termination request): the next frame ends the rendering.
volatile std::sig_atomic_t interrupted = 0;

void interrupt(int) { interrupted = 1; }

// A bar with the time left, on the terminal.
class ProgressBar {
public:
    void update(const RenderProgress& progress) {
        if (progress.total <= 0 || !line_.due())
            return;
        const double part = progress.done / progress.total;
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
        constexpr int kWidth = 30;
        std::string bar(static_cast<std::size_t>(part * kWidth), '#');
        bar.resize(kWidth, '.');
        char left[32] = "--:--";
        if (part > 0.01) {
            const int seconds = static_cast<int>(elapsed * (1 - part) / part);
            std::snprintf(left, sizeof left, "%d:%02d", seconds / 60, seconds % 60);
        }
        char text[160];
        std::snprintf(text, sizeof text, "[%s] %3d%%  %.1f / %.1f s of video, %s left", bar.c_str(),
                      static_cast<int>(part * 100), progress.done, progress.total, left);
        line_.show(text);
    }
    void clear() { line_.clear(); }

private:
    TerminalLine line_;
    std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

} // namespace

int main(int argc, char** argv) {
    RenderOptions defaults;
    defaults.module = ZEPHREL_RENDER_MODULE;
    defaults.root = ZEPHREL_RENDER_ROOT;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args)
        if (arg == "--help") {
            std::fputs(kRenderUsage, stdout);
            return 0;
        }
    try {
        const RenderOptions options = parseRenderCommand(args, defaults);
        std::signal(SIGINT, interrupt);
        std::signal(SIGTERM, interrupt);
        ProgressBar bar;
        const RenderResult result = renderRecording(options, [&](const RenderProgress& p) {
            if (interrupted != 0)
                throw RenderInterrupted{};
            bar.update(p);
        });
        bar.clear();
        if (!result.succeeded) {
            for (const std::string& error : result.errors)
                std::fprintf(stderr, "zephrel-render: %s\n", error.c_str());
            return 1;
        }
        const VideoFileInfo& video = result.video;
        std::printf("zephrel-render: wrote %s, %d frames of %dx%d at %g fps (%s)\n", options.output.c_str(),
                    video.frames, video.width, video.height, video.fps, video.codec.c_str());
        return 0;
    } catch (const RenderInterrupted&) {
        std::fprintf(stderr, "\nzephrel-render: interrupted, no video written\n");
        return 130;
    } catch (const RenderUsageError& error) {
        std::fprintf(stderr, "zephrel-render: %s\n", error.what.c_str());
        return 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zephrel-render: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "zephrel-render: unexpected failure\n");
    }
    return 1;
}
