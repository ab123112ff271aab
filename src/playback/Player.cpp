#include "playback/Player.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/Ticks.h"
#include "common/ZephrelException.h"
#include "host/FSinterface.h"
#include "playback/TrackOffset.h"
#include "settings/TempFolder.h"
#include "text/AsciiCase.h"
#include "winsys/CommonDialogs.h"

namespace {

constexpr uint32_t kNoTime = 0xFFFFFFFFu;
constexpr double kTwoToThe32 = 4294967296.0;
constexpr double kMetresPerFoot = 0.3048;
constexpr const char* kRestoreFlight = "ZephrelTempRestore";

std::string fieldText(const char* field, std::size_t size) {
    return std::string(field, strnlen(field, size));
}

// Time stamps moved by an offset stay on the time line rather than wrap to its start.
uint32_t shifted(uint32_t t, uint64_t offset) {
    return static_cast<uint32_t>(std::min<uint64_t>(t + offset, kNoTime));
}

double fractionOf(uint32_t t, uint32_t begin, uint32_t end) {
    return end > begin ? (static_cast<double>(t) - begin) / (static_cast<double>(end) - begin) : 0.0;
}

} // namespace

Player::Player(const GeneralSettings* general, PlayerSeams seams) : general_(general), seams_(seams) {}

Player::~Player() {
    if (started_)
        abort();
}

// ---- the tracks ----

const PlayTrack& Player::playTrackOf(const Track& track) const {
    return playList_.files[track.file].tracks[track.playTrack];
}

const TrackInfo& Player::infoOf(const Track& track) const {
    return files_[track.file]->getTrackInfo(playTrackOf(track).index);
}

std::string Player::titleOf(const Track& track) const {
    const PlayTrack& play = playTrackOf(track);
    return play.title.empty() ? fieldText(infoOf(track).title, sizeof(TrackInfo::title)) : play.title;
}

std::string Player::tailNumberOf(const Track& track) const {
    const PlayTrack& play = playTrackOf(track);
    return play.tailNumber.empty() ? fieldText(infoOf(track).tailNumber, sizeof(TrackInfo::tailNumber))
                                   : play.tailNumber;
}

bool Player::inSpan(const Track& track, uint32_t t) const {
    return t >= track.first && t <= track.last;
}

Player::Track* Player::userTrackPlayed() {
    return userTrack_ >= 0 ? &tracks_[static_cast<std::size_t>(userTrack_)] : nullptr;
}

// The heights are in feet; the difference lifts (or lowers) every recorded altitude. A recorded
// height no aircraft has (a damaged header: no number, or thousands of feet) lifts nothing.
int64_t Player::altCorrectionFor(const Track& track, uint32_t aircraft) const {
    constexpr double kHighestCgFeet = 1000;
    const double recorded = static_cast<double>(infoOf(track).staticCGtoGround);
    if (!(std::abs(recorded) <= kHighestCgFeet))
        return 0;
    AcftData data;
    FSinterface::getAcftData(aircraft, data);
    const double feet = static_cast<double>(data.staticCGtoGround) - recorded;
    return static_cast<int64_t>(std::trunc(feet * kMetresPerFoot * kTwoToThe32));
}

// ---- start ----

void Player::start(const PlayList& list, bool noRestore, uint32_t startTime) {
    if (userPlayed_ && list.namesUserTrack())
        throw ZephrelException::invalidCall("Player::start", __LINE__);
    if (!list.selectsAnyTrack())
        return;
    if (FSinterface::isOnlineContactsOpen()) {
        if (seams_.prompts != nullptr)
            seams_.prompts->refuseDuringMultiplayer();
        return;
    }
    const bool firstStart = !started_;
    finished_ = false;
    if (firstStart)
        resetForFirstStart(startTime);
    try {
        if (list.namesUserTrack()) {
            const auto file = static_cast<std::size_t>(list.userFile);
            const bool valid = list.userFile >= 0 && file < list.files.size() && list.userTrack >= 0 &&
                               static_cast<std::size_t>(list.userTrack) < list.files[file].tracks.size();
            if (!valid)
                throw ZephrelException(ErrorCode::Unexpected, ZephrelException::StopsRecordingAndPlayback,
                                       "Player::start", __LINE__, "Invalid user aircraft track or file index");
            prepareUserPlayback(noRestore);
        }
        if (userPlayed_)
            FSinterface::setSimOption(false);
        // Live traffic goes whenever recorded aircraft play, also as traffic beside the user's
        // own flight; stopping brings it back in every case.
        if (general_->disableLiveAI)
            FSinterface::setTraffic(false);
        for (std::size_t i = 0; i < list.files.size(); ++i)
            addFile(list.files[i], static_cast<int32_t>(i) == list.userFile, list.userTrack);
    } catch (...) {
        // A first start that fails leaves the simulator as it found it; files added to a running
        // playback play on until the caller stops it.
        if (firstStart)
            restoreSimulator(noRestore);
        throw;
    }
    if (!loop_) {
        loopIn_ = begin_;
        loopOut_ = end_;
    }
    now_ = prevTime_ = std::max(now_, begin_);
    loopIn_ = std::max(loopIn_, begin_);
    loopOut_ = std::min(loopOut_, end_);
    started_ = true;
    if (general_->unpauseStartPlay)
        FSinterface::setPaused(false);
    showLoop();
    showPosition();
}

void Player::resetForFirstStart(uint32_t startTime) {
    forceUpdate_ = true;
    loop_ = false;
    speed_ = 1.0f;
    searchSpeed_ = 0;
    FSinterface::setSimRate(1.0f);
    now_ = prevTime_ = startTime;
    minBegin_ = begin_ = kNoTime;
    maxEnd_ = end_ = 0;
    userPlayed_ = false;
    flightSaved_ = false;
    markers_.clear();
}

void Player::prepareUserPlayback(bool noRestore) {
    if (!noRestore && general_->restoreAfterPlay && !userPlayed_)
        flightSaved_ = FSinterface::saveFlight(tempPath(*general_, kRestoreFlight), "Zephrel temporary flight", "");
    userPlayed_ = true;
}

void Player::addFile(const PlayFile& file, bool isUserFile, int32_t userTrackInFile) {
    if (ZflFile::checkOldVersion(file.fileName) &&
        (seams_.prompts == nullptr || !seams_.prompts->convertOldRecording(file.fileName)))
        return;
    auto opened = std::make_unique<ZflFile>();
    opened->open(file.fileName, ZflFile::Read);
    const auto fileIndex = static_cast<uint32_t>(files_.size());
    playList_.files.push_back(file);
    files_.push_back(std::move(opened));
    ZflFile& zfl = *files_.back();

    for (uint32_t i = 0; i < file.tracks.size(); ++i) {
        const PlayTrack& play = file.tracks[i];
        Track track;
        track.file = fileIndex;
        track.playTrack = i;
        track.offset = shifted(file.timeOffset, play.timeOffset);
        track.first = shifted(zfl.getStartTime(play.index), track.offset);
        track.last = shifted(zfl.getEndTime(play.index), track.offset);
        track.buffer = std::make_unique<PlayBuffer>(kContWindow, kDiscWindow, play.index, zfl);
        minBegin_ = std::min(minBegin_, track.first);
        maxEnd_ = std::max(maxEnd_, track.last);
        tracks_.push_back(std::move(track));
        const bool isUserTrack = isUserFile && static_cast<int32_t>(i) == userTrackInFile;
        if (isUserTrack) {
            playList_.userFile = static_cast<int32_t>(fileIndex);
            playList_.userTrack = static_cast<int32_t>(i);
            userTrack_ = static_cast<int32_t>(tracks_.size() - 1);
            takeOverUserAircraft(tracks_.back());
        }
        setRange();
    }
    for (uint32_t index : file.markers) {
        Marker marker = zfl.readMarker(index);
        marker.time = shifted(marker.time, file.timeOffset);
        markers_.push_back(std::move(marker));
    }
}

// The range follows the track that drives the user aircraft unless it holds its state outside
// its span; then, as without a user track, it covers every track.
void Player::setRange() {
    const Track* user = userTrackPlayed();
    if (user != nullptr && playTrackOf(*user).hold == 0) {
        begin_ = user->first;
        end_ = user->last;
    } else {
        begin_ = minBegin_;
        end_ = maxEnd_;
    }
}

void Player::takeOverUserAircraft(Track& track) {
    AcftData user;
    uint32_t userId = FSinterface::getUserAcftID();
    if (general_->loadAircraft) {
        const std::string title = titleOf(track);
        FSinterface::getAcftData(userId, user);
        if (!equalsIgnoringCase(title, user.title)) {
            FSinterface::setUserAircraft(title);
            userId = FSinterface::getUserAcftID();
        }
    }
    const std::string tailNumber = tailNumberOf(track);
    if (!tailNumber.empty())
        FSinterface::setRegistration(userId, tailNumber);
    track.aircraft = userId;
    track.altCorrection = altCorrectionFor(track, userId);
    track.pitchCorrection = 0;
}

// ---- each frame ----

void Player::frame() {
    if (!started_)
        return;
    const bool paused = FSinterface::isPaused();
    if (paused && !forceUpdate_)
        return;
    prevTime_ = now_;
    if (!paused)
        advanceClock();
    if (loop_ && (now_ < loopIn_ || now_ > loopOut_))
        setTime(loopIn_);
    now_ = std::max(now_, begin_);
    if (now_ > end_) {
        finished_ = true;
        return;
    }
    const bool jump = jumpFlag();
    const uint32_t userId = FSinterface::getUserAcftID();
    for (std::size_t i = 0; i < tracks_.size(); ++i)
        playTrack(tracks_[i], static_cast<int32_t>(i) == userTrack_, userId, jump);
    readAhead();
    if (!forceUpdate_ && searchSpeed_ == 0)
        fireMarkers();
    forceUpdate_ = false;
    showPosition();
}

void Player::advanceClock() {
    int64_t delta = static_cast<int64_t>(std::trunc(FSinterface::getFrameTime() * static_cast<float>(kTicksPerSecond)));
    if (delta > kTicksPerSecond)
        delta = 0;
    delta = searchSpeed_ != 0 ? delta * searchSpeed_ : static_cast<int64_t>(std::trunc(static_cast<double>(delta) * speed_));
    const int64_t moved = static_cast<int64_t>(now_) + delta;
    now_ = static_cast<uint32_t>(std::clamp<int64_t>(moved, 0, kNoTime));
    now_ = std::max(now_, begin_);
}

// States are applied as jumps when the aircraft cannot follow them smoothly: after a jump, when
// playing backwards, and when the clock runs faster than the simulation rate keeps up with.
bool Player::jumpFlag() const {
    const GeneralSettings& s = *general_;
    return forceUpdate_ || speed_ < 0 || searchSpeed_ < 0 || speed_ > 10.0f || searchSpeed_ > 10 ||
           (!s.setSimRate && speed_ > 2.0f) || (!s.setSimRateSearch && searchSpeed_ > 2) ||
           (s.limitSimRate && (speed_ > 8.0f || searchSpeed_ > 8));
}

void Player::playTrack(Track& track, bool isUserTrack, uint32_t userId, bool jump) {
    if (track.aircraft == kCreationFailed)
        return;
    if (isUserTrack) {
        // A reloaded user aircraft is a new object; the track flies whichever is the user's now.
        track.aircraft = userId;
    } else {
        if (!inSpan(track, now_) && playTrackOf(track).hold == 0) {
            if (track.aircraft != kNoAircraft && track.aircraft != userId) {
                FSinterface::removeAircraft(track.aircraft);
                forgetAircraft(track);
            }
            return;
        }
        if (track.aircraft != kNoAircraft && !FSinterface::isAircraft(track.aircraft))
            forgetAircraft(track);
        if (track.aircraft == kNoAircraft) {
            createAircraft(track);
            return;
        }
    }
    applyState(track, isUserTrack, jump);
}

// Tracks recorded together cross into their next windows in the same frame; reading those a few
// per frame beforehand keeps that frame from reading them all at once.
void Player::readAhead() {
    uint32_t reads = 0;
    for (std::size_t n = 0; n < tracks_.size() && reads < kReadsAheadPerFrame; ++n) {
        readAheadFrom_ = (readAheadFrom_ + 1) % tracks_.size();
        reads += tracks_[readAheadFrom_].buffer->readAhead();
    }
}

void Player::forgetAircraft(Track& track) {
    if (aircraft_.erase(track.aircraft) != 0)
        --aiCount_;
    track.aircraft = kNoAircraft;
}

void Player::createAircraft(Track& track) {
    if (general_->maxAircraft != 0 && aiCount_ >= static_cast<uint32_t>(general_->maxAircraft))
        return;
    const uint32_t id = FSinterface::createAicraft(titleOf(track), tailNumberOf(track));
    if (id == 0) {
        track.aircraft = kCreationFailed;
        return;
    }
    track.aircraft = id;
    track.altCorrection = altCorrectionFor(track, id);
    track.pitchCorrection = 0;
    aircraft_.insert(id);
    ++aiCount_;
}

void Player::applyState(Track& track, bool isUserTrack, bool jump) {
    const PlayTrack& play = playTrackOf(track);
    const uint32_t t = now_ > track.offset ? now_ - track.offset : 0;
    track.buffer->interpData(t, cont_, disc_);
    applyTrackOffset(play, cont_);
    // Both wrap as their units do (2^32 = 360°) rather than overflow.
    cont_.altitude = static_cast<int64_t>(static_cast<uint64_t>(cont_.altitude) +
                                          static_cast<uint64_t>(track.altCorrection));
    cont_.pitch = static_cast<int32_t>(static_cast<uint32_t>(cont_.pitch) + static_cast<uint32_t>(track.pitchCorrection));
    DataFormat format = infoOf(track).format;
    if (isUserTrack && seams_.dataWindow != nullptr && seams_.dataWindow->isShown())
        seams_.dataWindow->setData(cont_, disc_, format);
    format.ContFlags &= play.contFlags;
    format.DiscFlags &= play.discFlags;
    FSinterface::writeData(track.aircraft, &cont_, &disc_, &format, jump);
}

// A marker fires once, in the frame whose clock first reaches it, unless the clock passes it by
// a second or more in that frame.
void Player::fireMarkers() {
    if (seams_.markerActions == nullptr)
        return;
    for (const Marker& marker : markers_) {
        if (marker.type != Marker::None && prevTime_ < marker.time && marker.time <= now_ &&
            uint64_t{now_} < uint64_t{marker.time} + kTicksPerSecond)
            seams_.markerActions->fire(marker);
    }
}

// ---- stop ----

void Player::stop(bool noRestore) {
    if (!started_)
        throw ZephrelException::invalidCall("Player::stop", __LINE__);
    const uint32_t userId = FSinterface::getUserAcftID();
    for (Track& track : tracks_) {
        if (track.aircraft != kNoAircraft && track.aircraft != kCreationFailed && track.aircraft != userId)
            FSinterface::removeAircraft(track.aircraft);
    }
    tracks_.clear();
    aircraft_.clear();
    aiCount_ = 0;
    clearMarkerEffects();
    try {
        if (seams_.prompts != nullptr)
            seams_.prompts->offerNewMarkers(markers_);
    } catch (...) {
        // The simulator gets its traffic, rate and options back whatever the offer did.
        restoreSimulator(noRestore);
        throw;
    }
    if (general_->pauseEndPlay)
        FSinterface::setPaused(true);
    restoreSimulator(noRestore);
}

// Undoes what starting changed: every file and track let go, rate, options and traffic back, and
// the flight saved at the start loaded again.
void Player::restoreSimulator(bool noRestore) {
    releaseAll();
    FSinterface::setSimRate(1.0f);
    FSinterface::setSimOption(true);
    FSinterface::setTraffic(true);
    if (!noRestore && general_->restoreAfterPlay && userPlayed_ && flightSaved_)
        FSinterface::loadFlight(tempPath(*general_, kRestoreFlight));
    userPlayed_ = false;
    started_ = false;
    flightSaved_ = false;
}

void Player::abort() {
    releaseAll();
    userPlayed_ = false;
    started_ = false;
    flightSaved_ = false;
}

void Player::releaseAll() {
    tracks_.clear();
    userTrack_ = -1;
    aircraft_.clear();
    aiCount_ = 0;
    markers_.clear();
    for (const std::unique_ptr<ZflFile>& file : files_)
        file->close();
    files_.clear();
    playList_ = PlayList{};
}

// ---- what the control window shows ----

void Player::showPosition() {
    if (seams_.controlWindow != nullptr)
        seams_.controlWindow->setPosition(fractionOf(now_, begin_, end_));
}

void Player::showLoop() {
    if (seams_.controlWindow != nullptr)
        seams_.controlWindow->setLoop(fractionOf(loopIn_, begin_, end_), fractionOf(loopOut_, begin_, end_), loop_);
}

void Player::clearMarkerEffects() {
    FSinterface::showText("", 0, false);
    win::sndPlaySound(nullptr, 0);
}
