#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "profile/IniDocument.h"

struct stat;

namespace profile {

using FileTime = std::chrono::sys_time<std::chrono::nanoseconds>;

// One version of a file as its status tells it: which file (device, inode), its size, and when its
// text (modified) and its status (changed) last changed. Every write and every setting of the
// times sets the change time from the clock, and nothing sets it back, so an equal stamp means an
// unchanged file, except for a change within the same timestamp step as the one the stamp records.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    FileTime modified;
    FileTime changed;

    bool operator==(const FileStamp&) const = default;
};

FileStamp stampOf(const struct stat& status);

// The parses of the last few profile files read, each kept with its file's stamp at the time, so
// that a run of reads of an unchanged file costs one parse. A parse is kept only if its file had
// been quiet for the settle time when the read began: any later change then falls in a later
// timestamp step and shows in the stamp. A file changed more recently is parsed on every read until
// it has settled. Each kept document holds its file's whole text. Not for concurrent use: the
// profile functions are called from the simulator's thread.
class DocumentCache {
public:
    static constexpr std::size_t kCapacity = 4;
    // Longer than a step of any file system's timestamps (FAT counts in two seconds) and of the
    // kernel's clock for them.
    static constexpr std::chrono::nanoseconds kSettleTime = std::chrono::seconds(2);

    // The cache of the profile functions, made on first use.
    static DocumentCache& instance();

    // The document kept for path if its file still has the stamp it had when read, else null.
    std::shared_ptr<const IniDocument> find(std::string_view path, const FileStamp& stamp);
    // Keeps the document read from path, whose file had the stamp when readStart had passed,
    // unless the file changed within the settle time before readStart. Either way the document
    // kept before for path goes, and beyond kCapacity paths the least recently used one.
    void keep(std::string_view path, const FileStamp& stamp, std::shared_ptr<const IniDocument> document,
              FileTime readStart);
    void forget(std::string_view path);

    // Tests shorten it to see kept documents at work without waiting.
    void setSettleTime(std::chrono::nanoseconds settleTime) { settleTime_ = settleTime; }

private:
    struct Entry {
        std::string path;
        FileStamp stamp;
        std::shared_ptr<const IniDocument> document;
    };

    std::vector<Entry> entries_; // the most recently used last
    std::chrono::nanoseconds settleTime_ = kSettleTime;
};

} // namespace profile
