#pragma once

#include <cstdint>

// The module's own events, broadcast by FSinterface to its listeners. The meaning of a, b and c
// depends on the event (numbers, or pointers to texts and vectors).
enum ModuleEvent : int {
    Start = 0,
    Stop = 1,
    SimClosing = 2,
    Frame = 3,
    FlightLoaded = 4,
    FlightSaved = 5,
    AircraftLoaded = 6,
    CameraUpdate = 7,
    ViewAdded = 8,
    ViewRemoved = 9,
    ActiveViewChanged = 10,
    EyeMove = 11,
    ViewDirection = 12,
    PanDirection = 13,
    PanAxis = 14,
    Zoom = 15,
    MouseMove = 16,
    MouseWheel = 17,
    KeyDown = 18,
    KeyUp = 19,
    MiddleButton = 20,
    MenuCommand = 21,
};

// A listener of the module's events. A non-zero answer means handled and ends the broadcast.
class IFScallback {
public:
    virtual ~IFScallback() = default;
    virtual int callback(int event, intptr_t a, intptr_t b, intptr_t c) = 0;
};
