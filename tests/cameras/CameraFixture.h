#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cameras/Geometry.h"
#include "harness/ModuleInSimulator.h"
#include "modules/HostNumbers.h"
#include "host/CameraView.h"
#include "host/ModuleEvents.h"
#include "settings/Settings.h"
#include "support/TempDir.h"
#include "world/Aircraft.h"
#include "world/Earth.h"
#include "world/World.h"

// A camera's world: the stand-in simulator with the module's host interface in this process, the
// trainer as the user aircraft, the frame time of 30 frames a second, and the camera settings.
class CameraFixture : public ::testing::Test {
protected:
    // The host measures its frame time between two frames: two run first, unless the test has
    // listeners to register before the simulator's first frame.
    explicit CameraFixture(bool settle = true) : module_(setup()) {
        if (settle)
            this->settle();
    }
    void settle() {
        module_.sim().frame();
        module_.sim().frame();
    }

    // Places an aircraft (the user's by default) at degrees and metres above mean sea level, with
    // its heading and its pitch (positive nose up) in degrees.
    void place(Aircraft& aircraft, double latitude, double longitude, double altitude, double heading,
               double pitchUp = 0) {
        ZHostPosition p = aircraft.position();
        p.latitude = Earth::latitudeRaw(latitude);
        p.longitude = Earth::longitudeRaw(longitude);
        p.altitude = Earth::altitudeRaw(altitude);
        p.heading = Earth::headingRaw(heading);
        p.pitch = Earth::angleRaw(-pitchUp);
        p.bank = 0;
        aircraft.setPosition(p);
    }
    // Feet a second east, up, north, as an add-on writes them.
    void setVelocity(Aircraft& aircraft, double east, double up, double north) {
        const double velocity[3] = {east, up, north};
        ZHostObject* object = aircraft.object();
        object->ops->setBlock(object, HostNumbers::propertyId(4, HostNumbers::Property::Velocity), velocity,
                              sizeof velocity);
    }
    Aircraft& user() { return *module_.world().user(); }
    // An AI trainer, placed.
    uint32_t addAircraft(double latitude, double longitude, double altitude, double heading) {
        const uint32_t id = module_.world().createAi("Trainer 152 Aerobat", "N123");
        place(*module_.world().find(id), latitude, longitude, altitude, heading);
        return id;
    }
    Simulator& sim() { return module_.sim(); }
    std::string iniFile(const std::string& name) const { return folder_.file(name); }

    static constexpr double kLatitude = 47.0;
    static constexpr double kLongitude = 8.0;
    static double radians(double degrees) { return degrees * Earth::kPi / 180; }
    static double degrees(double radians) { return radians * 180 / Earth::kPi; }

    CameraSettings settings;

private:
    static SimulatorSetup setup() {
        SimulatorSetup s;
        s.userTitle = "Trainer 152 Aerobat";
        s.frameStep = 1.0 / 30;
        return s;
    }

    TempDir folder_;

protected:
    // A listener of the host interface that hears its Stop when the module stops, after the test.
    std::unique_ptr<IFScallback> listener_;

private:
    ModuleInSimulator module_;
};
