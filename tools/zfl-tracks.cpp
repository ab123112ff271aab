// zfl-tracks: flight logs of other tools into recordings.
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "common/ZephrelException.h"
#include "text/AsciiCase.h"
#include "tools/TracksImport.h"
#include "tracks/TrackError.h"

namespace {

constexpr const char* kUsage =
    "usage: zfl-tracks import INPUT... OUTPUT.zfl [--aircraft TITLE] [--tail N] [--format igc|gpx]\n"
    "  INPUT...          IGC flight logs (.igc) and GPX files (.gpx): each log, and each GPX track\n"
    "                    segment, a track of the recording\n"
    "  --aircraft TITLE  the tracks' aircraft (default: an IGC log's glider type, else the file's name)\n"
    "  --tail N          their tail number (default: the log's registration)\n"
    "  --format F        the inputs' format (igc or gpx), whatever their names end in\n";

struct UsageError {
    std::string what;
};

TracksImport parseImport(const std::vector<std::string>& args) {
    TracksImport request;
    std::vector<std::string> files;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--aircraft" || word == "--tail" || word == "--format") {
            if (i + 1 == args.size())
                throw UsageError{word + " needs a value"};
            const std::string& value = args[++i];
            if (word == "--aircraft")
                request.aircraft = value;
            else if (word == "--tail")
                request.tailNumber = value;
            else if (lowerAscii(value) != "igc" && lowerAscii(value) != "gpx")
                throw UsageError{"--format must be igc or gpx, not " + value};
            else
                request.format = lowerAscii(value);
        } else if (word.starts_with("--")) {
            throw UsageError{"unknown option " + word};
        } else {
            files.push_back(word);
        }
    }
    if (files.size() < 2)
        throw UsageError{"import needs at least one input and the output"};
    request.output = files.back();
    files.pop_back();
    if (!endsWithIgnoringCase(request.output, ".zfl"))
        throw UsageError{"the output must be a recording (.zfl), not " + request.output};
    request.inputs = files;
    return request;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 1 && args[0] == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (args.empty() || args[0] != "import")
            throw UsageError{args.empty() ? "a command is required" : "unknown command " + args[0]};
        const TracksImport request = parseImport(args);
        importTracks(request, std::cout);
        std::cout << "wrote " << request.output << '\n';
        return 0;
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zfl-tracks: %s\n%s", error.what.c_str(), kUsage);
        return 2;
    } catch (const TrackError& error) {
        std::fprintf(stderr, "zfl-tracks: %s\n", error.what());
    } catch (const ZephrelException& error) {
        std::fprintf(stderr, "zfl-tracks: %s\n", error.userText.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zfl-tracks: %s\n", error.what());
    } catch (...) {
        std::fprintf(stderr, "zfl-tracks: unexpected failure\n");
    }
    return 1;
}
