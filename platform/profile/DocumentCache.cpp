#include "profile/DocumentCache.h"

#include <sys/stat.h>

#include <algorithm>
#include <utility>

namespace profile {

namespace {

FileTime fileTime(const struct timespec& time) {
    return FileTime(std::chrono::seconds(time.tv_sec) + std::chrono::nanoseconds(time.tv_nsec));
}

} // namespace

FileStamp stampOf(const struct stat& status) {
    return {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino),
            static_cast<int64_t>(status.st_size), fileTime(status.st_mtim), fileTime(status.st_ctim)};
}

DocumentCache& DocumentCache::instance() {
    // Made on first use, so that loading the library runs nothing.
    static DocumentCache cache;
    return cache;
}

std::shared_ptr<const IniDocument> DocumentCache::find(std::string_view path, const FileStamp& stamp) {
    const auto entry =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) { return e.path == path; });
    if (entry == entries_.end() || entry->stamp != stamp)
        return nullptr;
    std::rotate(entry, entry + 1, entries_.end());
    return entries_.back().document;
}

void DocumentCache::keep(std::string_view path, const FileStamp& stamp,
                         std::shared_ptr<const IniDocument> document, FileTime readStart) {
    forget(path);
    // A change after readStart shows in the stamp only if it falls in a later timestamp step than
    // the change the stamp records, which a file quiet for the settle time guarantees. The
    // modification time counts too, for file systems whose "change time" is when the file was made.
    if (std::max(stamp.modified, stamp.changed) >= readStart - settleTime_)
        return;
    if (entries_.size() == kCapacity)
        entries_.erase(entries_.begin());
    entries_.push_back(Entry{std::string(path), stamp, std::move(document)});
}

void DocumentCache::forget(std::string_view path) {
    std::erase_if(entries_, [&](const Entry& e) { return e.path == path; });
}

} // namespace profile
