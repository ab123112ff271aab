#pragma once

#include <cstdint>
#include <memory>

#include "common/DataBuffer.h"
#include "common/FlightData.h"
#include "common/ZflFile.h"

class TempFile;

// The records of one track while it is recorded: continuous records every sample, discrete ones
// only when they change and at the start of every block. A full buffer goes to the temporary
// files as one block.
class RecBuffer {
public:
    // Registers the track with the temporary files, with its record sizes filled in.
    RecBuffer(uint32_t contCapacity, uint32_t discCapacity, const TrackInfo& info, TempFile& tempFile,
              uint32_t trackId);
    // Does not flush: whoever destroys a buffer flushes it first.
    ~RecBuffer() = default;
    RecBuffer(const RecBuffer&) = delete;
    RecBuffer& operator=(const RecBuffer&) = delete;

    // Both time stamps already set.
    void addSample(const ContData& cont, const DiscData& disc);
    // Writes what is held as one block (nothing when empty) and empties the buffer.
    void flush();
    // Whether records wait for the next block, and the time stamp of the oldest of them.
    bool holdsRecords() const { return contFill_ != 0; }
    uint32_t heldSince() const { return heldSince_; }
    // Blocks written so far.
    uint32_t blocksWritten() const { return blocksWritten_; }

    // The track's header with its record sizes and running record counts.
    const TrackInfo& trackInfo() const { return info_; }
    uint32_t trackId() const { return trackId_; }

private:
    uint32_t contCapacity_;
    uint32_t discCapacity_;
    TrackInfo info_;
    TempFile* tempFile_;
    uint32_t trackId_;
    std::unique_ptr<unsigned char[]> contArea_;
    std::unique_ptr<unsigned char[]> discArea_;
    uint32_t contFill_ = 0;
    uint32_t discFill_ = 0;
    uint32_t heldSince_ = 0;
    uint32_t blocksWritten_ = 0;
    DataBuffer buffer_;
    DiscData lastDisc_{};
};
