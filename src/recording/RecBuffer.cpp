#include "recording/RecBuffer.h"

#include "common/ZephrelException.h"
#include "recording/TempFile.h"

namespace {

// The header with the record sizes its groups need where none are given.
TrackInfo completed(const TrackInfo& info, uint32_t contCapacity, uint32_t discCapacity) {
    if (contCapacity == 0 || discCapacity == 0)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::StopsRecordingAndPlayback,
                               "RecBuffer::RecBuffer", __LINE__, "Buffer size is 0");
    TrackInfo out = info;
    if (out.format.contRecordSize == 0)
        out.format.contRecordSize = contRecordSize(out.format.ContFlags, out.format.nEngines);
    if (out.format.discRecordSize == 0)
        out.format.discRecordSize = discRecordSize(out.format.DiscFlags);
    return out;
}

} // namespace

RecBuffer::RecBuffer(uint32_t contCapacity, uint32_t discCapacity, const TrackInfo& info, TempFile& tempFile,
                     uint32_t trackId)
    : contCapacity_(contCapacity), discCapacity_(discCapacity), info_(completed(info, contCapacity, discCapacity)),
      tempFile_(&tempFile), trackId_(trackId),
      contArea_(new unsigned char[std::size_t{contCapacity} * info_.format.contRecordSize]),
      discArea_(new unsigned char[std::size_t{discCapacity} * info_.format.discRecordSize]),
      buffer_(contArea_.get(), discArea_.get(), info_.format) {
    tempFile.addTrack(trackId, info_);
    tempFile.expectBlock(contCapacity * info_.format.contRecordSize + discCapacity * info_.format.discRecordSize);
}

void RecBuffer::addSample(const ContData& cont, const DiscData& disc) {
    // A block that could not be written is still held: it goes first, or the sample is refused.
    if (contFill_ >= contCapacity_ || discFill_ >= discCapacity_)
        flush();
    if (contFill_ == 0)
        heldSince_ = cont.timestamp;
    buffer_.setContData(contFill_++, cont);
    ++info_.nCont;
    // Every block opens with the discrete state, so that it can be read from its start.
    if (info_.nDisc == 0 || discFill_ == 0 ||
        !discDataEqual(disc, lastDisc_, info_.format.DiscFlags, info_.format.nEngines)) {
        buffer_.setDiscData(discFill_++, disc);
        ++info_.nDisc;
        lastDisc_ = disc;
    }
    if (contFill_ >= contCapacity_ || discFill_ >= discCapacity_)
        flush();
}

void RecBuffer::flush() {
    // Emptied only once written, so a failed write loses nothing that a later flush can save.
    tempFile_->writeData(trackId_, contArea_.get(), contFill_ * info_.format.contRecordSize, discArea_.get(),
                         discFill_ * info_.format.discRecordSize);
    if (contFill_ != 0 || discFill_ != 0)
        ++blocksWritten_;
    contFill_ = 0;
    discFill_ = 0;
}
