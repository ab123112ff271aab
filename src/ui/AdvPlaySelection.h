#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/ZflFile.h"
#include "playback/PlayList.h"

// What the advanced play dialog edits: every listed file with all its tracks and markers, each
// checked or not, plus copies of tracks. A track keeps its settings while unchecked, so checking
// it again restores them. Only checked entries reach the play list.
class AdvPlaySelection {
public:
    struct TrackEntry {
        PlayTrack track;
        bool copy = false;
        bool checked = true;
    };
    struct FileEntry {
        std::string path;
        Ticks timeOffset = 0;
        std::unique_ptr<ZflFile> file; // open for reading while listed
        std::vector<TrackEntry> tracks; // by track index, each copy right after its original
        std::vector<bool> markers;      // checked, by marker index
    };
    struct TrackRef {
        std::size_t file;
        std::size_t entry;
        bool operator==(const TrackRef&) const = default;
    };

    AdvPlaySelection() = default;
    // Lists the files of a play list as it stands: its tracks checked with their settings (further
    // entries of the same track as copies), its markers checked, everything else unchecked.
    explicit AdvPlaySelection(const PlayList& list);

    // Opens the file and lists it with every track and marker checked.
    void addFile(const std::string& path);
    void removeFile(std::size_t file);
    // A copy of the entry's settings right after it; returns the copy's entry index.
    std::size_t insertCopy(TrackRef track);
    // Makes the track the user's aircraft, or no track when it already is.
    void toggleUser(TrackRef track);
    std::optional<TrackRef> user() const { return user_; }

    void checkAllTracks(bool checked);
    void checkAllMarkers(bool checked);

    const std::vector<FileEntry>& files() const { return files_; }
    FileEntry& file(std::size_t index) { return files_.at(index); }
    TrackEntry& entry(TrackRef track) { return files_.at(track.file).tracks.at(track.entry); }
    bool listsPath(const std::string& path) const;

    // The checked tracks and markers; the user track only while it is checked.
    PlayList playList() const;

private:
    static FileEntry open(const std::string& path, Ticks timeOffset);

    std::vector<FileEntry> files_;
    std::optional<TrackRef> user_;
};
