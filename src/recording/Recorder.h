#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "common/Marker.h"
#include "common/Ticks.h"
#include "recording/RecBuffer.h"
#include "recording/RecordingJournal.h"
#include "recording/TempFile.h"
#include "settings/Settings.h"

// Records the user aircraft and, as configured, the other aircraft of the simulation into the
// temporary files, one simulator frame at a time, and turns them into a recording file. One
// recorder serves one recording (a normal one, or the instant replay's background recording).
class Recorder {
public:
    // Aircraft ids the player created for a traffic playback.
    using AircraftSet = std::unordered_set<uint32_t>;

    // The settings stay the caller's; the recorder reads them as they are each frame.
    Recorder(const GeneralSettings* general, const RecordingSettings* recording);
    // A running recording is aborted.
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // The clock starts at startTime; maxSize bounds the temporary data file (0: unbounded). With
    // a date the recording keeps a journal, so that a crash leaves what it recorded to be saved.
    void start(uint32_t startTime, uint32_t maxSize, std::optional<RecordingDate> journal = std::nullopt);
    void frame(const AircraftSet* playing);
    // Ends the recording: written to fileName, or discarded when the name is empty. When writing
    // fails nothing has ended: the recording goes on, and stop may be called again.
    void stop(const std::string& fileName);
    // Ends the recording without writing it, its data kept on disk for a later save
    // (InterruptedRecording). Returns the base name it is kept under; nothing when the recording
    // keeps no journal (its files then stay where they are).
    std::optional<std::string> keepForLater();
    // Writes the data from startTime on (0: everything) without ending the recording.
    void save(const std::string& fileName, uint32_t startTime);
    // The clock value at which the data still held begins.
    uint32_t getStartTime();
    void addMarker(const Marker& marker);
    // Throws away everything recorded, temporary files included.
    void abort();

    bool isRunning() const { return running_; }
    uint32_t now() const { return now_; }
    // Whether the automatic stop has fallen due; reading it clears it.
    bool autoStopped();

    // ---- what is being recorded ----
    std::size_t trackCount() const { return tracks_.size(); }
    uint32_t trackId(std::size_t track) const { return tracks_[track].id; }
    const RecBuffer& trackBuffer(std::size_t track) const { return *tracks_[track].buffer; }
    const std::vector<Marker>& markers() const { return markers_; }
    const TempFile* tempFile() const { return tempFile_.get(); }

    // The temporary files' name in the temporary folder: "Zephrel.tmp0" to "Zephrel.tmp2".
    static constexpr const char* kFilesName = "Zephrel";
    static constexpr uint32_t kNoStop = 0xFFFFFFFFu;
    static constexpr uint32_t kBufferCapacity = 100;
    // In a recording that keeps a journal a track's records reach the disk at most this long
    // after they were taken, so that a crash loses little: one buffer is written per frame once
    // its records are half this old, more only when they come close to it.
    static constexpr uint32_t kMaxHeld = 10 * kTicksPerSecond;

private:
    struct Track {
        uint32_t id;
        bool user; // sampled at the user aircraft's interval, with its groups
        std::unique_ptr<RecBuffer> buffer;
    };

    void requireRunning(const char* function, uint32_t line) const;
    void advanceClock();
    void removeVanishedAircraft(uint32_t userId);
    void addNewAircraft(uint32_t userId, const AircraftSet* playing);
    bool wanted(uint32_t id, uint32_t userId, const AircraftSet* playing) const;
    void addTrack(uint32_t id, bool user);
    void sample(bool userDue, bool aiDue);
    void flushHeld();
    void flushAll();
    void destroyTracks();
    void end();

    const GeneralSettings* general_;
    const RecordingSettings* recording_;
    std::vector<Track> tracks_;
    std::vector<Marker> markers_;
    std::unordered_set<uint32_t> trackedIds_;
    std::unique_ptr<TempFile> tempFile_;
    std::unique_ptr<RecordingJournal> journal_;
    bool running_ = false;
    uint32_t now_ = 0;
    uint32_t startTime_ = 0;
    uint32_t nextUserSample_ = 0;
    uint32_t nextAISample_ = 0;
    bool prevOnGround_ = true;
    bool prevEngineRunning_ = false;
    uint32_t stopTime_ = kNoStop;
    bool autoStopped_ = false;
    uint32_t maxSize_ = 0;
    // Filled each sample; kept here so that sampling allocates nothing.
    ContData cont_{};
    DiscData disc_{};
};
