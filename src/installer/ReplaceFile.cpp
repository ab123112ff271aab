#include "installer/ReplaceFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include "installer/XmlError.h"

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what, int error) {
    throw XmlError(what + ": " + std::strerror(error));
}

// The new file, removed again unless it was given the old one's name.
class NewFile {
public:
    explicit NewFile(const fs::path& target) {
        std::random_device random;
        for (int attempt = 0; attempt < 16 && descriptor_ < 0; ++attempt) {
            path_ = target.string() + "." + std::to_string(random()) + ".new";
            // The process's umask applies, as it does to a file written in place.
            descriptor_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (descriptor_ < 0 && errno != EEXIST)
                break;
        }
        if (descriptor_ < 0)
            fail("cannot create a new file beside " + target.string(), errno);
    }
    ~NewFile() {
        if (descriptor_ >= 0)
            ::close(descriptor_);
        if (!renamed_)
            ::unlink(path_.c_str());
    }
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    void write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                fail("cannot write " + path_, written < 0 ? errno : ENOSPC);
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    void takePermissionsOf(const fs::path& target) {
        struct stat old {};
        if (::stat(target.c_str(), &old) == 0 && ::fchmod(descriptor_, old.st_mode & 07777) != 0)
            fail("cannot set the permissions of " + path_, errno);
    }
    void finish(const fs::path& target) {
        if (::fsync(descriptor_) != 0)
            fail("cannot write " + path_, errno);
        const int closed = ::close(descriptor_);
        descriptor_ = -1;
        if (closed != 0)
            fail("cannot write " + path_, errno);
        if (::rename(path_.c_str(), target.c_str()) != 0)
            fail("cannot replace " + target.string(), errno);
        renamed_ = true;
    }

private:
    std::string path_;
    int descriptor_ = -1;
    bool renamed_ = false;
};

// The folder's entry of the new name on the disk too.
void syncFolder(const fs::path& folder) {
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

} // namespace

void replaceFile(const std::string& path, std::string_view bytes) {
    std::error_code error;
    fs::path target = path;
    if (fs::is_symlink(target, error)) {
        target = fs::weakly_canonical(target, error);
        if (error)
            fail("cannot follow the link " + path, error.value());
    }
    NewFile file(target);
    file.write(bytes);
    file.takePermissionsOf(target);
    file.finish(target);
    syncFolder(target.parent_path());
}
