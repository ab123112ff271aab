// zfl-info FILE...: shows what each recording holds.
// zfl-info --recover TEMPBASE OUTPUT.zfl: saves the temporary files of a recording that did not end.
// zfl-info --plot OUTPUT.png [--track N] FILE.zfl: draws a recording's altitude, ground speed and
// ground track.

#include <charconv>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "common/Log.h"
#include "common/ZephrelException.h"
#include "text/AsciiCase.h"
#include "tools/AxisTicks.h"
#include "tools/RecordingPlot.h"
#include "tools/RecoverRecording.h"
#include "tools/ZflInfo.h"

namespace {

constexpr const char* kUsage = "usage: zfl-info FILE...\n"
                               "       zfl-info --recover TEMPBASE OUTPUT.zfl\n"
                               "       zfl-info --plot OUTPUT.png [--track N] FILE.zfl\n";

// Runs one file's work; a failure is told on stderr, naming the file, and gives 1.
template <typename Work> int reported(const std::string& file, Work&& work) {
    try {
        work();
        return 0;
    } catch (const ZephrelException& e) {
        std::cout.flush();
        std::cerr << "zfl-info: " << e.userText << "\n";
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "zfl-info: " << file << ": " << e.what() << "\n";
    } catch (...) {
        std::cerr << "zfl-info: " << file << ": unexpected failure\n";
    }
    return 1;
}

struct PlotRequest {
    std::string output;
    std::string recording;
    PlotOptions options;
};

struct UsageError {
    std::string what;
};

// The words after --plot: OUTPUT.png [--track N] FILE.zfl.
PlotRequest parsePlot(int argc, char** argv) {
    if (argc < 4)
        throw UsageError{"--plot needs the picture and the recording"};
    PlotRequest request{argv[2], "", {}};
    // The picture's name comes first, and only a PNG name is taken, so that a recording named in
    // its place is never written over.
    if (!endsWithIgnoringCase(request.output, ".png"))
        throw UsageError{"the picture must be a PNG file (.png), not " + request.output};
    for (int i = 3; i < argc; ++i) {
        const std::string word = argv[i];
        if (word == "--track") {
            const std::string number = i + 1 < argc ? argv[++i] : "";
            const char* end = number.data() + number.size();
            const auto parsed = std::from_chars(number.data(), end, request.options.track);
            if (number.empty())
                throw UsageError{"--track needs a track number"};
            if (parsed.ec != std::errc{} || parsed.ptr != end || request.options.track == 0)
                throw UsageError{"--track needs a track number from 1, not " + number};
        } else if (word.starts_with("--")) {
            throw UsageError{"unknown option " + word};
        } else if (!request.recording.empty()) {
            throw UsageError{"--plot draws one recording at a time"};
        } else {
            request.recording = word;
        }
    }
    if (request.recording.empty())
        throw UsageError{"--plot needs the picture and the recording"};
    return request;
}

} // namespace

int main(int argc, char** argv) {
    const bool recover = argc > 1 && std::string(argv[1]) == "--recover";
    const bool plot = argc > 1 && std::string(argv[1]) == "--plot";
    if (argc < 2 || (recover && argc != 4)) {
        std::cerr << kUsage;
        return 2;
    }
    std::optional<PlotRequest> plotRequest;
    try {
        if (plot)
            plotRequest = parsePlot(argc, argv);
    } catch (const UsageError& e) {
        std::cerr << "zfl-info: " << e.what << "\n" << kUsage;
        return 2;
    }
    // An inspection tool leaves no log behind.
    Log::setLogFlags(0);
    if (plot)
        return reported(plotRequest->recording, [&] {
            const PlotLayout layout =
                plotRecording(plotRequest->recording, plotRequest->output, plotRequest->options);
            std::cout << "zfl-info: wrote " << plotRequest->output << ": " << plotRequest->recording
                      << " from " << durationText(layout.startTime / double{kTicksPerSecond}) << " to "
                      << durationText(layout.endTime / double{kTicksPerSecond}) << "\n";
        });
    if (recover)
        return reported(argv[2], [&] {
            const std::string saved = recoverRecording(argv[2], argv[3]);
            std::cout << "zfl-info: saved " << saved << " as " << argv[3] << "\n";
        });
    int status = 0;
    for (int i = 1; i < argc; ++i)
        status |= reported(argv[i], [&] { printRecordingInfo(std::cout, argv[i]); });
    return status;
}
