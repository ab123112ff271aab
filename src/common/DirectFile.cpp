#include "common/DirectFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

uint64_t blockStart(uint64_t at) {
    return at - at % DirectFile::kBlock;
}

std::size_t wholeBlocks(std::size_t size) {
    return (size + DirectFile::kBlock - 1) / DirectFile::kBlock * DirectFile::kBlock;
}

unsigned char* alignedBlocks(std::size_t size) {
    return static_cast<unsigned char*>(std::aligned_alloc(DirectFile::kBlock, size));
}

} // namespace

std::unique_ptr<DirectFile> DirectFile::create(const std::string& path) {
    constexpr int kFlags = O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC;
    bool direct = true;
    int fd = ::open(path.c_str(), kFlags | O_DIRECT, 0666);
    if (fd < 0 && errno == EINVAL) {
        direct = false; // a file system that takes no writes past its cache
        fd = ::open(path.c_str(), kFlags, 0666);
    }
    if (fd < 0)
        return nullptr;
    std::unique_ptr<DirectFile> file(new DirectFile(fd, direct));
    if (file->buffer_ == nullptr) {
        errno = ENOMEM;
        return nullptr;
    }
    return file;
}

DirectFile::DirectFile(int fd, bool direct) : fd_(fd), direct_(direct), buffer_(alignedBlocks(kBufferSize), std::free) {}

DirectFile::~DirectFile() {
    ::close(fd_);
}

bool DirectFile::write(const void* data, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        std::size_t count = 0;
        if (position_ < bufferAt_) {
            count = static_cast<std::size_t>(std::min<uint64_t>(size, bufferAt_ - position_));
            if (!patch(position_, bytes, count))
                return false;
        } else if (position_ >= bufferAt_ + kBufferSize) {
            if (!moveBuffer(blockStart(position_)))
                return false;
            continue;
        } else {
            const auto offset = static_cast<std::size_t>(position_ - bufferAt_);
            count = std::min(size, kBufferSize - offset);
            if (offset > filled_)
                std::memset(buffer_.get() + filled_, 0, offset - filled_);
            std::memcpy(buffer_.get() + offset, bytes, count);
            filled_ = std::max(filled_, offset + count);
            dirty_ = true;
        }
        bytes += count;
        size -= count;
        position_ += count;
        size_ = std::max(size_, position_);
    }
    return true;
}

bool DirectFile::truncate(uint64_t size) {
    if (!flush() || ftruncate(fd_, static_cast<off_t>(size)) != 0)
        return false;
    size_ = size;
    if (size >= bufferAt_ + filled_)
        return true;
    if (size >= bufferAt_) {
        filled_ = static_cast<std::size_t>(size - bufferAt_);
        return true;
    }
    return moveBuffer(blockStart(size));
}

bool DirectFile::sync() {
    return flush() && fsync(fd_) == 0;
}

bool DirectFile::flush() {
    if (!dirty_)
        return true;
    const std::size_t length = wholeBlocks(filled_);
    std::memset(buffer_.get() + filled_, 0, length - filled_);
    if (!writeAt(buffer_.get(), length, bufferAt_))
        return false;
    // The last block went out whole: the file ends where it was written to.
    if (length != filled_ && ftruncate(fd_, static_cast<off_t>(size_)) != 0)
        return false;
    dirty_ = false;
    return true;
}

bool DirectFile::moveBuffer(uint64_t at) {
    if (!flush())
        return false;
    bufferAt_ = at;
    filled_ = 0;
    if (size_ <= at)
        return true;
    const auto held = static_cast<std::size_t>(std::min<uint64_t>(kBufferSize, size_ - at));
    if (!readAt(buffer_.get(), wholeBlocks(held), at))
        return false;
    filled_ = held;
    return true;
}

bool DirectFile::patch(uint64_t at, const unsigned char* data, std::size_t size) {
    const std::unique_ptr<unsigned char, void (*)(void*)> block(alignedBlocks(kBlock), std::free);
    if (block == nullptr)
        return false;
    while (size > 0) {
        const uint64_t start = blockStart(at);
        const auto offset = static_cast<std::size_t>(at - start);
        const std::size_t count = std::min(size, kBlock - offset);
        if (!readAt(block.get(), kBlock, start))
            return false;
        std::memcpy(block.get() + offset, data, count);
        if (!writeAt(block.get(), kBlock, start))
            return false;
        at += count;
        data += count;
        size -= count;
    }
    return true;
}

bool DirectFile::tryAgain(ssize_t done) {
    if (done >= 0)
        return false;
    if (errno == EINTR)
        return true;
    if (errno != EINVAL || !direct_)
        return false;
    // Blocks of another size than ours: through the cache from here on.
    direct_ = false;
    return fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_DIRECT) == 0;
}

bool DirectFile::writeAt(const unsigned char* data, std::size_t size, uint64_t at) {
    while (size > 0) {
        const ssize_t done = pwrite(fd_, data, size, static_cast<off_t>(at));
        if (tryAgain(done))
            continue;
        if (done <= 0)
            return false;
        data += done;
        size -= static_cast<std::size_t>(done);
        at += static_cast<uint64_t>(done);
    }
    return true;
}

bool DirectFile::readAt(unsigned char* data, std::size_t size, uint64_t at) {
    while (size > 0) {
        const ssize_t done = pread(fd_, data, size, static_cast<off_t>(at));
        if (tryAgain(done))
            continue;
        if (done < 0)
            return false;
        if (done == 0) {
            std::memset(data, 0, size); // past the file's end
            return true;
        }
        data += done;
        size -= static_cast<std::size_t>(done);
        at += static_cast<uint64_t>(done);
    }
    return true;
}

std::FILE* DirectFile::openStream(std::unique_ptr<DirectFile> file) {
    cookie_io_functions_t functions{};
    // A failed write is told by writing nothing: the stream takes anything less than all as one.
    functions.write = [](void* cookie, const char* data, std::size_t size) -> ssize_t {
        return static_cast<DirectFile*>(cookie)->write(data, size) ? static_cast<ssize_t>(size) : 0;
    };
    functions.seek = [](void* cookie, off64_t* offset, int whence) -> int {
        auto& self = *static_cast<DirectFile*>(cookie);
        const uint64_t from = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? self.position() : self.size();
        if (*offset < 0 && uint64_t{0} - static_cast<uint64_t>(*offset) > from) {
            errno = EINVAL;
            return -1;
        }
        self.seek(from + static_cast<uint64_t>(*offset));
        *offset = static_cast<off64_t>(self.position());
        return 0;
    };
    functions.close = [](void* cookie) -> int {
        const std::unique_ptr<DirectFile> closed(static_cast<DirectFile*>(cookie));
        return closed->flush() ? 0 : -1;
    };
    std::FILE* stream = fopencookie(file.get(), "w", functions);
    if (stream != nullptr)
        file.release();
    return stream;
}
