#include "ui/AdvPlaySelection.h"

#include <filesystem>

namespace {
// A track played as recorded.
PlayTrack trackAt(uint32_t index) {
    PlayTrack track;
    track.index = index;
    return track;
}
} // namespace

AdvPlaySelection::FileEntry AdvPlaySelection::open(const std::string& path, Ticks timeOffset) {
    FileEntry entry;
    entry.path = path;
    entry.timeOffset = timeOffset;
    entry.file = std::make_unique<ZflFile>();
    entry.file->open(path, ZflFile::Read);
    return entry;
}

AdvPlaySelection::AdvPlaySelection(const PlayList& list) {
    for (std::size_t f = 0; f < list.files.size(); ++f) {
        const PlayFile& playFile = list.files[f];
        FileEntry entry = open(playFile.fileName, playFile.timeOffset);
        const uint32_t nTracks = entry.file->getNTracks();
        for (uint32_t t = 0; t < nTracks; ++t) {
            bool listed = false;
            for (std::size_t p = 0; p < playFile.tracks.size(); ++p) {
                if (playFile.tracks[p].index != t)
                    continue;
                if (list.userFile == static_cast<int32_t>(f) && list.userTrack == static_cast<int32_t>(p))
                    user_ = TrackRef{f, entry.tracks.size()};
                entry.tracks.push_back({playFile.tracks[p], listed, true});
                listed = true;
            }
            if (!listed)
                entry.tracks.push_back({trackAt(t), false, false});
        }
        entry.markers.assign(entry.file->getNMarkers(), false);
        for (uint32_t m : playFile.markers)
            if (m < entry.markers.size())
                entry.markers[m] = true;
        files_.push_back(std::move(entry));
    }
}

void AdvPlaySelection::addFile(const std::string& path) {
    FileEntry entry = open(path, 0);
    for (uint32_t t = 0; t < entry.file->getNTracks(); ++t)
        entry.tracks.push_back({trackAt(t), false, true});
    entry.markers.assign(entry.file->getNMarkers(), true);
    files_.push_back(std::move(entry));
}

void AdvPlaySelection::removeFile(std::size_t file) {
    files_.at(file).file->close();
    files_.erase(files_.begin() + static_cast<std::ptrdiff_t>(file));
    if (!user_)
        return;
    if (user_->file == file)
        user_.reset();
    else if (user_->file > file)
        --user_->file;
}

std::size_t AdvPlaySelection::insertCopy(TrackRef track) {
    std::vector<TrackEntry>& tracks = files_.at(track.file).tracks;
    TrackEntry copy = tracks.at(track.entry);
    copy.copy = true;
    copy.checked = true;
    const std::size_t at = track.entry + 1;
    tracks.insert(tracks.begin() + static_cast<std::ptrdiff_t>(at), std::move(copy));
    if (user_ && user_->file == track.file && user_->entry >= at)
        ++user_->entry;
    return at;
}

void AdvPlaySelection::toggleUser(TrackRef track) {
    if (user_ == track)
        user_.reset();
    else
        user_ = track;
}

void AdvPlaySelection::checkAllTracks(bool checked) {
    for (FileEntry& file : files_)
        for (TrackEntry& entry : file.tracks)
            entry.checked = checked;
}

void AdvPlaySelection::checkAllMarkers(bool checked) {
    for (FileEntry& file : files_)
        file.markers.assign(file.markers.size(), checked);
}

namespace {
// The same file however the path spells it; a path the file system cannot resolve stays as written.
std::filesystem::path resolved(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::weakly_canonical(path, error);
    return error ? std::filesystem::path(path).lexically_normal() : full;
}
} // namespace

bool AdvPlaySelection::listsPath(const std::string& path) const {
    const std::filesystem::path wanted = resolved(path);
    for (const FileEntry& file : files_)
        if (resolved(file.path) == wanted)
            return true;
    return false;
}

PlayList AdvPlaySelection::playList() const {
    PlayList list;
    for (std::size_t f = 0; f < files_.size(); ++f) {
        const FileEntry& file = files_[f];
        PlayFile playFile{file.path, file.timeOffset, {}, {}};
        for (std::size_t e = 0; e < file.tracks.size(); ++e) {
            if (!file.tracks[e].checked)
                continue;
            if (user_ == TrackRef{f, e}) {
                list.userFile = static_cast<int32_t>(f);
                list.userTrack = static_cast<int32_t>(playFile.tracks.size());
            }
            playFile.tracks.push_back(file.tracks[e].track);
        }
        for (uint32_t m = 0; m < file.markers.size(); ++m)
            if (file.markers[m])
                playFile.markers.push_back(m);
        list.files.push_back(std::move(playFile));
    }
    return list;
}
