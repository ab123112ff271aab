#include "profile/ProfileFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

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

} // namespace

FileText readFile(const char* path) {
    FileText text;
    // Non-blocking, so that a FIFO under the name cannot stall us; regular files ignore the flag.
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        text.state =
            errno == ENOENT || errno == ENOTDIR ? FileText::State::Missing : FileText::State::Unreadable;
        return text;
    }
    struct stat st {};
    text.state = FileText::State::Unreadable;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        char chunk[65536];
        ssize_t n;
        while ((n = ::read(fd, chunk, sizeof chunk)) > 0 || (n < 0 && errno == EINTR))
            if (n > 0)
                text.bytes.append(chunk, static_cast<std::size_t>(n));
        if (n == 0)
            text.state = FileText::State::Read;
    }
    ::close(fd);
    if (text.state != FileText::State::Read)
        text.bytes.clear();
    return text;
}

std::optional<IniDocument> readDocument(const char* path) {
    if (path == nullptr || *path == '\0')
        return std::nullopt;
    FileText text = readFile(path);
    if (text.state != FileText::State::Read)
        return std::nullopt;
    return IniDocument(std::move(text.bytes));
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
    return ok;
}

} // namespace profile
