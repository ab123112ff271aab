// zfl-tracks: flight logs of other tools into recordings, and recordings out into their formats.
#include <charconv>
#include <cstdio>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "common/ZephrelException.h"
#include "text/AsciiCase.h"
#include "tools/TracksExport.h"
#include "tools/TracksImport.h"
#include "tracks/TrackError.h"

namespace {

constexpr const char* kUsage =
    "usage: zfl-tracks import INPUT... OUTPUT.zfl [--aircraft TITLE] [--tail N] [--format F]\n"
    "       zfl-tracks export INPUT.zfl OUTPUT.gpx|.kml|.csv|.acmi [--track N | --all]\n"
    "  INPUT...          flight logs: IGC (.igc), GPX (.gpx), KML (.kml), CSV with a header (.csv)\n"
    "                    and Tacview ACMI text (.acmi); each log, GPX track segment, KML track\n"
    "                    and ACMI aircraft a track of the recording\n"
    "  --aircraft TITLE  the tracks' aircraft (default: the log's own, else the file's name)\n"
    "  --tail N          their tail number (default: the log's registration)\n"
    "  --format F        the inputs' format (igc, gpx, kml, csv or acmi), whatever their names end in\n"
    "  --track N         export only track N (1 is the user's aircraft)\n"
    "  --all             export every track (the default)\n";

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
            else if (!isImportFormat(lowerAscii(value)))
                throw UsageError{"--format must be igc, gpx, kml, csv or acmi, not " + value};
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

TracksExport parseExport(const std::vector<std::string>& args) {
    TracksExport request;
    std::vector<std::string> files;
    bool all = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--all") {
            all = true;
        } else if (word == "--track") {
            if (i + 1 == args.size())
                throw UsageError{"--track needs a number"};
            const std::string& value = args[++i];
            std::size_t number = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), number);
            if (error != std::errc() || end != value.data() + value.size() || number == 0)
                throw UsageError{"--track needs a track number from 1, not " + value};
            request.tracks.push_back(number - 1);
        } else if (word.starts_with("--")) {
            throw UsageError{"unknown option " + word};
        } else {
            files.push_back(word);
        }
    }
    if (files.size() != 2)
        throw UsageError{"export needs the recording and the output"};
    if (all && !request.tracks.empty())
        throw UsageError{"--track and --all cannot go together"};
    request.input = files[0];
    request.output = files[1];
    if (!isExportFormat(request.output))
        throw UsageError{"the output must be a .gpx, .kml, .csv or .acmi file, not " + request.output};
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
        if (args.empty() || (args[0] != "import" && args[0] != "export"))
            throw UsageError{args.empty() ? "a command is required" : "unknown command " + args[0]};
        if (args[0] == "export") {
            exportTracks(parseExport(args), std::cout);
            return 0;
        }
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
