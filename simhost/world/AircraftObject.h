#pragma once

#include "host/hostabi.h"
#include "world/AircraftState.h"

// The simulation object add-ons reach an aircraft through: the host's operation table, answering
// in the property, variable, unit and record numbers of the host version the simulator plays.
// Calls in a form that version does not take are refused and counted as wrong forms.
class AircraftObject {
public:
    explicit AircraftObject(AircraftState& state);
    AircraftObject(const AircraftObject&) = delete;
    AircraftObject& operator=(const AircraftObject&) = delete;

    ZHostObject* abi() { return &object_; }

private:
    static AircraftState& stateOf(ZHostObject* object);

    static uint32_t id(ZHostObject* object);
    static int32_t getText(ZHostObject* object, uint32_t property, char* buffer, uint32_t size);
    static int32_t setText(ZHostObject* object, uint32_t property, const char* text);
    static int32_t getDoubles(ZHostObject* object, uint32_t property, double out[3]);
    static int32_t getBlock(ZHostObject* object, uint32_t property, void* out, uint32_t size);
    static int32_t setBlock(ZHostObject* object, uint32_t property, const void* in, uint32_t size);
    static int32_t getVariable(ZHostObject* object, uint32_t variable, uint32_t unit, double* value,
                               uint32_t index);
    static int32_t setVariable(ZHostObject* object, uint32_t variable, uint32_t unit, double value,
                               uint32_t index);
    static int32_t setPosition(ZHostObject* object, const ZHostPosition* position);
    static int32_t setPositionOnGround(ZHostObject* object, const ZHostPosition* position, int32_t onGround,
                                       int32_t zero);
    static int32_t sendEvent(ZHostObject* object, uint32_t event, uint32_t value, uint32_t zero);
    static void* record(ZHostObject* object, uint32_t number);

    static const ZHostObjectOps kOps;

    // The table first, so that the object's address is this one's.
    ZHostObject object_;
    AircraftState* state_;
};
