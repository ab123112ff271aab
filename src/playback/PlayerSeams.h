#pragma once

#include "FlightData.h"
#include "Marker.h"

// What the player feeds besides the simulator: the playback control window, the data window and
// the markers' actions. The player works without any of them (a null pointer).

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

struct PlayerSeams {
    PlaybackControlView* controlWindow = nullptr;
    FlightDataView* dataWindow = nullptr;
    MarkerActions* markerActions = nullptr;
};
