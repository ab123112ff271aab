#pragma once

#include <cstdint>
#include <string>

#include "host/HostProperties.h"
#include "host/HostRecords.h"
#include "host/HostVariables.h"
#include "host/hostabi.h"

// A simulation object of the simulator, spoken to in the numbering of the running host: the
// property and variable ids of its build tag and the record numbers of its version index.
class SimObject {
public:
    // The object of an aircraft id, or the user aircraft's object. A missing one fails with
    // "Invalid aircraft ID" (stopping recording and playback) at `place`.
    static SimObject byId(uint32_t id, const char* place);
    static SimObject user(const char* place);
    explicit SimObject(ZHostObject* object);

    // The host's value, 0 when the object refuses the variable.
    double get(const HostVariables::PerTag& variable, uint32_t index = 0) const;
    void set(const HostVariables::PerTag& variable, double value, uint32_t index = 0) const;
    void sendEvent(uint32_t event, uint32_t value = 0) const;

    ZHostPosition position() const;
    // Newer hosts take position and attitude alone; older ones also the on-ground flag, inside
    // the position-write word.
    void setPosition(const ZHostPosition& position, int32_t onGround) const;
    void velocity(double velocity[3]) const;
    void setVelocity(const double velocity[3]) const;

    std::string text(const HostProperties::PerTag& property) const;
    void setText(const HostProperties::PerTag& property, const std::string& text) const;
    void doubles(const HostProperties::PerTag& property, double out[3]) const;

    // The control at the end of the second control chain (two references from the object), null
    // when the chain is missing.
    ZHostChainControl* chainedControl() const;

    // An internal record, null when the object has none.
    template <typename Record> Record* record(const PerVersion& numbers) const {
        return static_cast<Record*>(object_->ops->record(object_, HostRecords::of(numbers, versionIndex_)));
    }

private:
    static SimObject found(ZHostObject* object, const char* place, uint32_t line);

    ZHostObject* object_;
    int buildTag_;
    int versionIndex_;
};
