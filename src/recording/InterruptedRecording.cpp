#include "recording/InterruptedRecording.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "common/Ticks.h"
#include "recording/TempFile.h"

namespace fs = std::filesystem;

namespace InterruptedRecording {

namespace {

constexpr const char* kPrefix = "ZephrelInterrupted-";
constexpr const char* kExtensions[] = {".tmp0", ".tmp1", ".tmp2"};

// The number N of "ZephrelInterrupted-N.tmp0", 0 for any other name.
unsigned keptNumber(const fs::path& journal) {
    const std::string name = journal.filename().string();
    const std::string prefix = kPrefix;
    if (journal.extension() != ".tmp0" || name.compare(0, prefix.size(), prefix) != 0)
        return 0;
    const std::string digits = journal.stem().string().substr(prefix.size());
    if (digits.empty() || digits.size() > 6 || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return 0;
    return static_cast<unsigned>(std::stoul(digits));
}

} // namespace

std::optional<std::string> setAside(const std::string& baseName) {
    if (!fs::exists(RecordingJournal::path(baseName)))
        return std::nullopt;
    const fs::path folder = fs::path(baseName).parent_path();
    std::string kept;
    for (unsigned n = 1;; ++n) {
        kept = (folder / (kPrefix + std::to_string(n))).string();
        if (!fs::exists(RecordingJournal::path(kept)))
            break;
    }
    // The journal goes last: until it has moved, the next start finds the files where they were.
    for (const char* extension : {".tmp1", ".tmp2", ".tmp0"}) {
        std::error_code ignored;
        fs::rename(baseName + extension, kept + extension, ignored);
    }
    return kept;
}

std::vector<std::string> findAll(const std::string& folder) {
    std::vector<std::pair<unsigned, std::string>> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error))
        if (const unsigned n = keptNumber(entry.path()); n != 0)
            found.emplace_back(n, (entry.path().parent_path() / entry.path().stem()).string());
    std::sort(found.begin(), found.end());
    std::vector<std::string> bases;
    for (auto& [n, base] : found)
        bases.push_back(std::move(base));
    return bases;
}

std::string Summary::description() const {
    const uint32_t shownMinutes = std::max<uint32_t>(minutes, 1);
    return std::to_string(aircraft) + " aircraft, " + std::to_string(shownMinutes) +
           (shownMinutes == 1 ? " minute" : " minutes") + ", from " + (began ? began->text() : "an unknown date");
}

std::string Summary::question() const {
    return "An interrupted recording was found (" + description() + "). Save it?";
}

Summary summarize(const std::string& baseName) {
    TempFile files(baseName, TempFile::leftBehind);
    Summary summary;
    summary.aircraft = files.trackCount();
    const auto [first, last] = files.heldTimes();
    constexpr uint32_t kMinute = 60 * kTicksPerSecond;
    summary.minutes = (last - first + kMinute / 2) / kMinute;
    if (const std::optional<RecordingJournal::Contents> journal = RecordingJournal::read(baseName))
        summary.began = journal->began;
    return summary;
}

void save(const std::string& baseName, const std::string& fileName) {
    std::optional<RecordingJournal::Contents> journal = RecordingJournal::read(baseName);
    std::vector<Marker> markers = journal ? std::move(journal->markers) : std::vector<Marker>{};
    {
        TempFile files(baseName, TempFile::leftBehind);
        files.writeZflFile(fileName, 0, &markers);
    }
    discard(baseName);
}

void discard(const std::string& baseName) {
    for (const char* extension : kExtensions)
        std::remove((baseName + extension).c_str());
}

} // namespace InterruptedRecording
