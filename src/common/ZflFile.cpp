#include "common/ZflFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/DirectFile.h"
#include "common/Log.h"
#include "common/MarkerRecord.h"
#include "common/ZephrelException.h"
#include "common/ZflFormat.h"

namespace {

constexpr std::size_t kStreamBuffer = 1 << 16;
constexpr uint64_t kMaxFieldValue = std::numeric_limits<uint32_t>::max();

[[noreturn]] void misuse(const char* function, uint32_t line, const char* detail) {
    throw ZephrelException::stopping(ErrorCode::Unexpected, function, line, detail);
}

bool seekTo(std::FILE* file, uint64_t offset) {
    return offset <= static_cast<uint64_t>(std::numeric_limits<off_t>::max()) &&
           fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
}

uint64_t position(std::FILE* file) {
    off_t at = ftello(file);
    return at < 0 ? 0 : static_cast<uint64_t>(at);
}

// Copies a NUL-padded field into a NUL-terminated string of at most capacity - 1 characters.
void copyField(char* out, std::size_t capacity, const char* field, std::size_t fieldBytes) {
    std::size_t n = strnlen(field, std::min(fieldBytes, capacity - 1));
    std::memcpy(out, field, n);
    std::memset(out + n, 0, capacity - n);
}

// Gives record sizes of 0 their computed value ("as the flags require").
DataFormat withRecordSizes(DataFormat format) {
    if (format.contRecordSize == 0)
        format.contRecordSize = contRecordSize(format.ContFlags, format.nEngines);
    if (format.discRecordSize == 0)
        format.discRecordSize = discRecordSize(format.DiscFlags);
    return format;
}

// Record sizes hold their groups, and a later version's larger records stay within reason: a
// reader sizes its buffers by them, also for a track that has no records of that kind.
constexpr uint32_t kMaxRecordSize = 1 << 16;

bool recordSizesHoldFlags(const DataFormat& format) {
    return format.contRecordSize >= contRecordSize(format.ContFlags & ContGroup::All, format.nEngines) &&
           format.discRecordSize >= discRecordSize(format.DiscFlags & DiscGroup::All) &&
           format.contRecordSize <= kMaxRecordSize && format.discRecordSize <= kMaxRecordSize;
}

// Every marker takes at least its length field and the fields that follow it.
constexpr uint64_t kSmallestMarker = sizeof(uint16_t) + Zfl::kMarkerKnownFields;

} // namespace

ZflFile::~ZflFile() {
    if (file_ == nullptr)
        return;
    Log::log("Warning: ZflFile not closed before destruction", 1, false);
    // A file being written that nobody closed is not known to be whole: it does not take its name.
    if (mode_ == Write) {
        discard();
        return;
    }
    try {
        close();
    } catch (const ZephrelException& e) {
        Log::log(e.logText, 1, false);
    } catch (...) {
        Log::log("Unknown exception in ZflFile desctructor", 1, false);
    }
}

void ZflFile::fail(ErrorCode code, const char* function, uint32_t line) const {
    throw ZephrelException::stopping(code, function, line, path_);
}

void ZflFile::requireOpen(const char* function) const {
    if (file_ == nullptr)
        misuse(function, __LINE__, "File not opened");
}

void ZflFile::requireReadable(const char* function, uint32_t track) const {
    requireOpen(function);
    if (mode_ == Write)
        misuse(function, __LINE__, "Call in write mode");
    if (track >= nTracks_)
        misuse(function, __LINE__, "Track index out of range");
}

void ZflFile::requireWritable(const char* function) const {
    requireOpen(function);
    if (mode_ == Read)
        misuse(function, __LINE__, "Call in read mode");
}

void ZflFile::reset() {
    file_ = nullptr;
    direct_ = nullptr;
    mode_ = Read;
    version_ = 0;
    nTracks_ = 0;
    tracks_.clear();
    dataOffsets_.clear();
    tracksSize_ = 0;
    curDataSize_ = 0;
    hasCurrentTrack_ = false;
    nMarkers_ = 0;
    markersOffset_ = 0;
    markersSize_ = 0;
    markerOffsets_.clear();
}

// ---- opening and closing ----

void ZflFile::open(const std::string& path, Mode mode) {
    close();
    reset();
    path_ = path;
    std::FILE* file = nullptr;
    if (mode == WriteDirect) {
        std::unique_ptr<DirectFile> direct = DirectFile::create(stagingPath());
        DirectFile* const written = direct.get();
        file = direct != nullptr ? DirectFile::openStream(std::move(direct)) : nullptr;
        direct_ = file != nullptr ? written : nullptr;
    } else {
        file = std::fopen(mode == Read ? path.c_str() : stagingPath().c_str(), mode == Read ? "rb" : "wb");
    }
    if (file == nullptr)
        fail(ErrorCode::FileNotOpened, "ZflFile::open", __LINE__);
    // The stream needs a buffer of ours to use this size; it outlives every stream of this object.
    // A file written past the cache has a buffer of its own, which a second would only copy into.
    if (direct_ != nullptr) {
        std::setvbuf(file, nullptr, _IONBF, 0);
    } else {
        streamBuffer_.resize(kStreamBuffer);
        std::setvbuf(file, streamBuffer_.data(), _IOFBF, streamBuffer_.size());
    }
    file_ = file;
    mode_ = mode == Read ? Read : Write;
    try {
        if (mode_ == Write) {
            version_ = Zfl::kVersion;
            tracks_.resize(1);
            dataOffsets_.resize(1);
            writeFileHeader("ZflFile::open");
            return;
        }
        struct stat st {};
        const uint64_t fileSize = fstat(fileno(file), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
        readFileHeader(fileSize);
        for (uint32_t i = 0; i < nTracks_; ++i)
            readTrackHeader(fileSize);
        markersOffset_ = position(file_);
        // Like the track count, a marker count the rest of the file cannot hold is damage, and
        // must not decide how much memory a reader takes.
        if (nMarkers_ > (fileSize - std::min(fileSize, markersOffset_)) / kSmallestMarker)
            fail(ErrorCode::InvalidFile, "ZflFile::open", __LINE__);
        markerOffsets_.push_back(markersOffset_);
    } catch (...) {
        mode_ == Write ? discard() : close();
        throw;
    }
}

void ZflFile::discard() {
    if (file_ == nullptr)
        return;
    std::fclose(file_);
    if (mode_ == Write)
        std::remove(stagingPath().c_str());
    reset();
}

void ZflFile::close() {
    if (file_ == nullptr)
        return;
    if (mode_ == Write) {
        closeWriting();
        return;
    }
    std::fclose(file_);
    reset();
}

void ZflFile::closeWriting() {
    // The file is closed whatever happens, and takes its name only when it is whole and on the
    // disk; a failure leaves a file of that name as it was, and still reaches the caller.
    try {
        finishTrack("ZflFile::close");
        // An empty last track or a shorter marker over it may leave stale bytes past the end.
        uint64_t end = position(file_);
        if (std::fflush(file_) != 0 ||
            !(direct_ != nullptr ? direct_->truncate(end) : ftruncate(fileno(file_), static_cast<off_t>(end)) == 0))
            fail(ErrorCode::FileWriteFailed, "ZflFile::close", __LINE__);
        writeFileHeader("ZflFile::close");
        if (!(direct_ != nullptr ? direct_->sync() : fsync(fileno(file_)) == 0))
            fail(ErrorCode::FileWriteFailed, "ZflFile::close", __LINE__);
    } catch (...) {
        discard();
        throw;
    }
    const std::string staging = stagingPath();
    const bool closed = std::fclose(file_) == 0;
    reset();
    if (!closed || std::rename(staging.c_str(), path_.c_str()) != 0) {
        std::remove(staging.c_str());
        fail(ErrorCode::FileWriteFailed, "ZflFile::close", __LINE__);
    }
}

// ---- reading ----

void ZflFile::readFileHeader(uint64_t fileSize) {
    Zfl::FileHeader header{};
    std::size_t got = std::fread(&header, 1, sizeof header, file_);
    std::size_t declared = std::min<std::size_t>(header.headerSize, sizeof header);
    if (got < 10 || got < declared)
        fail(ErrorCode::FileReadFailed, "ZflFile::open", __LINE__);
    uint32_t minor = header.version & 0xffff;
    uint32_t headerCore = minor >= Zfl::kFirstMinorWithMarkers ? sizeof header : Zfl::kFileHeaderCoreSize;
    if (std::memcmp(header.magic, Zfl::kMagic, 4) != 0 || (header.version >> 16) != Zfl::kMajorVersion ||
        header.headerSize < headerCore)
        fail(ErrorCode::InvalidFile, "ZflFile::open", __LINE__);
    version_ = header.version;
    nTracks_ = header.nTracks;
    tracksSize_ = header.tracksSize;
    if (minor >= Zfl::kFirstMinorWithMarkers) {
        nMarkers_ = header.nMarkers;
        markersSize_ = header.markersSize;
    }
    // Every track takes at least a full header: a count the file cannot hold is damage, and
    // must not decide how much memory is taken.
    if (fileSize < header.headerSize || nTracks_ > (fileSize - header.headerSize) / sizeof(Zfl::TrackHeader))
        fail(ErrorCode::InvalidFile, "ZflFile::open", __LINE__);
    if (!seekTo(file_, header.headerSize))
        fail(ErrorCode::FileReadFailed, "ZflFile::open", __LINE__);
    tracks_.reserve(nTracks_);
    dataOffsets_.reserve(nTracks_);
}

void ZflFile::readTrackHeader(uint64_t fileSize) {
    const uint64_t headerStart = position(file_);
    Zfl::TrackHeader header{};
    std::size_t got = std::fread(&header, 1, sizeof header, file_);
    std::size_t declared = std::min<std::size_t>(header.headerSize, sizeof header);
    if (got < 2 || got < declared)
        fail(ErrorCode::FileReadFailed, "ZflFile::open", __LINE__);
    if (header.headerSize < sizeof header)
        fail(ErrorCode::InvalidFile, "ZflFile::open", __LINE__);

    TrackInfo info{};
    copyField(info.title, sizeof info.title, header.title, sizeof header.title);
    copyField(info.tailNumber, sizeof info.tailNumber, header.tailNumber, sizeof header.tailNumber);
    info.staticCGtoGround = header.staticCGtoGround;
    info.format = header.format;
    info.nCont = header.nCont;
    info.nDisc = header.nDisc;
    info.originalRecording = 0;
    if ((version_ & 0xffff) < Zfl::kFirstMinorWithMarkers) {
        // Mach, time of day and date came later; the stored sizes still give the stride.
        info.format.ContFlags &= ~(ContGroup::Mach | ContGroup::TimeOfDay);
        info.format.DiscFlags &= ~DiscGroup::Date;
    }
    info.format = withRecordSizes(info.format);
    const uint64_t recordBytes = uint64_t{info.nCont} * info.format.contRecordSize +
                                 uint64_t{info.nDisc} * info.format.discRecordSize;
    const uint64_t dataOffset = headerStart + header.headerSize;
    if (!recordSizesHoldFlags(info.format) || header.dataSize < recordBytes ||
        dataOffset + header.dataSize > fileSize)
        fail(ErrorCode::InvalidFile, "ZflFile::open", __LINE__);

    const uint32_t track = static_cast<uint32_t>(tracks_.size());
    tracks_.push_back(info);
    dataOffsets_.push_back(dataOffset);
    if (!seekTo(file_, dataOffset))
        fail(ErrorCode::FileReadFailed, "ZflFile::open", __LINE__);
    if (header.trackDigest != 0) {
        verifyDigest(track, header.dataSize, header.trackDigest);
        return;
    }
    if (!seekTo(file_, dataOffset + header.dataSize))
        fail(ErrorCode::FileReadFailed, "ZflFile::open", __LINE__);
}

// Digested tracks are read in large pieces: the stream then hands them over without a copy.
constexpr uint32_t kDigestPiece = 1 << 16;

void ZflFile::verifyDigest(uint32_t track, uint32_t dataSize, uint64_t storedDigest) {
    std::vector<unsigned char> piece(std::min(dataSize, kDigestPiece));
    digest_.reset();
    for (uint32_t left = dataSize; left > 0;) {
        uint32_t n = std::min(left, kDigestPiece);
        if (std::fread(piece.data(), 1, n, file_) != n)
            fail(ErrorCode::FileReadFailed, "ZflFile::open", __LINE__);
        digest_.update(piece.data(), n);
        left -= n;
    }
    if (digest_.finish() == storedDigest)
        tracks_[track].originalRecording = 1;
}

uint32_t ZflFile::getNTracks() const {
    requireOpen("ZflFile::getNTracks");
    return nTracks_;
}

uint32_t ZflFile::getNMarkers() const {
    requireOpen("ZflFile::getNMarkers");
    return nMarkers_;
}

const TrackInfo& ZflFile::getTrackInfo(uint32_t track) const {
    requireReadable("ZflFile::getTrackInfo", track);
    return tracks_[track];
}

uint32_t ZflFile::readRecords(uint64_t start, uint32_t recordSize, uint32_t available,
                              uint32_t first, uint32_t count, void* buffer, const char* function) {
    if (first >= available || count == 0)
        return 0;
    count = std::min(count, available - first);
    const std::size_t bytes = std::size_t{count} * recordSize;
    if (!seekTo(file_, start + uint64_t{first} * recordSize) || std::fread(buffer, 1, bytes, file_) != bytes)
        fail(ErrorCode::FileReadFailed, function, __LINE__);
    return count;
}

uint32_t ZflFile::readContData(uint32_t track, uint32_t first, uint32_t count, void* buffer) {
    requireReadable("ZflFile::readContData", track);
    const TrackInfo& info = tracks_[track];
    return readRecords(dataOffsets_[track], info.format.contRecordSize, info.nCont, first, count, buffer,
                       "ZflFile::readContData");
}

const unsigned char* ZflFile::viewContData(uint32_t track, uint32_t first, uint32_t& count, MappedRange& view) {
    requireReadable("ZflFile::viewContData", track);
    const TrackInfo& info = tracks_[track];
    count = first < info.nCont ? std::min(count, info.nCont - first) : 0;
    view.unmap();
    if (count == 0)
        return nullptr;
    const unsigned char* records =
        view.map(fileno(file_), dataOffsets_[track] + uint64_t{first} * info.format.contRecordSize,
                  std::size_t{count} * info.format.contRecordSize);
    if (records == nullptr)
        fail(ErrorCode::FileReadFailed, "ZflFile::viewContData", __LINE__);
    return records;
}

uint32_t ZflFile::readDiscData(uint32_t track, uint32_t first, uint32_t count, void* buffer) {
    requireReadable("ZflFile::readDiscData", track);
    const TrackInfo& info = tracks_[track];
    const uint64_t discStart = dataOffsets_[track] + uint64_t{info.nCont} * info.format.contRecordSize;
    return readRecords(discStart, info.format.discRecordSize, info.nDisc, first, count, buffer,
                       "ZflFile::readDiscData");
}

uint32_t ZflFile::readTimestamp(uint64_t offset, const char* function) {
    uint32_t timestamp = 0;
    if (!seekTo(file_, offset) || std::fread(&timestamp, 1, sizeof timestamp, file_) != sizeof timestamp)
        fail(ErrorCode::FileReadFailed, function, __LINE__);
    return timestamp;
}

// Tracks without records of a kind report 0 for it.
uint32_t ZflFile::getStartTime(uint32_t track) {
    requireReadable("ZflFile::getStartTime", track);
    if (tracks_[track].nCont == 0)
        return 0;
    return readTimestamp(dataOffsets_[track], "ZflFile::getStartTime");
}

uint32_t ZflFile::getEndTime(uint32_t track) {
    requireReadable("ZflFile::getEndTime", track);
    const TrackInfo& info = tracks_[track];
    if (info.nCont == 0)
        return 0;
    return readTimestamp(dataOffsets_[track] + uint64_t{info.nCont - 1} * info.format.contRecordSize,
                         "ZflFile::getEndTime");
}

void ZflFile::getTimeRanges(uint32_t track, uint32_t& contStart, uint32_t& contEnd, uint32_t& discStart,
                            uint32_t& discEnd) {
    constexpr const char* kFunction = "ZflFile::getTimeRanges";
    requireReadable(kFunction, track);
    const TrackInfo& info = tracks_[track];
    const uint64_t cont = dataOffsets_[track];
    const uint64_t disc = cont + uint64_t{info.nCont} * info.format.contRecordSize;
    contStart = contEnd = discStart = discEnd = 0;
    if (info.nCont > 0) {
        contStart = readTimestamp(cont, kFunction);
        contEnd = readTimestamp(cont + uint64_t{info.nCont - 1} * info.format.contRecordSize, kFunction);
    }
    if (info.nDisc > 0) {
        discStart = readTimestamp(disc, kFunction);
        discEnd = readTimestamp(disc + uint64_t{info.nDisc - 1} * info.format.discRecordSize, kFunction);
    }
}

uint64_t ZflFile::markerOffset(uint32_t index) {
    while (markerOffsets_.size() <= index) {
        uint64_t at = markerOffsets_.back();
        uint16_t length = 0;
        if (!seekTo(file_, at) || std::fread(&length, 1, sizeof length, file_) != sizeof length)
            fail(ErrorCode::FileReadFailed, "ZflFile::readMarker", __LINE__);
        if (length < Zfl::kMarkerKnownFields)
            fail(ErrorCode::InvalidFile, "ZflFile::readMarker", __LINE__);
        markerOffsets_.push_back(at + sizeof length + length);
    }
    return markerOffsets_[index];
}

Marker ZflFile::readMarker(uint32_t index) {
    constexpr const char* kFunction = "ZflFile::readMarker";
    requireOpen(kFunction);
    if (mode_ == Write)
        misuse(kFunction, __LINE__, "Call in write mode");
    if (index >= nMarkers_)
        misuse(kFunction, __LINE__, "Marker index out of range");

    const uint64_t at = markerOffset(index);
    Zfl::MarkerHead head{};
    if (!seekTo(file_, at) || std::fread(&head, 1, sizeof head, file_) != sizeof head)
        fail(ErrorCode::FileReadFailed, kFunction, __LINE__);
    Marker marker;
    marker.time = head.time;
    marker.type = head.type;
    marker.flags = head.flags;
    const uint32_t known = Zfl::kMarkerKnownFields + head.textLength +
                           (head.type == Marker::SwitchCamera ? Zfl::kCameraIdBytes : 0);
    // A length that does not cover its own fields would read into the next record.
    if (head.length < known)
        fail(ErrorCode::InvalidFile, kFunction, __LINE__);
    marker.text.resize(head.textLength);
    if (std::fread(marker.text.data(), 1, head.textLength, file_) != head.textLength)
        fail(ErrorCode::FileReadFailed, kFunction, __LINE__);
    if (head.type == Marker::SwitchCamera &&
        std::fread(marker.cameraId.data(), 1, marker.cameraId.size(), file_) != marker.cameraId.size())
        fail(ErrorCode::FileReadFailed, kFunction, __LINE__);
    marker.text.resize(strnlen(marker.text.c_str(), marker.text.size()));
    marker.include = 0;
    return marker;
}

// ---- writing ----

void ZflFile::writeFileHeader(const char* function) {
    Zfl::FileHeader header{};
    std::memcpy(header.magic, Zfl::kMagic, 4);
    header.version = Zfl::kVersion;
    header.headerSize = sizeof header;
    header.tracksSize = tracksSize_;
    header.nTracks = nTracks_;
    header.markersSize = markersSize_;
    header.nMarkers = nMarkers_;
    if (!seekTo(file_, 0) || std::fwrite(&header, 1, sizeof header, file_) != sizeof header ||
        std::fflush(file_) != 0)
        fail(ErrorCode::FileWriteFailed, function, __LINE__);
}

void ZflFile::writeTrackHeader(uint32_t dataSize, uint64_t digest, const char* function) {
    const TrackInfo& info = tracks_[0];
    Zfl::TrackHeader header{};
    header.headerSize = sizeof header;
    header.dataSize = dataSize;
    std::memcpy(header.title, info.title, strnlen(info.title, sizeof info.title));
    std::memcpy(header.tailNumber, info.tailNumber,
                strnlen(info.tailNumber, std::min(sizeof info.tailNumber, std::size_t{Zfl::kTailNumberBytes})));
    header.staticCGtoGround = info.staticCGtoGround;
    header.format = info.format;
    header.nCont = info.nCont;
    header.nDisc = info.nDisc;
    header.trackDigest = digest;
    if (!seekTo(file_, dataOffsets_[0]) || std::fwrite(&header, 1, sizeof header, file_) != sizeof header)
        fail(ErrorCode::FileWriteFailed, function, __LINE__);
}

void ZflFile::finishTrack(const char* function) {
    if (!hasCurrentTrack_)
        return;
    hasCurrentTrack_ = false;
    if (curDataSize_ == 0) {
        // An empty track leaves no trace: what comes next is written over its header.
        --nTracks_;
        if (!seekTo(file_, dataOffsets_[0]))
            fail(ErrorCode::FileWriteFailed, function, __LINE__);
        return;
    }
    uint64_t digest = 0;
    if (tracks_[0].originalRecording)
        digest = digest_.finish();
    writeTrackHeader(curDataSize_, digest, function);
    tracksSize_ += static_cast<uint32_t>(sizeof(Zfl::TrackHeader)) + curDataSize_;
    if (!seekTo(file_, dataOffsets_[0] + sizeof(Zfl::TrackHeader) + curDataSize_))
        fail(ErrorCode::FileWriteFailed, function, __LINE__);
}

void ZflFile::addTrack(const TrackInfo& info) {
    constexpr const char* kFunction = "ZflFile::addTrack";
    requireWritable(kFunction);
    if (nMarkers_ != 0)
        misuse(kFunction, __LINE__, "Call after markers were written");
    TrackInfo next = info;
    next.format = withRecordSizes(info.format);
    if (!recordSizesHoldFlags(next.format))
        misuse(kFunction, __LINE__, "Record size too small for the data groups");
    finishTrack(kFunction);
    tracks_[0] = next;
    tracks_[0].nCont = 0;
    tracks_[0].nDisc = 0;
    curDataSize_ = 0;
    dataOffsets_[0] = position(file_);
    writeTrackHeader(0, 0, kFunction);
    digest_.reset();
    ++nTracks_;
    hasCurrentTrack_ = true;
}

void ZflFile::writeRecords(uint32_t count, const void* records, uint32_t recordSize, const char* function) {
    const uint64_t bytes = uint64_t{count} * recordSize;
    // The header fields are 32-bit: a track or a recording that outgrows them cannot be stored.
    if (uint64_t{curDataSize_} + bytes > kMaxFieldValue ||
        uint64_t{tracksSize_} + sizeof(Zfl::TrackHeader) + curDataSize_ + bytes > kMaxFieldValue)
        fail(ErrorCode::FileWriteFailed, function, __LINE__);
    if (bytes == 0)
        return;
    if (std::fwrite(records, 1, bytes, file_) != bytes)
        fail(ErrorCode::FileWriteFailed, function, __LINE__);
    curDataSize_ += static_cast<uint32_t>(bytes);
    if (tracks_[0].originalRecording)
        digest_.update(records, bytes);
}

void ZflFile::writeContData(uint32_t count, const void* records) {
    constexpr const char* kFunction = "ZflFile::writeContData";
    requireWritable(kFunction);
    if (tracks_[0].nDisc != 0)
        misuse(kFunction, __LINE__, "Call after discrete data was written");
    if (nMarkers_ != 0)
        misuse(kFunction, __LINE__, "Call after markers were written");
    if (!hasCurrentTrack_)
        misuse(kFunction, __LINE__, "No track added");
    writeRecords(count, records, tracks_[0].format.contRecordSize, kFunction);
    tracks_[0].nCont += count;
}

void ZflFile::writeDiscData(uint32_t count, const void* records) {
    constexpr const char* kFunction = "ZflFile::writeDiscData";
    requireWritable(kFunction);
    if (nMarkers_ != 0)
        misuse(kFunction, __LINE__, "Call after markers were written");
    if (!hasCurrentTrack_)
        misuse(kFunction, __LINE__, "No track added");
    writeRecords(count, records, tracks_[0].format.discRecordSize, kFunction);
    tracks_[0].nDisc += count;
}

void ZflFile::addMarker(const Marker& marker) {
    constexpr const char* kFunction = "ZflFile::addMarker";
    requireWritable(kFunction);
    // Markers follow the last track: finish it here so an empty one is dropped before them.
    finishTrack(kFunction);
    const std::string record = MarkerRecord::encode(marker);
    if (std::fwrite(record.data(), 1, record.size(), file_) != record.size())
        fail(ErrorCode::FileWriteFailed, kFunction, __LINE__);
    ++nMarkers_;
    markersSize_ += static_cast<uint32_t>(record.size());
}
