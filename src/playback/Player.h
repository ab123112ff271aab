#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/Marker.h"
#include "common/ZflFile.h"
#include "playback/PlayBuffer.h"
#include "playback/PlayList.h"
#include "playback/PlayerSeams.h"
#include "settings/Settings.h"

// Plays tracks of one or more recording files on a common time line: one track may drive the
// user aircraft, every other one is flown by an AI aircraft the player creates while the track's
// span is played. It owns the playback clock (speed, search, jumps, loop), applies every track's
// state each simulator frame, fires the markers, and prepares the simulator before playback
// (saved flight, recorded aircraft, live traffic off) and undoes that at the end.
// Times are 1/10000 s on the playback time line.
class Player {
public:
    // Aircraft ids the player created.
    using AircraftSet = std::unordered_set<uint32_t>;

    static constexpr uint32_t kNoAircraft = 0;
    static constexpr uint32_t kCreationFailed = 0xFFFFFFFFu; // never retried
    static constexpr uint32_t kContWindow = 250;
    static constexpr uint32_t kDiscWindow = 100;
    // Windows read ahead of need in one frame, at most.
    static constexpr uint32_t kReadsAheadPerFrame = 2;

    // The settings stay the caller's and are read as they are.
    explicit Player(const GeneralSettings* general, PlayerSeams seams = {});
    // A running playback is aborted.
    ~Player();
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    // Starts playing the list, or adds it to the running playback. `noRestore` keeps the flight
    // as it is at the end; `startTime` is where the clock starts on the first call.
    void start(const PlayList& list, bool noRestore, uint32_t startTime);
    // Removes the AI aircraft, offers to save the markers set during playback, and restores the
    // simulator as it was before (the saved flight unless `noRestore`).
    void stop(bool noRestore);
    // Ends playback at once without touching the simulator or asking anything.
    void abort();
    // Once per simulator frame while playing.
    void frame();

    // ---- control ----
    void setTime(uint32_t t);
    // Moves the clock by delta, within the playback range.
    void jump(int64_t delta);
    // To the next (or previous) chapter marker, or to the end (or the beginning) when none.
    void jumpToMarker(bool backwards);
    void setSpeed(float speed);
    // 0 ends the search; negative searches backwards.
    void setSearchSpeed(int32_t speed);
    void setLoopIn();
    void setLoopOut();
    void setLoop(bool on);
    void toggleLoop();
    // Lets the next (or previous) track that is playing drive the user aircraft.
    void switchUserTrack(bool backwards);
    void adjustAltitude(double metres);
    void adjustPitch(double degrees);
    // After the user aircraft was reloaded: the altitude correction from the new aircraft, no
    // pitch correction.
    void updateCorrections();
    void addMarker(const Marker& marker);

    // ---- state ----
    const PlayList& playList() const { return playList_; } // what plays, as the files were added
    bool isStarted() const { return started_; }
    bool isFinished() const { return finished_; }
    bool isUserPlayed() const { return userPlayed_; }
    uint32_t now() const { return now_; }
    uint32_t begin() const { return begin_; }
    uint32_t end() const { return end_; }
    float speed() const { return speed_; }
    int32_t searchSpeed() const { return searchSpeed_; }
    bool loop() const { return loop_; }
    uint32_t loopIn() const { return loopIn_; }
    uint32_t loopOut() const { return loopOut_; }
    const AircraftSet& aircraft() const { return aircraft_; }
    const std::vector<Marker>& markers() const { return markers_; }

    // ---- the tracks being played, in list order ----
    std::size_t trackCount() const { return tracks_.size(); }
    // kNoAircraft, kCreationFailed or the id of the aircraft that flies the track.
    uint32_t trackAircraft(std::size_t track) const { return tracks_[track].aircraft; }
    int64_t trackAltCorrection(std::size_t track) const { return tracks_[track].altCorrection; }
    int32_t trackPitchCorrection(std::size_t track) const { return tracks_[track].pitchCorrection; }
    const PlayBuffer& trackBuffer(std::size_t track) const { return *tracks_[track].buffer; }
    // The index of the track that drives the user aircraft, -1 if none.
    int32_t userTrack() const { return userTrack_; }

private:
    struct Track {
        uint32_t aircraft = kNoAircraft;
        std::unique_ptr<PlayBuffer> buffer;
        uint32_t file = 0;      // in playList_.files and files_
        uint32_t playTrack = 0; // in that file's tracks
        uint32_t offset = 0;    // the file's and the track's offsets
        uint32_t first = 0;     // span on the time line
        uint32_t last = 0;
        int64_t altCorrection = 0;
        int32_t pitchCorrection = 0;
    };

    const PlayTrack& playTrackOf(const Track& track) const;
    const TrackInfo& infoOf(const Track& track) const;
    std::string titleOf(const Track& track) const;
    std::string tailNumberOf(const Track& track) const;
    bool inSpan(const Track& track, uint32_t t) const;
    int64_t altCorrectionFor(const Track& track, uint32_t aircraft) const;
    // The track that drives the user aircraft, null if none.
    Track* userTrackPlayed();

    void resetForFirstStart(uint32_t startTime);
    void prepareUserPlayback(bool noRestore);
    void addFile(const PlayFile& file, bool isUserFile, int32_t userTrackInFile);
    void setRange();
    void takeOverUserAircraft(Track& track);

    void advanceClock();
    bool jumpFlag() const;
    void playTrack(Track& track, bool isUserTrack, uint32_t userId, bool jump);
    void readAhead();
    void forgetAircraft(Track& track);
    void createAircraft(Track& track);
    void applyState(Track& track, bool isUserTrack, bool jump);
    void fireMarkers();

    void restoreSimulator(bool noRestore);
    void releaseAll();
    void clearMarkerEffects();
    void showPosition();
    void showLoop();
    void applySimRate(float rate);
    uint32_t lastJumpTarget() const;

    const GeneralSettings* general_;
    PlayerSeams seams_;

    PlayList playList_;
    std::vector<std::unique_ptr<ZflFile>> files_; // one per entry of playList_.files
    std::vector<Track> tracks_;
    int32_t userTrack_ = -1;
    std::vector<Marker> markers_;
    AircraftSet aircraft_;
    uint32_t aiCount_ = 0;
    std::size_t readAheadFrom_ = 0; // the track read ahead for last

    bool started_ = false;
    bool userPlayed_ = false;
    bool flightSaved_ = false; // the flight to restore at the end
    bool finished_ = false;
    uint32_t now_ = 0;
    uint32_t prevTime_ = 0;
    uint32_t begin_ = 0;
    uint32_t end_ = 0;
    uint32_t minBegin_ = 0;
    uint32_t maxEnd_ = 0;
    bool forceUpdate_ = false;
    bool loop_ = false;
    uint32_t loopIn_ = 0;
    uint32_t loopOut_ = 0;
    float speed_ = 1.0f;
    int32_t searchSpeed_ = 0;
    // Filled each frame; kept here so that playing allocates nothing.
    ContData cont_{};
    DiscData disc_{};
};
