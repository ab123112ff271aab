// Conversion of first-generation recordings (version 1, three sub-versions) to the current format.

#include <stdio.h> // renameat2
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "common/DataBuffer.h"
#include "common/ZephrelException.h"
#include "common/ZflFile.h"

namespace {

constexpr uint32_t kSingleTrackV4 = 0x01000004;
constexpr uint32_t kSingleTrackV5 = 0x01000005;
constexpr uint32_t kMultiTrackV6 = 0x01000006;
// Version 4 stored its flags but always recorded these groups.
constexpr uint32_t kV4Flags = 0x7f;

constexpr std::size_t kSingleTrackHeaderBytes = 24;
constexpr std::size_t kMultiTrackHeaderBytes = 14;
constexpr std::size_t kOldTrackHeaderBytes = 124;
constexpr std::size_t kOldTitleOffset = 16;
constexpr std::size_t kOldTitleEnd = 116;

namespace OldBit {
constexpr uint32_t Throttles = 0x001;
constexpr uint32_t Controls = 0x002;
constexpr uint32_t Spoilers = 0x004;
constexpr uint32_t Flaps = 0x008;
constexpr uint32_t Gear = 0x010;
constexpr uint32_t Lights = 0x020;
constexpr uint32_t Engines = 0x040;
constexpr uint32_t NavRadios = 0x080;
constexpr uint32_t ComRadios = 0x100;
constexpr uint32_t PropsAndMixtures = 0x200;
constexpr uint32_t Unused6 = 0x400;
constexpr uint32_t Smoke = 0x800;
} // namespace OldBit

bool isOldVersion(uint32_t version) {
    return version == kSingleTrackV4 || version == kSingleTrackV5 || version == kMultiTrackV6;
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

uint32_t get32(const unsigned char* p) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

DataFormat formatFor(uint32_t oldFlags) {
    // DataFormat is packed: its flag words are collected here, where a reference may bind to them.
    uint32_t contFlags = 0;
    uint32_t discFlags = 0;
    auto map = [&](uint32_t oldBit, uint32_t& flags, uint32_t newBits) {
        if (oldFlags & oldBit)
            flags |= newBits;
    };
    map(OldBit::Throttles, contFlags, ContGroup::Throttles);
    map(OldBit::Controls, contFlags, ContGroup::FlightControls);
    map(OldBit::Spoilers, contFlags, ContGroup::Spoilers);
    map(OldBit::PropsAndMixtures, contFlags, ContGroup::Propellers | ContGroup::Mixtures);
    map(OldBit::Flaps, discFlags, DiscGroup::Flaps);
    map(OldBit::Gear, discFlags, DiscGroup::Gear);
    map(OldBit::Lights, discFlags, DiscGroup::Lights);
    map(OldBit::Engines, discFlags, DiscGroup::Engines);
    map(OldBit::NavRadios, discFlags, DiscGroup::NavRadios);
    map(OldBit::ComRadios, discFlags, DiscGroup::ComRadios);
    map(OldBit::Smoke, discFlags, DiscGroup::Smoke);
    DataFormat format{};
    format.nEngines = 4;
    format.ContFlags = contFlags;
    format.DiscFlags = discFlags | DiscGroup::ParkingBrake;
    format.contRecordSize = contRecordSize(format.ContFlags, format.nEngines);
    format.discRecordSize = discRecordSize(format.DiscFlags);
    return format;
}

uint32_t oldRecordSize(uint32_t oldFlags) {
    uint32_t size = 36 + 24 + 1 + 1 + 4; // position, velocities, onground, parking brake, timestamp
    const std::pair<uint32_t, uint32_t> optional[] = {
        {OldBit::Throttles, 8}, {OldBit::Controls, 6},  {OldBit::Spoilers, 2},         {OldBit::Flaps, 1},
        {OldBit::Gear, 2},      {OldBit::Lights, 2},    {OldBit::Engines, 4},          {OldBit::NavRadios, 12},
        {OldBit::ComRadios, 6}, {OldBit::Unused6, 6},   {OldBit::PropsAndMixtures, 16}, {OldBit::Smoke, 1},
    };
    for (auto [bit, bytes] : optional)
        if (oldFlags & bit)
            size += bytes;
    return size;
}

// Reads the fields of one old record in their stored order.
class OldRecord {
public:
    explicit OldRecord(const unsigned char* bytes) : p_(bytes) {}

    template <typename T> void take(T& field) { takeBytes(&field, sizeof field); }
    void takeBytes(void* out, std::size_t n) {
        std::memcpy(out, p_, n);
        p_ += n;
    }
    void skip(std::size_t n) { p_ += n; }

private:
    const unsigned char* p_;
};

void parseRecord(const unsigned char* bytes, uint32_t oldFlags, ContData& cont, DiscData& disc) {
    OldRecord r(bytes);
    std::memset(&cont, 0, sizeof cont);
    std::memset(&disc, 0, sizeof disc);
    r.takeBytes(reinterpret_cast<unsigned char*>(&cont) + offsetof(ContData, latitude), 36);
    r.takeBytes(reinterpret_cast<unsigned char*>(&cont) + offsetof(ContData, velocityX), 24);
    r.take(disc.onground);
    if (oldFlags & OldBit::Throttles)
        r.takeBytes(reinterpret_cast<unsigned char*>(&cont) + offsetof(ContData, throttle), 8);
    if (oldFlags & OldBit::Controls)
        r.takeBytes(reinterpret_cast<unsigned char*>(&cont) + offsetof(ContData, elevators), 6);
    if (oldFlags & OldBit::Spoilers)
        r.take(cont.spoilers);
    if (oldFlags & OldBit::Flaps)
        r.take(disc.flaps);
    if (oldFlags & OldBit::Gear)
        r.take(disc.gear);
    if (oldFlags & OldBit::Lights)
        r.take(disc.lights);
    r.take(disc.parkbrake);
    if (oldFlags & OldBit::Engines) {
        unsigned char engines[4];
        r.takeBytes(engines, 4);
        for (int i = 0; i < 4; ++i)
            if (engines[i] != 0)
                disc.engines = static_cast<uint8_t>(disc.engines | (1u << i));
    }
    if (oldFlags & OldBit::NavRadios)
        r.takeBytes(reinterpret_cast<unsigned char*>(&disc) + offsetof(DiscData, nav1), 12);
    if (oldFlags & OldBit::ComRadios)
        r.takeBytes(reinterpret_cast<unsigned char*>(&disc) + offsetof(DiscData, com), 6);
    if (oldFlags & OldBit::PropsAndMixtures) {
        r.takeBytes(reinterpret_cast<unsigned char*>(&cont) + offsetof(ContData, mix), 8);
        r.takeBytes(reinterpret_cast<unsigned char*>(&cont) + offsetof(ContData, prop), 8);
    }
    if (oldFlags & OldBit::Unused6)
        r.skip(6);
    if (oldFlags & OldBit::Smoke)
        r.take(disc.smoke);
    r.take(cont.timestamp);
    disc.timestamp = cont.timestamp;
}

struct OldTrack {
    std::string title;
    uint32_t nRecords;
    uint32_t flags;
    float staticCGtoGround;
};

class OldFileReader {
public:
    OldFileReader(const std::string& backup, const std::string& path) : backup_(backup), path_(path) {
        file_.reset(std::fopen(backup.c_str(), "rb"));
        if (!file_)
            throw ZephrelException::stopping(ErrorCode::FileNotOpened, "ZflFile::convertV1File", __LINE__, backup_);
        struct stat st {};
        size_ = fstat(fileno(file_.get()), &st) == 0 ? static_cast<uint64_t>(st.st_size) : 0;
    }

    void read(void* out, std::size_t n) {
        if (std::fread(out, 1, n, file_.get()) != n)
            throw ZephrelException::stopping(ErrorCode::FileReadFailed, "ZflFile::convertV1File", __LINE__, backup_);
        consumed_ += n;
    }

    [[noreturn]] void damaged() const {
        throw ZephrelException::stopping(ErrorCode::InvalidFile, "ZflFile::convertV1File", __LINE__, path_);
    }

    // A header's counts must not decide how much memory is taken before the data is there: records
    // the rest of the file cannot hold fail as the short read they would end in.
    void requireAvailable(uint64_t bytes) const {
        if (size_ < consumed_ || size_ - consumed_ < bytes)
            throw ZephrelException::stopping(ErrorCode::FileReadFailed, "ZflFile::convertV1File", __LINE__, backup_);
    }

private:
    std::string backup_;
    std::string path_;
    File file_;
    uint64_t size_ = 0;
    uint64_t consumed_ = 0;
};

void convertTrack(OldFileReader& in, ZflFile& out, const OldTrack& track) {
    TrackInfo info{};
    std::strncpy(info.title, track.title.c_str(), sizeof info.title - 1);
    info.staticCGtoGround = track.staticCGtoGround;
    info.format = formatFor(track.flags);
    out.addTrack(info);

    const uint32_t recordBytes = oldRecordSize(track.flags);
    in.requireAvailable(uint64_t{track.nRecords} * recordBytes);
    std::vector<unsigned char> cont(std::size_t{track.nRecords} * info.format.contRecordSize);
    std::vector<unsigned char> disc(std::size_t{track.nRecords} * info.format.discRecordSize);
    DataBuffer buffer(cont.data(), disc.data(), info.format);
    std::vector<unsigned char> record(recordBytes);
    ContData contData{};
    DiscData discData{};
    DiscData lastKept{};
    uint32_t kept = 0;
    for (uint32_t i = 0; i < track.nRecords; ++i) {
        in.read(record.data(), record.size());
        parseRecord(record.data(), track.flags, contData, discData);
        buffer.setContData(i, contData);
        if (kept == 0 || !discDataEqual(discData, lastKept, info.format.DiscFlags, 4)) {
            buffer.setDiscData(kept++, discData);
            lastKept = discData;
        }
    }
    out.writeContData(track.nRecords, cont.data());
    out.writeDiscData(kept, disc.data());
}

void convertInto(const std::string& path, const std::string& backup, ZflFile& out) {
    OldFileReader in(backup, path);
    uint32_t version = 0;
    in.read(&version, sizeof version);
    if (!isOldVersion(version))
        in.damaged();

    if (version != kMultiTrackV6) {
        unsigned char header[kSingleTrackHeaderBytes];
        in.read(header, sizeof header);
        OldTrack track{};
        track.nRecords = get32(header + 0);
        track.flags = version == kSingleTrackV4 ? kV4Flags : get32(header + 8);
        std::memcpy(&track.staticCGtoGround, header + 12, 4);
        convertTrack(in, out, track);
        return;
    }

    unsigned char header[kMultiTrackHeaderBytes];
    in.read(header, sizeof header);
    uint16_t nTracks;
    std::memcpy(&nTracks, header + 12, 2);
    for (uint32_t t = 0; t < nTracks; ++t) {
        unsigned char trackHeader[kOldTrackHeaderBytes];
        in.read(trackHeader, sizeof trackHeader);
        OldTrack track{};
        track.nRecords = get32(trackHeader + 0);
        track.flags = get32(trackHeader + 4);
        const char* title = reinterpret_cast<const char*>(trackHeader + kOldTitleOffset);
        track.title.assign(title, strnlen(title, kOldTitleEnd - kOldTitleOffset));
        std::memcpy(&track.staticCGtoGround, trackHeader + kOldTitleEnd, 4);
        convertTrack(in, out, track);
    }
}

} // namespace

bool ZflFile::checkOldVersion(const std::string& path) {
    File file(std::fopen(path.c_str(), "rb"));
    if (!file)
        throw ZephrelException::stopping(ErrorCode::FileNotOpened, "ZflFile::checkOldVersion", __LINE__, path);
    uint32_t version = 0;
    if (std::fread(&version, 1, sizeof version, file.get()) != sizeof version)
        throw ZephrelException::stopping(ErrorCode::FileReadFailed, "ZflFile::checkOldVersion", __LINE__, path);
    return isOldVersion(version);
}

void ZflFile::convertV1File(const std::string& path) {
    const std::string backup = std::filesystem::path(path).replace_extension(".v1.zfl").string();
    // An earlier backup is never overwritten: it may be the only copy of an old recording.
    if (renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, backup.c_str(), RENAME_NOREPLACE) != 0)
        throw ZephrelException::stopping(ErrorCode::RenameFailed, "ZflFile::convertV1File", __LINE__, path, backup);
    ZflFile out;
    try {
        out.open(path, Write);
        convertInto(path, backup, out);
        out.close();
    } catch (...) {
        // Put the old file back where it was: the half-converted one never took its name.
        out.discard();
        std::rename(backup.c_str(), path.c_str());
        throw;
    }
}
