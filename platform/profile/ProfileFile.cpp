#include "profile/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <utility>

#include "profile/DocumentCache.h"

namespace profile {

namespace {

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A file opened for reading, closed when this goes. state is Read for a regular file, else
// Missing or Unreadable as readFile tells them apart.
struct OpenedFile {
    explicit OpenedFile(const char* path) {
        // Non-blocking, so that a FIFO under the name cannot stall us; regular files ignore the flag.
        fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            state =
                errno == ENOENT || errno == ENOTDIR ? FileText::State::Missing : FileText::State::Unreadable;
        else if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode))
            state = FileText::State::Read;
    }
    ~OpenedFile() {
        if (fd >= 0)
            ::close(fd);
    }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;

    int fd = -1;
    FileText::State state = FileText::State::Unreadable;
    struct stat status {};
};

// The whole of a file just opened, into bytes (empty before); false if a read fails.
bool readToEnd(const OpenedFile& file, std::string& bytes) {
    // The size from the status spares the copies of a growing string; a file that grows meanwhile
    // is read to its new end all the same.
    bytes.reserve(static_cast<std::size_t>(file.status.st_size));
    char chunk[65536];
    ssize_t n;
    while ((n = ::read(file.fd, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR))
        if (n > 0)
            bytes.append(chunk, static_cast<std::size_t>(n));
    return n == 0;
}

} // namespace

FileText readFile(const char* path) {
    const OpenedFile file(path);
    FileText text;
    text.state = file.state;
    if (text.state == FileText::State::Read && !readToEnd(file, text.bytes)) {
        text.state = FileText::State::Unreadable;
        text.bytes.clear();
    }
    return text;
}

std::shared_ptr<const IniDocument> readDocument(const char* path) {
    if (path == nullptr || *path == '\0')
        return nullptr;
    DocumentCache& cache = DocumentCache::instance();
    // Taken ahead of the status, so that whatever changes the file from here on shows in it.
    const FileTime readStart = std::chrono::system_clock::now();
    const OpenedFile file(path);
    std::string bytes;
    if (file.state == FileText::State::Read) {
        const FileStamp stamp = stampOf(file.status);
        if (auto kept = cache.find(path, stamp))
            return kept;
        if (readToEnd(file, bytes)) {
            auto document = std::make_shared<const IniDocument>(std::move(bytes));
            cache.keep(path, stamp, document, readStart);
            return document;
        }
    }
    cache.forget(path);
    return nullptr;
}

bool replaceFile(const char* path, const std::string& bytes) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target(path);
    if (fs::is_symlink(target, error)) {
        target = fs::weakly_canonical(target, error);
        if (error)
            return false;
    }
    struct stat st {};
    const bool exists = ::stat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0))
        return false;

    // A name no other writer uses; a stale one left by a crashed process is skipped.
    static std::atomic<unsigned> counter{0};
    std::string hidden = ".";
    hidden += target.filename().string();
    const std::string prefix =
        (target.parent_path() / hidden).string() + "." + std::to_string(::getpid()) + "-";
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = prefix + std::to_string(counter++) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, exists ? st.st_mode & 0777 : 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes);
    if (exists) {
        // The owner is kept where we may change it; the mode must match.
        [[maybe_unused]] const int owned = ::fchown(fd, st.st_uid, st.st_gid);
        ok = ok && ::fchmod(fd, st.st_mode & 07777) == 0;
    }
    // No fsync: the rename alone makes a crash leave the old or the new text, and settings are
    // written one key per call, where a flush each time would cost more than the file is worth.
    ok = ::close(fd) == 0 && ok;
    ok = ok && std::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    // Whatever the outcome, the next read looks at the file itself rather than at a stamp.
    DocumentCache::instance().forget(path);
    return ok;
}

} // namespace profile
