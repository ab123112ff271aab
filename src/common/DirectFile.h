#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

// A new file written past the system's cache, the disk taking the bytes from our memory: for a
// tool writing a whole recording at once, whose pages the cache would only fill, write back and
// evict again (at 15 MB, three times the processor time). Bytes gather in a buffer and go out in
// whole blocks; the few written again over blocks already out (headers finished last) are read
// back and written block by block. Where the file system takes no such writes, the same is done
// through the cache.
class DirectFile {
public:
    // Created empty, or emptied; nullptr, with errno, where it cannot be.
    static std::unique_ptr<DirectFile> create(const std::string& path);
    ~DirectFile();
    DirectFile(const DirectFile&) = delete;
    DirectFile& operator=(const DirectFile&) = delete;

    // `size` bytes at the position, which moves past them; false where the system refuses them.
    bool write(const void* data, std::size_t size);
    void seek(uint64_t offset) { position_ = offset; }
    uint64_t position() const { return position_; }
    uint64_t size() const { return size_; }
    // The file ends at `size`, what lay past it gone.
    bool truncate(uint64_t size);
    // Everything written out and on the disk.
    bool sync();
    // A stream over the file, for writers of streams; closing it writes out what is left (without
    // waiting for the disk: sync() first for that), closes and frees the file.
    static std::FILE* openStream(std::unique_ptr<DirectFile> file);

    // The unit of the transfers: offsets, lengths and the buffer's address are multiples of it.
    static constexpr std::size_t kBlock = 4096;
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

private:
    explicit DirectFile(int fd, bool direct);
    // The buffer's whole blocks out at its place in the file, its last one padded (the file's size
    // put right after); its bytes are kept, and go out again when changed.
    bool flush();
    // The buffer moved on to `at` (a block's start), holding the bytes of the file there.
    bool moveBuffer(uint64_t at);
    // Bytes over blocks already out: each block read, changed and written again.
    bool patch(uint64_t at, const unsigned char* data, std::size_t size);
    // Whether a transfer that returned `done` is to be made again: interrupted, or refused for
    // its alignment while past the cache (through the cache from then on).
    bool tryAgain(ssize_t done);
    bool writeAt(const unsigned char* data, std::size_t size, uint64_t at);
    bool readAt(unsigned char* data, std::size_t size, uint64_t at);

    int fd_;
    bool direct_;
    std::unique_ptr<unsigned char, void (*)(void*)> buffer_;
    uint64_t bufferAt_ = 0;    // where the buffer's first byte belongs in the file
    std::size_t filled_ = 0;   // the buffer's bytes that hold the file (zeros where never written)
    bool dirty_ = false;       // some of them not out yet
    uint64_t position_ = 0;
    uint64_t size_ = 0;
};
