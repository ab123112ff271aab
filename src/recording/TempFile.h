#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/Marker.h"
#include "common/ZflFile.h"
#include "recording/BlockQueue.h"

// The two temporary files of one recording: the track directory (".tmp1": per track its id and
// header) and the data file (".tmp2": the blocks every track's buffer flushes, interleaved). The
// data file may be bounded; it is then a ring that holds the most recent part of the flight, with
// a zero id where the valid data continues at offset 0. Their layout: docs/formats/tempfile.md.
class TempFile {
public:
    // Opens base name + ".tmp1" and then + ".tmp2", both created empty.
    TempFile(std::string baseName, uint32_t maxSize);
    // Opens the files a recording that did not end left behind, unbounded, to read them: every
    // whole track entry and every whole block up to the first one a crash cut short. They are
    // kept when this object goes. TempFileNotOpened when either is missing.
    enum LeftBehind { leftBehind };
    TempFile(std::string baseName, LeftBehind);
    // Closes both files and deletes them, unless they are to be kept.
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    void addTrack(uint32_t trackId, const TrackInfo& info);
    // Appends one block; on a bounded file the oldest blocks it overwrites are given up whole.
    void writeData(uint32_t trackId, const void* cont, uint32_t contBytes, const void* disc, uint32_t discBytes);

    // From now on blocks wait in memory and reach the disk spread over the following frames
    // (BlockQueue), so that buffers filled in the same frame do not all write in it. Reading the
    // data file back, and keeping the files, writes everything waiting first.
    void spreadWrites() { spread_ = true; }
    // Room for a buffer's block more to wait at once, taken when its track is added.
    void expectBlock(uint32_t bytes) { queue_.reserve(bytes + kBlockHeaderSize); }
    // Once per frame while spreading, with the recording's clock: writes the blocks due.
    // TempFileWriteFailed when the disk does not take them; they go on waiting.
    void writeWaiting(uint32_t now);
    // A recording of every track from the start time on (0: everything), each track beginning
    // with the discrete state in force then; included markers at or after it are written and
    // lose their include flag. A file that fails half-way is removed.
    void writeZflFile(const std::string& fileName, uint32_t startTime, std::vector<Marker>* markers);
    // The first time stamp of the oldest block of the track still held, 0xFFFFFFFF if none.
    uint32_t getFirstTimestamp(uint32_t trackId);
    // The earliest and the latest time stamp of any track held; both 0 when none is.
    std::pair<uint32_t, uint32_t> heldTimes();
    // The files stay on disk when this object goes.
    void keepFiles() { keep_ = true; }

    const std::string& baseName() const { return baseName_; }
    uint32_t trackCount() const { return trackCount_; }
    uint32_t maxSize() const { return maxSize_; }
    uint32_t fileEnd() const { return fileEnd_; }
    uint32_t writePos() const { return writePos_; }
    uint32_t readStart() const { return readStart_; }

    static constexpr uint32_t kNoTimestamp = 0xFFFFFFFFu;

private:
    struct Block {
        uint32_t offset; // of the header
        uint32_t trackId;
        uint32_t contBytes;
        uint32_t discBytes;
        uint32_t contOffset() const { return offset + kBlockHeaderSize; }
        uint32_t discOffset() const { return contOffset() + contBytes; }
        uint64_t end() const { return uint64_t{offset} + kBlockHeaderSize + contBytes + discBytes; }
    };
    static constexpr uint32_t kBlockHeaderSize = 12;

    // Whether valid older blocks lie at and after readStart, ahead of the write position.
    bool olderDataAhead() const;
    // Skips the oldest blocks that a block of `length` bytes at writePos would overwrite.
    void discardOverwritten(uint32_t length);
    // The valid blocks, oldest first.
    std::vector<Block> blocks();
    bool readBlockHeader(uint32_t offset, Block& block);
    bool readAt(uint32_t offset, void* data, uint32_t size);
    // Writes the first n waiting blocks.
    void writeFirstWaiting(std::size_t n);
    void writeAllWaiting() { writeFirstWaiting(queue_.size()); }
    void writeAt(uint32_t offset, const void* data, uint32_t size, const char* function, uint32_t line);

    // Both passes over one track's blocks; `area` holds one block's records at a time.
    uint32_t writeContRecords(ZflFile& zfl, uint32_t trackId, const std::vector<Block>& blocks,
                              uint32_t recordSize, uint32_t startTime, std::vector<unsigned char>& area);
    void writeDiscRecords(ZflFile& zfl, uint32_t trackId, const std::vector<Block>& blocks, uint32_t recordSize,
                          uint32_t startTime, std::vector<unsigned char>& area);

    std::string baseName_;
    bool keep_ = false;
    std::FILE* tracks_ = nullptr; // ".tmp1"
    std::FILE* data_ = nullptr;   // ".tmp2"
    uint32_t trackCount_ = 0;
    uint32_t maxSize_ = 0;
    uint32_t fileEnd_ = 0;
    uint32_t writePos_ = 0;
    uint32_t readStart_ = 0;
    bool spread_ = false;
    BlockQueue queue_;     // blocks from diskPosition_ up to writePos_, while spreading
    uint32_t diskPosition_ = 0;
};
