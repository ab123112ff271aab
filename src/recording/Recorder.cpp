#include "recording/Recorder.h"

#include <algorithm>
#include <cstring>

#include "common/Log.h"
#include "common/Ticks.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "recording/InterruptedRecording.h"
#include "settings/TempFolder.h"

namespace {

constexpr uint32_t kTitleLength = 256;
constexpr uint32_t kTailNumberLength = 10;

// A negative interval from a hand-edited settings file samples every frame.
uint32_t interval(int32_t value) {
    return static_cast<uint32_t>(std::max(value, 0));
}

// The clock value `seconds` after `from`, the time a hand-edited AutoStopTime gives: in 64 bits,
// at once when negative, and beyond the clock's reach (never) when too large for it.
uint32_t after(uint32_t from, int32_t seconds) {
    const uint64_t due = uint64_t{from} + uint64_t{static_cast<uint32_t>(std::max(seconds, 0))} * kTicksPerSecond;
    return static_cast<uint32_t>(std::min<uint64_t>(due, Recorder::kNoStop));
}

// Header texts fill their field and need no terminator when they use all of it.
void copyText(char* out, std::size_t outSize, const std::string& text, std::size_t maxLength) {
    const std::size_t length = std::min({text.size(), maxLength, outSize});
    std::memset(out, 0, outSize);
    std::memcpy(out, text.data(), length);
}

// The groups the settings ask for, less those the aircraft has nothing for.
DataFormat formatFor(const AcftData& aircraft, uint32_t contFlags, uint32_t discFlags) {
    DataFormat format{};
    format.nEngines = aircraft.nEngines;
    format.ContFlags = contFlags;
    format.DiscFlags = discFlags;
    if (aircraft.nEngines == 0) {
        format.ContFlags &= ~(ContGroup::Throttles | ContGroup::Propellers | ContGroup::Mixtures);
        format.DiscFlags &= ~DiscGroup::Engines;
    }
    if (!aircraft.hasFlaps)
        format.DiscFlags &= ~DiscGroup::Flaps;
    if (!aircraft.hasRetractableGear)
        format.DiscFlags &= ~DiscGroup::Gear;
    if (!aircraft.hasSpoilers)
        format.ContFlags &= ~ContGroup::Spoilers;
    if (!aircraft.hasPropAndMixture)
        format.ContFlags &= ~(ContGroup::Propellers | ContGroup::Mixtures);
    return format;
}

} // namespace

Recorder::Recorder(const GeneralSettings* general, const RecordingSettings* recording)
    : general_(general), recording_(recording) {}

Recorder::~Recorder() {
    abort();
}

void Recorder::requireRunning(const char* function, uint32_t line) const {
    if (!running_)
        throw ZephrelException::invalidCall(function, line);
}

bool Recorder::autoStopped() {
    const bool due = autoStopped_;
    autoStopped_ = false;
    return due;
}

// ---- starting and stopping ----

void Recorder::start(uint32_t startTime, uint32_t maxSize, std::optional<RecordingDate> journal) {
    if (running_ || tempFile_ != nullptr)
        throw ZephrelException::invalidCall("Recorder::start", __LINE__);
    destroyTracks();
    markers_.clear();
    now_ = startTime_ = nextUserSample_ = nextAISample_ = startTime;
    stopTime_ = recording_->autoStopMode == RecordingSettings::AutoStopAfterStart
                    ? after(startTime, recording_->autoStopTime)
                    : kNoStop;
    autoStopped_ = false;
    prevOnGround_ = true;
    prevEngineRunning_ = false;
    maxSize_ = maxSize;
    tempFile_ = std::make_unique<TempFile>(tempPath(*general_, kFilesName), maxSize);
    tempFile_->spreadWrites();
    if (journal) {
        try {
            journal_ = std::make_unique<RecordingJournal>(tempFile_->baseName(), *journal);
        } catch (...) {
            tempFile_.reset();
            throw;
        }
    }
    running_ = true;
}

void Recorder::stop(const std::string& fileName) {
    requireRunning("Recorder::stop", __LINE__);
    if (!fileName.empty()) {
        flushAll();
        tempFile_->writeZflFile(fileName, 0, &markers_);
    }
    end();
}

std::optional<std::string> Recorder::keepForLater() {
    requireRunning("Recorder::keepForLater", __LINE__);
    // What the disk still takes is kept; what it would not take is lost with the buffers.
    for (Track& track : tracks_) {
        try {
            track.buffer->flush();
        } catch (const ZephrelException&) {
            // Written to the log as it was made.
        }
    }
    const std::string baseName = tempFile_->baseName();
    tempFile_->keepFiles();
    journal_.reset(); // closed, and left on disk
    end();
    return InterruptedRecording::setAside(baseName);
}

void Recorder::end() {
    destroyTracks();
    running_ = false;
    tempFile_.reset();
    if (journal_)
        journal_->end();
    journal_.reset();
}

void Recorder::save(const std::string& fileName, uint32_t startTime) {
    requireRunning("Recorder::save", __LINE__);
    flushAll();
    tempFile_->writeZflFile(fileName, startTime, &markers_);
}

uint32_t Recorder::getStartTime() {
    requireRunning("Recorder::getStartTime", __LINE__);
    if (maxSize_ == 0)
        return startTime_;
    if (tracks_.empty())
        return now_;
    tracks_.front().buffer->flush();
    // With no user block left in the ring nothing older than now is held.
    const uint32_t first = tempFile_->getFirstTimestamp(tracks_.front().id);
    return first != TempFile::kNoTimestamp ? first : now_;
}

void Recorder::addMarker(const Marker& marker) {
    markers_.push_back(marker);
    if (journal_ && !journal_->addMarker(marker))
        Log::log("Warning: the marker at " + std::to_string(marker.time) +
                     " could not be written to the recording's journal",
                 1, false);
}

void Recorder::abort() {
    end();
}

void Recorder::flushHeld() {
    // One buffer a frame once its records are half the bound old, the oldest first: the writes
    // of many tracks started together spread over frames. Records close to the bound go at once.
    Track* oldest = nullptr;
    for (Track& track : tracks_) {
        const RecBuffer& buffer = *track.buffer;
        if (!buffer.holdsRecords())
            continue;
        const uint32_t age = now_ - buffer.heldSince();
        if (age >= kMaxHeld * 4 / 5)
            track.buffer->flush();
        else if (age >= kMaxHeld / 2 && (oldest == nullptr || buffer.heldSince() < oldest->buffer->heldSince()))
            oldest = &track;
    }
    if (oldest != nullptr)
        oldest->buffer->flush();
}

void Recorder::flushAll() {
    for (Track& track : tracks_)
        track.buffer->flush();
}

void Recorder::destroyTracks() {
    tracks_.clear();
    trackedIds_.clear();
}

// ---- one frame ----

void Recorder::advanceClock() {
    auto ticks = static_cast<uint32_t>(std::max(FSinterface::getFrameTime(), 0.0f) * kTicksPerSecond);
    if (ticks > kTicksPerSecond)
        ticks = 0; // a frame of more than a second (loading, a dialog) is not flight time
    now_ += static_cast<uint32_t>(static_cast<float>(ticks) * FSinterface::getSimRate());
}

void Recorder::frame(const AircraftSet* playing) {
    requireRunning("Recorder::frame", __LINE__);
    // Blocks filled in earlier frames reach the disk a few at a time, also while paused.
    tempFile_->writeWaiting(now_);
    if (FSinterface::isPaused())
        return;
    advanceClock();
    const uint32_t userId = FSinterface::getUserAcftID();

    const bool onGround = FSinterface::getOnGround();
    const bool engineRunning = FSinterface::getEngineRunning();
    const bool touchdown = !prevOnGround_ && onGround;
    const bool liftOff = prevOnGround_ && !onGround;
    const bool shutdown = prevEngineRunning_ && !engineRunning;
    prevOnGround_ = onGround;
    prevEngineRunning_ = engineRunning;

    const int32_t mode = recording_->autoStopMode;
    if ((touchdown && mode == RecordingSettings::AutoStopAfterTouchdown) ||
        (shutdown && mode == RecordingSettings::AutoStopAfterShutdown))
        stopTime_ = after(now_, recording_->autoStopTime);
    if (mode != RecordingSettings::AutoStopOff && now_ > stopTime_) {
        stopTime_ = kNoStop;
        autoStopped_ = true;
    }
    // What a crash could take away is bounded where the recording can be saved after one.
    if (journal_)
        flushHeld();

    const bool userDue = now_ > nextUserSample_;
    const bool aiDue = now_ > nextAISample_;
    if (!userDue && !aiDue && !touchdown && !liftOff)
        return;
    removeVanishedAircraft(userId);
    addNewAircraft(userId, playing);
    sample(userDue, aiDue);

    // A schedule that fell more than an interval behind starts again from now: no catch-up burst.
    const uint32_t userInterval = interval(recording_->interval);
    const uint32_t aiInterval = interval(recording_->intervalAI);
    if (userDue) {
        if (now_ - nextUserSample_ > userInterval)
            nextUserSample_ = now_;
        nextUserSample_ += userInterval;
    }
    if (aiDue) {
        if (now_ - nextAISample_ > aiInterval)
            nextAISample_ = now_;
        nextAISample_ += aiInterval;
    }
}

void Recorder::removeVanishedAircraft(uint32_t userId) {
    for (auto track = tracks_.begin(); track != tracks_.end();) {
        if (track->id == userId || FSinterface::isAircraft(track->id)) {
            ++track;
            continue;
        }
        track->buffer->flush();
        trackedIds_.erase(track->id);
        track = tracks_.erase(track);
    }
}

bool Recorder::wanted(uint32_t id, uint32_t userId, const AircraftSet* playing) const {
    if (id == userId)
        return true;
    if (playing != nullptr && playing->contains(id))
        return recording_->recordPlayingTraffic;
    return recording_->recordAI;
}

void Recorder::addNewAircraft(uint32_t userId, const AircraftSet* playing) {
    const auto limit = static_cast<std::size_t>(std::max(general_->maxAircraft, 0));
    uint32_t id = userId;
    do {
        if (limit != 0 && tracks_.size() >= limit)
            return;
        if (!trackedIds_.contains(id) && wanted(id, userId, playing) && FSinterface::isAircraft(id))
            addTrack(id, id == userId);
        id = FSinterface::getNextAcftID(id);
    } while (id != 0 && id != userId);
}

void Recorder::addTrack(uint32_t id, bool user) {
    AcftData aircraft;
    FSinterface::getAcftData(id, aircraft);
    TrackInfo info{};
    copyText(info.title, sizeof info.title, aircraft.title, kTitleLength);
    copyText(info.tailNumber, sizeof info.tailNumber, aircraft.tailNumber, kTailNumberLength);
    info.staticCGtoGround = aircraft.staticCGtoGround;
    info.format = user ? formatFor(aircraft, recording_->contFlags, recording_->discFlags)
                       : formatFor(aircraft, recording_->contFlagsAI, recording_->discFlagsAI);
    info.originalRecording = user ? 1 : 0;
    tracks_.push_back({id, user, std::make_unique<RecBuffer>(kBufferCapacity, kBufferCapacity, info, *tempFile_, id)});
    trackedIds_.insert(id);
}

void Recorder::sample(bool userDue, bool aiDue) {
    for (Track& track : tracks_) {
        if (!(track.user ? userDue : aiDue))
            continue;
        const DataFormat& format = track.buffer->trackInfo().format;
        FSinterface::readData(track.id, format.ContFlags, format.DiscFlags, &cont_, &disc_);
        cont_.timestamp = now_;
        disc_.timestamp = now_;
        track.buffer->addSample(cont_, disc_);
    }
}
