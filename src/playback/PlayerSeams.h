#pragma once

#include <string>
#include <vector>

#include "common/FlightData.h"
#include "common/Marker.h"

// What the player feeds besides the simulator: the playback control window, the data window, the
// markers' actions and the questions it puts to the user. The player works without any of them
// (a null pointer).

// Fractions are of the playback range, 0 at its beginning and 1 at its end.
class PlaybackControlView {
public:
    virtual ~PlaybackControlView() = default;
    virtual void setPosition(double fraction) = 0;
    virtual void setLoop(double inFraction, double outFraction, bool loopOn) = 0;
    virtual void setSpeed(float speed) = 0;
};

// Shows the values of the track that drives the user aircraft.
class FlightDataView {
public:
    virtual ~FlightDataView() = default;
    virtual bool isShown() const = 0;
    virtual void setData(const ContData& cont, const DiscData& disc, const DataFormat& format) = 0;
};

// Carries out a marker when the playback clock reaches it: its sound, text, pause or camera.
class MarkerActions {
public:
    virtual ~MarkerActions() = default;
    virtual void fire(const Marker& marker) = 0;
};

// What the player asks and tells the user. Without it the player asks nothing: a refused
// playback is refused silently, a first-generation recording is left out unconverted, and the
// markers set during a playback are not offered for saving.
class PlayerPrompts {
public:
    virtual ~PlayerPrompts() = default;
    // A playback cannot start while a multiplayer session runs.
    virtual void refuseDuringMultiplayer() = 0;
    // Whether the first-generation recording at `path` may be played: asks, and converts it on yes.
    virtual bool convertOldRecording(const std::string& path) = 0;
    // At the end of a playback, with every marker it had: offers to save those set during it.
    virtual void offerNewMarkers(const std::vector<Marker>& markers) = 0;
};

struct PlayerSeams {
    PlaybackControlView* controlWindow = nullptr;
    FlightDataView* dataWindow = nullptr;
    MarkerActions* markerActions = nullptr;
    PlayerPrompts* prompts = nullptr;
};
