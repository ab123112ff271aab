#include "playback/PlayListFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/DataBuffer.h"
#include "common/ZflFile.h"
#include "playback/TrackOffset.h"

namespace PlayListFile {

namespace {

// Records are re-packed in chunks so that a long track never needs its whole size in memory.
constexpr uint32_t kChunk = 100;

void copyLimited(char* field, std::size_t fieldSize, const std::string& text, std::size_t limit) {
    std::memset(field, 0, fieldSize);
    std::memcpy(field, text.data(), std::min({text.size(), limit, fieldSize - 1}));
}

TrackInfo savedInfo(const TrackInfo& original, const PlayTrack& track) {
    TrackInfo info = original;
    if (!track.title.empty())
        copyLimited(info.title, sizeof info.title, track.title, kMaxTitle);
    if (!track.tailNumber.empty())
        copyLimited(info.tailNumber, sizeof info.tailNumber, track.tailNumber, kMaxTailNumber);
    info.format.ContFlags = original.format.ContFlags & track.contFlags;
    info.format.DiscFlags = original.format.DiscFlags & track.discFlags;
    info.format.contRecordSize = contRecordSize(info.format.ContFlags, info.format.nEngines);
    info.format.discRecordSize = discRecordSize(info.format.DiscFlags);
    info.originalRecording = 0; // the records change, so no digest can vouch for them
    return info;
}

// Continuous or discrete records of one track, read in the file's format and written in the new one.
template <bool Cont> void copyRecords(ZflFile& source, uint32_t trackIndex, const DataFormat& fromFormat,
                                      const DataFormat& toFormat, uint32_t count, ZflFile& target,
                                      const PlayTrack& track, Ticks timeOffset) {
    const uint32_t fromSize = Cont ? fromFormat.contRecordSize : fromFormat.discRecordSize;
    const uint32_t toSize = Cont ? toFormat.contRecordSize : toFormat.discRecordSize;
    std::vector<unsigned char> from(std::size_t{kChunk} * fromSize);
    std::vector<unsigned char> to(std::size_t{kChunk} * toSize);
    DataBuffer reader(Cont ? from.data() : nullptr, Cont ? nullptr : from.data(), fromFormat);
    DataBuffer writer(Cont ? to.data() : nullptr, Cont ? nullptr : to.data(), toFormat);
    for (uint32_t first = 0; first < count; first += kChunk) {
        const uint32_t n = std::min(kChunk, count - first);
        if constexpr (Cont) {
            source.readContData(trackIndex, first, n, from.data());
            for (uint32_t i = 0; i < n; ++i) {
                ContData record{};
                reader.getContData(i, record);
                record.timestamp += timeOffset;
                applyTrackOffset(track, record);
                writer.setContData(i, record);
            }
            target.writeContData(n, to.data());
        } else {
            source.readDiscData(trackIndex, first, n, from.data());
            for (uint32_t i = 0; i < n; ++i) {
                DiscData record{};
                reader.getDiscData(i, record);
                record.timestamp += timeOffset;
                writer.setDiscData(i, record);
            }
            target.writeDiscData(n, to.data());
        }
    }
}

void saveTrack(ZflFile& source, const PlayFile& file, const PlayTrack& track, ZflFile& target) {
    const TrackInfo original = source.getTrackInfo(track.index);
    const TrackInfo info = savedInfo(original, track);
    target.addTrack(info);
    const Ticks timeOffset = track.timeOffset + file.timeOffset;
    copyRecords<true>(source, track.index, original.format, info.format, original.nCont, target, track, timeOffset);
    copyRecords<false>(source, track.index, original.format, info.format, original.nDisc, target, track, timeOffset);
}

void saveFile(const PlayFile& file, ZflFile& target, std::vector<Marker>& markers) {
    ZflFile source;
    source.open(file.fileName, ZflFile::Read);
    for (const PlayTrack& track : file.tracks)
        saveTrack(source, file, track, target);
    for (uint32_t index : file.markers) {
        Marker marker = source.readMarker(index);
        marker.time += file.timeOffset;
        markers.push_back(std::move(marker));
    }
    source.close();
}

} // namespace

void save(const PlayList& list, const std::string& target) {
    ZflFile file;
    file.open(target, ZflFile::Write);
    try {
        // Markers follow all tracks in a recording file, so they wait until every track is written.
        std::vector<Marker> markers;
        for (const PlayFile& playFile : list.files)
            saveFile(playFile, file, markers);
        for (const Marker& marker : markers)
            file.addMarker(marker);
        file.close();
    } catch (...) {
        file.discard();
        throw;
    }
}

} // namespace PlayListFile
