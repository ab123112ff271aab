#include "tools/RenderJob.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "common/ZephrelException.h"
#include "common/ZflFile.h"
#include "run/ScenarioParser.h"
#include "run/ScenarioRunner.h"
#include "video/VideoCodecs.h"
#include "video/VideoFileInfo.h"
#include "winsys/Dialogs.h"
#include "winsys/HeadlessScript.h"

namespace fs = std::filesystem;

const char* const kRenderUsage =
    "usage: zephrel-render RECORDING.zfl OUTPUT.(wmv|mp4|mkv) [--camera spot|follow|flyby|tower|vc]\n"
    "                      [--size WxH] [--fps F] [--codec NAME] [--from S] [--to S] [--traffic]\n"
    "  --camera KIND  the module's camera the video looks through (default follow): spot (fixed to the\n"
    "                 aircraft), follow (behind it in a fixed direction), flyby, tower (at the start), vc\n"
    "  --size WxH     the video's size, 32..4096 each, at most the screen (default 640x480)\n"
    "  --fps F        frames per second, 1..200 (default 25)\n"
    "  --codec NAME   wmv1, wmv2, msmpeg4, mpeg4 or libx264 (default: wmv2 for .wmv, else libx264)\n"
    "  --from S       start S whole seconds into the recording (default: its beginning)\n"
    "  --to S         end S whole seconds into the recording (default: its end)\n"
    "  --traffic      the recording's other tracks fly along as AI traffic\n"
    "  --module FILE  the module file (default: the one built beside this program)\n"
    "  --root DIR     the stand-in simulator's folder (default: the repository's sample root)\n"
    "  --help         this text\n";

namespace {

// Steps of the run before the rendering starts: the playback begins, then the camera is made.
constexpr double kPlayAt = 0.2;
constexpr double kCameraAt = 0.4;
constexpr double kRenderAt = 0.6;
constexpr double kAfterEnd = 1.0;
constexpr uint32_t kTicksPerSecond = 10000;

double number(const std::string& option, const std::string& value, double first, double last) {
    double parsed = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    if (error != std::errc() || end != value.data() + value.size() || !(parsed >= first && parsed <= last))
        throw RenderUsageError{option + " must be a number from " + std::to_string(static_cast<int>(first)) + " to " +
                               std::to_string(static_cast<int>(last)) + ", not " + value};
    return parsed;
}

int wholeNumber(const std::string& option, const std::string& value, int first, int last) {
    const double parsed = number(option, value, first, last);
    if (parsed != std::floor(parsed))
        throw RenderUsageError{option + " must be a whole number, not " + value};
    return static_cast<int>(parsed);
}

// The codec's index in the writer's list, by encoder or by name; the best for the container when
// none is named.
int codecIndex(const std::string& wanted, const std::string& container) {
    const auto& codecs = VideoCodecs::available();
    const auto fits = [&](const VideoCodec& c) {
        return std::find(c.containers.begin(), c.containers.end(), container) != c.containers.end();
    };
    const auto find = [&](const std::string& name) {
        for (std::size_t i = 0; i < codecs.size(); ++i)
            if (name == codecs[i].encoder || name == codecs[i].name)
                return static_cast<int>(i);
        return -1;
    };
    if (wanted.empty()) {
        for (const char* preferred : {"wmv2", "libx264", "mpeg4"})
            if (const int i = find(preferred); i >= 0 && fits(codecs[static_cast<std::size_t>(i)]))
                return i;
        throw RenderUsageError{"no codec of this FFmpeg can write a " + container + " file"};
    }
    const int i = find(wanted);
    if (i < 0) {
        std::string known;
        for (const VideoCodec& c : codecs)
            known += std::string(known.empty() ? "" : ", ") + c.encoder;
        throw RenderUsageError{"unknown codec " + wanted + " (this FFmpeg offers " + known + ")"};
    }
    if (!fits(codecs[static_cast<std::size_t>(i)]))
        throw RenderUsageError{"the codec " + wanted + " cannot be written into a " + container + " file"};
    return i;
}

struct Span {
    double begin = 0, end = 0; // seconds
};

// The played span of the recording: the user track's, and the others' with traffic.
Span recordingSpan(const RenderOptions& o) {
    if (!fs::is_regular_file(o.recording))
        throw RenderUsageError{"the recording " + o.recording + " does not exist"};
    Span span;
    try {
        ZflFile file;
        file.open(o.recording, ZflFile::Mode::Read);
        const uint32_t tracks = o.traffic ? file.getNTracks() : std::min(file.getNTracks(), 1u);
        if (tracks == 0)
            throw RenderUsageError{"the recording " + o.recording + " holds no track"};
        uint32_t begin = UINT32_MAX, end = 0;
        for (uint32_t t = 0; t < tracks; ++t) {
            begin = std::min(begin, file.getStartTime(t));
            end = std::max(end, file.getEndTime(t));
        }
        span = {static_cast<double>(begin) / kTicksPerSecond, static_cast<double>(end) / kTicksPerSecond};
    } catch (const ZephrelException& e) {
        throw RenderUsageError{"the recording cannot be played: " + e.userText};
    }
    return span;
}

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text)
        out += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return out + "\"";
}

// The camera the video looks through, made new in the module's menu; a spot camera's mode is set
// in its edit dialog (template 172, the mode list 1100).
std::string cameraActions(const std::string& camera) {
    const std::string at = "at " + std::to_string(kCameraAt) + " ";
    const auto made = [&](const std::string& menu, const std::string& name) {
        return at + "menu \"Zephrel/" + menu + "/New\"\n" + at + "menu \"Zephrel/" + menu + "/" + name + "\"\n";
    };
    if (camera == "tower")
        return made("Tower Cameras", "Tower Camera 1");
    if (camera == "vc")
        return made("VC Cameras", "VC Camera 1");
    std::string actions = made("Spot Cameras", "Spot Camera 1");
    const char* mode = camera == "spot" ? "Fixed to Aircraft" : camera == "flyby" ? "Fly By" : nullptr;
    if (mode != nullptr)
        actions += at + "dialog 172 selecttext 1100 \"" + mode + "\" press 1\n" + at +
                   "menu \"Zephrel/Spot Cameras/Edit...\"\n";
    return actions;
}

class RunFolder {
public:
    RunFolder() {
        std::random_device random;
        path_ = fs::temp_directory_path() / ("zephrel-render-" + std::to_string(random()));
        fs::create_directories(path_);
    }
    ~RunFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    RunFolder(const RunFolder&) = delete;
    RunFolder& operator=(const RunFolder&) = delete;
    fs::path operator/(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out)
        throw RenderUsageError{"cannot write " + path.string()};
}

} // namespace

RenderOptions parseRenderCommand(const std::vector<std::string>& args, const RenderOptions& defaults) {
    RenderOptions o = defaults;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--traffic") {
            o.traffic = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0) {
            files.push_back(arg);
            continue;
        }
        static const char* const kValued[] = {"--camera", "--size", "--fps", "--codec",
                                              "--from",   "--to",   "--module", "--root"};
        if (std::find(std::begin(kValued), std::end(kValued), arg) == std::end(kValued))
            throw RenderUsageError{"unknown option " + arg};
        if (i + 1 == args.size())
            throw RenderUsageError{arg + " needs a value"};
        const std::string& value = args[++i];
        if (arg == "--camera") {
            if (value != "spot" && value != "follow" && value != "flyby" && value != "tower" && value != "vc")
                throw RenderUsageError{"--camera must be spot, follow, flyby, tower or vc, not " + value};
            o.camera = value;
        } else if (arg == "--size") {
            const std::size_t x = value.find('x');
            if (x == std::string::npos)
                throw RenderUsageError{"--size must be WxH, not " + value};
            o.width = wholeNumber("--size", value.substr(0, x), 32, 4096);
            o.height = wholeNumber("--size", value.substr(x + 1), 32, 4096);
        } else if (arg == "--fps") {
            o.fps = number(arg, value, 1, 200);
        } else if (arg == "--codec") {
            o.codec = value;
        } else if (arg == "--from") {
            o.from = wholeNumber(arg, value, 0, 10000000);
        } else if (arg == "--to") {
            o.to = wholeNumber(arg, value, 0, 10000000);
        } else if (arg == "--module") {
            o.module = value;
        } else {
            o.root = value;
        }
    }
    if (files.size() != 2)
        throw RenderUsageError{"a recording and an output file are needed"};
    o.recording = files[0];
    o.output = files[1];
    if (o.from && o.to && *o.to <= *o.from)
        throw RenderUsageError{"--to must be after --from"};
    return o;
}

RenderResult renderRecording(const RenderOptions& o, const std::function<void(const RenderProgress&)>& progress) {
    const std::string container = VideoCodecs::containerFor(o.output);
    if (container.empty())
        throw RenderUsageError{"the output must be a .wmv, .mp4 or .mkv file, not " + o.output};
    const int codec = codecIndex(o.codec, container);
    const fs::path output = fs::absolute(o.output);
    if (fs::is_directory(output) || !fs::is_directory(output.parent_path()) ||
        access(output.parent_path().c_str(), W_OK) != 0)
        throw RenderUsageError{"the video cannot be written into " + output.parent_path().string()};
    // Written under a name of its own and renamed when complete: a failed rendering leaves no
    // half-written video, and an older one of the same name stays until the new one is whole.
    const fs::path partial = output.parent_path() / (".partial-" + output.filename().string());
    const Span span = recordingSpan(o);
    const double from = o.from.value_or(0);
    const double to = std::min(o.to ? static_cast<double>(*o.to) : span.end - span.begin, span.end - span.begin);
    if (to <= from)
        throw RenderUsageError{"the recording is shorter than --from"};
    if (!fs::is_regular_file(o.module))
        throw RenderUsageError{"the module " + o.module + " does not exist"};

    RunFolder run;
    fs::create_directories(run / "module");
    // Linked, not copied: the module folder is the link's, with the run's own settings file.
    fs::create_symlink(fs::absolute(o.module), run / "module" / "Zephrel_FSX.so");
    writeText(run / "appdata" / "Microsoft" / "FSX" / "dll.xml",
              "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
              "  <Launch.Addon>\n    <Name>Zephrel</Name>\n    <Disabled>False</Disabled>\n    <Path>" +
                  (run / "module" / "Zephrel_FSX.so").string() +
                  "</Path>\n  </Launch.Addon>\n</SimBase.Document>\n");
    fs::create_directories(run / "temp");
    std::ostringstream ini;
    ini << "[SETTINGS]\nTempDirectory=" << (run / "temp").string() << "\nEnableReplay=0\nSearch1=0\nJumpSize1=" << from
        << "\nPlayRecAI=" << (o.traffic ? 1 : 0)
        // A pause marker would hold the simulator still with nobody there to go on.
        << "\n[PLAYBACK]\nLoadMarkers=0\n[VIDEO]\nWidth=" << o.width << "\nHeight=" << o.height
        << "\nFSWndSize=0\nResize=1\nFPS=" << o.fps << "\nCodec=" << codec
        << "\nShowInfo=0\nHideDisplay=1\nHideInfoWnd=1\nCamSwitchPause=0\nSkipFrames=0\n";
    writeText(run / "module" / "Zephrel.ini", ini.str());

    // One frame a video frame, so that the run's time is the video's once it renders.
    const double step = 1.0 / o.fps;
    const double renderSeconds = to - from;
    const bool stopsItself = !o.to || *o.to >= span.end - span.begin;
    std::ostringstream scenario;
    scenario << "user-aircraft \"Trainer 152 Aerobat\"\nframe-step " << step << "\nduration "
             << kRenderAt + renderSeconds + kAfterEnd << "\n"
             << "at " << kPlayAt << " answer file " << quoted(fs::absolute(o.recording).string()) << "\n"
             << "at " << kPlayAt << " menu \"Zephrel/Play...\"\n"
             << cameraActions(o.camera);
    // Back to the recording's beginning (the playback has run since it started), then the jump.
    scenario << "at " << kRenderAt << " key press HOME\n";
    if (from > 0)
        scenario << "at " << kRenderAt << " key press RIGHT\n";
    scenario << "at " << kRenderAt << " dialog 130 press 1\n"
             << "at " << kRenderAt << " answer file " << quoted(partial.string()) << " title \"Render Video\"\n"
             << "at " << kRenderAt << " menu \"Zephrel/Render Video...\"\n";
    if (!stopsItself)
        scenario << "at " << kRenderAt + renderSeconds << " menu \"Zephrel/Stop Rendering\"\n";

    RunOverrides overrides;
    overrides.root = o.root;
    overrides.appdata = (run / "appdata").string();
    ScenarioRunner runner(parseScenario(scenario.str()), overrides);
    RunSummary summary;
    std::error_code ignored;
    try {
        summary = runner.run([&](const RunProgress& now) {
            if (progress)
                progress({std::clamp(now.runSeconds - kRenderAt, 0.0, renderSeconds), renderSeconds});
        });
    } catch (...) {
        fs::remove(partial, ignored);
        throw;
    }

    RenderResult result;
    for (const win::MessageBoxEntry& box : win::headless::transcript().all<win::MessageBoxEntry>())
        if ((box.type & win::MB_ICONMASK) == win::MB_ICONERROR)
            result.errors.push_back(box.text);
    // What the module said explains the steps of the run that could not be taken after it.
    if (result.errors.empty()) {
        result.errors = summary.loaderErrors;
        result.errors.insert(result.errors.end(), summary.scenarioErrors.begin(), summary.scenarioErrors.end());
    }
    const int planned = static_cast<int>(std::lround(renderSeconds * o.fps));
    const std::optional<VideoFileInfo> written = readVideoFileInfo(partial.string());
    if (result.errors.empty() && !written)
        result.errors.push_back("no video was written");
    else if (result.errors.empty() && std::abs(written->frames - planned) > 1)
        result.errors.push_back("the video holds " + std::to_string(written->frames) + " frames where " +
                                std::to_string(planned) + " were planned");
    else if (result.errors.empty() && (fs::rename(partial, output, ignored), ignored))
        result.errors.push_back("the video cannot be renamed to " + output.string() + ": " + ignored.message());
    result.succeeded = result.errors.empty();
    if (written)
        result.video = *written;
    if (!result.succeeded)
        fs::remove(partial, ignored);
    return result;
}
