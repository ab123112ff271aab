#include "recording/TempFile.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "common/ZephrelException.h"

namespace {

constexpr uint32_t kWrapMark = 0;

static_assert(sizeof(TrackInfo) == 304, "a track directory entry holds the header in its in-memory form");
constexpr uint64_t kEntrySize = sizeof(uint32_t) + sizeof(TrackInfo);

[[noreturn]] void fail(ErrorCode code, const char* function, uint32_t line, std::string_view detail = {}) {
    throw ZephrelException::stopping(code, function, line, detail);
}

[[noreturn]] void notOpened(const char* function, uint32_t line) {
    fail(ErrorCode::Unexpected, function, line, "File not opened");
}

std::FILE* openEmpty(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "w+b");
    if (file == nullptr)
        fail(ErrorCode::TempFileNotOpened, "TempFile::TempFile", __LINE__, path);
    return file;
}

uint32_t timestampAt(const unsigned char* record) {
    uint32_t timestamp;
    std::memcpy(&timestamp, record, sizeof timestamp);
    return timestamp;
}

} // namespace

TempFile::TempFile(std::string baseName, uint32_t maxSize) : baseName_(std::move(baseName)), maxSize_(maxSize) {
    tracks_ = openEmpty(baseName_ + ".tmp1");
    try {
        data_ = openEmpty(baseName_ + ".tmp2");
    } catch (...) {
        std::fclose(tracks_);
        std::remove((baseName_ + ".tmp1").c_str());
        throw;
    }
}

TempFile::TempFile(std::string baseName, LeftBehind) : baseName_(std::move(baseName)), keep_(true) {
    const std::string directory = baseName_ + ".tmp1", data = baseName_ + ".tmp2";
    tracks_ = std::fopen(directory.c_str(), "rb");
    data_ = std::fopen(data.c_str(), "rb");
    if (tracks_ == nullptr || data_ == nullptr) {
        const bool directoryMissing = tracks_ == nullptr;
        if (tracks_ != nullptr)
            std::fclose(tracks_);
        if (data_ != nullptr)
            std::fclose(data_);
        fail(ErrorCode::TempFileNotOpened, "TempFile::TempFile", __LINE__, directoryMissing ? directory : data);
    }
    const auto sizeOf = [](std::FILE* file) {
        std::fseek(file, 0, SEEK_END);
        return static_cast<uint64_t>(std::max(std::ftell(file), 0L));
    };
    trackCount_ = static_cast<uint32_t>(std::min<uint64_t>(sizeOf(tracks_) / kEntrySize, UINT32_MAX));
    fileEnd_ = static_cast<uint32_t>(std::min<uint64_t>(sizeOf(data_), UINT32_MAX));
    // Written in order and never wrapped: the valid data ends where the first block is cut short.
    Block block{};
    while (readBlockHeader(writePos_, block))
        writePos_ = static_cast<uint32_t>(block.end());
}

TempFile::~TempFile() {
    if (keep_) {
        try {
            writeAllWaiting();
        } catch (const ZephrelException&) {
            // What the disk would not take is lost; what it took stays.
        }
    }
    if (tracks_ != nullptr)
        std::fclose(tracks_);
    if (data_ != nullptr)
        std::fclose(data_);
    if (keep_)
        return;
    std::remove((baseName_ + ".tmp1").c_str());
    std::remove((baseName_ + ".tmp2").c_str());
}

// ---- writing ----

void TempFile::addTrack(uint32_t trackId, const TrackInfo& info) {
    constexpr const char* kFunction = "TempFile::addTrack";
    if (tracks_ == nullptr)
        notOpened(kFunction, __LINE__);
    if (std::fseek(tracks_, 0, SEEK_END) != 0 || std::fwrite(&trackId, sizeof trackId, 1, tracks_) != 1 ||
        std::fwrite(&info, sizeof info, 1, tracks_) != 1 || std::fflush(tracks_) != 0)
        fail(ErrorCode::TempFileWriteFailed, kFunction, __LINE__);
    ++trackCount_;
}

void TempFile::writeAt(uint32_t offset, const void* data, uint32_t size, const char* function, uint32_t line) {
    if (std::fseek(data_, static_cast<long>(offset), SEEK_SET) != 0 ||
        (size != 0 && std::fwrite(data, 1, size, data_) != size))
        fail(ErrorCode::TempFileWriteFailed, function, line);
}

bool TempFile::olderDataAhead() const {
    // Behind the write position lies only the newest data; once the ring has wrapped the oldest
    // block starts at or after it (at the very position when the ring is full to the byte).
    return readStart_ > writePos_ || (readStart_ == writePos_ && fileEnd_ != 0);
}

void TempFile::discardOverwritten(uint32_t length) {
    while (readStart_ < writePos_ + length) {
        Block oldest{};
        if (!readBlockHeader(readStart_, oldest)) {
            // The end of the older lap: the oldest data left is the newest lap's, from offset 0.
            readStart_ = 0;
            return;
        }
        readStart_ = static_cast<uint32_t>(oldest.end());
    }
}

void TempFile::writeData(uint32_t trackId, const void* cont, uint32_t contBytes, const void* disc,
                         uint32_t discBytes) {
    constexpr const char* kFunction = "TempFile::writeData";
    if (contBytes == 0 && discBytes == 0)
        return;
    if (data_ == nullptr)
        notOpened(kFunction, __LINE__);
    if (trackId == 0)
        return;
    const uint64_t length = uint64_t{contBytes} + kBlockHeaderSize + discBytes;
    if (maxSize_ != 0) {
        if (length > maxSize_)
            return; // the track has a gap rather than the ring losing everything else
        if (writePos_ + length > maxSize_) {
            writeAllWaiting(); // the waiting blocks end where the wrap mark goes
            writeAt(writePos_, &kWrapMark, sizeof kWrapMark, kFunction, __LINE__);
            writePos_ = 0;
            readStart_ = 0;
            diskPosition_ = 0;
        }
        if (olderDataAhead())
            discardOverwritten(static_cast<uint32_t>(length));
    } else if (writePos_ + length > UINT32_MAX) {
        // Offsets are 32-bit: an unbounded file cannot grow past them.
        fail(ErrorCode::TempFileWriteFailed, kFunction, __LINE__);
    }
    const uint32_t header[3] = {trackId, contBytes, discBytes};
    const uint32_t end = writePos_ + static_cast<uint32_t>(length);
    if (spread_) {
        const BlockQueue::Part parts[] = {{header, sizeof header}, {cont, contBytes}, {disc, discBytes}};
        queue_.push(end, parts, std::size(parts));
    } else {
        writeAt(writePos_, header, sizeof header, kFunction, __LINE__);
        if ((contBytes != 0 && std::fwrite(cont, 1, contBytes, data_) != contBytes) ||
            (discBytes != 0 && std::fwrite(disc, 1, discBytes, data_) != discBytes) || std::fflush(data_) != 0)
            fail(ErrorCode::TempFileWriteFailed, kFunction, __LINE__);
        diskPosition_ = end;
    }
    writePos_ = end;
    fileEnd_ = std::max(fileEnd_, writePos_);
}

void TempFile::writeWaiting(uint32_t now) {
    queue_.tick(now);
    if (!queue_.empty())
        writeFirstWaiting(queue_.due(diskPosition_));
}

void TempFile::writeFirstWaiting(std::size_t n) {
    if (n == 0)
        return;
    const uint32_t end = queue_.endOf(n);
    const uint32_t size = end - diskPosition_;
    // Failures keep the blocks waiting: they are written again from the same place.
    if (std::fseek(data_, static_cast<long>(diskPosition_), SEEK_SET) != 0 ||
        std::fwrite(queue_.bytes(), 1, size, data_) != size || std::fflush(data_) != 0)
        fail(ErrorCode::TempFileWriteFailed, "TempFile::writeData", __LINE__);
    diskPosition_ = end;
    queue_.pop(n, diskPosition_);
}

// ---- reading back ----

bool TempFile::readAt(uint32_t offset, void* data, uint32_t size) {
    return std::fseek(data_, static_cast<long>(offset), SEEK_SET) == 0 && std::fread(data, 1, size, data_) == size;
}

bool TempFile::readBlockHeader(uint32_t offset, Block& block) {
    uint32_t header[3];
    if (!readAt(offset, header, sizeof header) || header[0] == kWrapMark)
        return false;
    block = {offset, header[0], header[1], header[2]};
    return block.end() <= fileEnd_;
}

std::vector<TempFile::Block> TempFile::blocks() {
    writeAllWaiting();
    std::vector<Block> found;
    if (data_ == nullptr || fileEnd_ == 0)
        return found; // nothing was ever written, or every block was too large for the ring
    // Older blocks run from readStart to the wrap mark; the newest from offset 0 to writePos.
    bool fromStart = !olderDataAhead();
    uint32_t position = readStart_;
    for (;;) {
        if (fromStart && position >= writePos_)
            return found;
        Block block{};
        if (!readBlockHeader(position, block)) {
            if (fromStart)
                return found;
            fromStart = true;
            position = 0;
            continue;
        }
        found.push_back(block);
        position = static_cast<uint32_t>(block.end());
    }
}

std::pair<uint32_t, uint32_t> TempFile::heldTimes() {
    std::unordered_map<uint32_t, uint32_t> recordSizes; // of each track's continuous records
    if (std::fflush(tracks_) != 0 || std::fseek(tracks_, 0, SEEK_SET) != 0)
        return {0, 0};
    for (uint32_t i = 0; i < trackCount_; ++i) {
        uint32_t trackId = 0;
        TrackInfo info{};
        if (std::fread(&trackId, sizeof trackId, 1, tracks_) != 1 || std::fread(&info, sizeof info, 1, tracks_) != 1)
            break;
        recordSizes[trackId] = info.format.contRecordSize;
    }
    uint32_t first = kNoTimestamp, last = 0;
    for (const Block& block : blocks()) {
        const auto size = recordSizes.find(block.trackId);
        uint32_t begins = 0, ends = 0;
        if (size == recordSizes.end() || size->second == 0 || block.contBytes < size->second ||
            !readAt(block.contOffset(), &begins, sizeof begins) ||
            !readAt(block.contOffset() + (block.contBytes / size->second - 1) * size->second, &ends, sizeof ends))
            continue;
        first = std::min(first, begins);
        last = std::max(last, ends);
    }
    return first == kNoTimestamp ? std::pair<uint32_t, uint32_t>{0, 0} : std::pair{first, last};
}

uint32_t TempFile::getFirstTimestamp(uint32_t trackId) {
    for (const Block& block : blocks())
        if (block.trackId == trackId) {
            uint32_t timestamp;
            return readAt(block.contOffset(), &timestamp, sizeof timestamp) ? timestamp : kNoTimestamp;
        }
    return kNoTimestamp;
}

// ---- the recording file ----

void TempFile::writeZflFile(const std::string& fileName, uint32_t startTime, std::vector<Marker>* markers) {
    constexpr const char* kFunction = "TempFile::writeZflFile";
    if (tracks_ == nullptr)
        notOpened(kFunction, __LINE__);
    ZflFile zfl;
    zfl.open(fileName, ZflFile::Write);
    try {
        if (std::fflush(tracks_) != 0 || std::fseek(tracks_, 0, SEEK_SET) != 0)
            fail(ErrorCode::TempFileReadFailed, kFunction, __LINE__);
        const std::vector<Block> held = blocks();
        std::vector<unsigned char> area;
        for (uint32_t i = 0; i < trackCount_; ++i) {
            uint32_t trackId = 0;
            TrackInfo info{};
            if (std::fread(&trackId, sizeof trackId, 1, tracks_) != 1 || std::fread(&info, sizeof info, 1, tracks_) != 1)
                fail(ErrorCode::TempFileReadFailed, kFunction, __LINE__);
            zfl.addTrack(info);
            if (writeContRecords(zfl, trackId, held, info.format.contRecordSize, startTime, area) != 0)
                writeDiscRecords(zfl, trackId, held, info.format.discRecordSize, startTime, area);
        }
        if (markers != nullptr)
            for (const Marker& marker : *markers)
                if (marker.include != 0 && marker.time >= startTime)
                    zfl.addMarker(marker);
        zfl.close();
        // Written once, and only once the file is complete: a failed file leaves them to the next.
        if (markers != nullptr)
            for (Marker& marker : *markers)
                if (marker.include != 0 && marker.time >= startTime)
                    marker.include = 0;
    } catch (...) {
        // A file of that name, if there is one, stays as it was.
        zfl.discard();
        throw;
    }
}

uint32_t TempFile::writeContRecords(ZflFile& zfl, uint32_t trackId, const std::vector<Block>& blocks,
                                    uint32_t recordSize, uint32_t startTime, std::vector<unsigned char>& area) {
    uint32_t written = 0;
    for (const Block& block : blocks) {
        if (block.trackId != trackId || block.contBytes < recordSize || recordSize == 0)
            continue;
        area.resize(block.contBytes);
        if (!readAt(block.contOffset(), area.data(), block.contBytes))
            break; // a damaged block ends the track's data here
        const uint32_t count = block.contBytes / recordSize;
        uint32_t first = 0;
        if (startTime != 0)
            while (first < count && timestampAt(area.data() + std::size_t{first} * recordSize) < startTime)
                ++first;
        if (first < count) {
            zfl.writeContData(count - first, area.data() + std::size_t{first} * recordSize);
            written += count - first;
        }
    }
    return written;
}

void TempFile::writeDiscRecords(ZflFile& zfl, uint32_t trackId, const std::vector<Block>& blocks,
                                uint32_t recordSize, uint32_t startTime, std::vector<unsigned char>& area) {
    // The last state at or before the start time, written first so the track begins in it.
    std::vector<unsigned char> held;
    bool wroteAny = false;
    for (const Block& block : blocks) {
        if (block.trackId != trackId || block.discBytes < recordSize || recordSize == 0)
            continue;
        area.resize(block.discBytes);
        if (!readAt(block.discOffset(), area.data(), block.discBytes))
            break;
        const uint32_t count = block.discBytes / recordSize;
        uint32_t first = 0;
        if (startTime != 0) {
            while (first < count && timestampAt(area.data() + std::size_t{first} * recordSize) <= startTime) {
                held.assign(area.data() + std::size_t{first} * recordSize, area.data() + std::size_t{first + 1} * recordSize);
                ++first;
            }
            if (first < count && !wroteAny && !held.empty()) {
                zfl.writeDiscData(1, held.data());
                wroteAny = true;
            }
        }
        if (first < count) {
            zfl.writeDiscData(count - first, area.data() + std::size_t{first} * recordSize);
            wroteAny = true;
        }
    }
    if (!wroteAny && !held.empty())
        zfl.writeDiscData(1, held.data());
}
