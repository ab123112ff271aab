#include "services/Flights.h"


#include "services/FlightFile.h"
#include "services/HostEvents.h"
#include "services/RecordFormats.h"
#include "services/SimTime.h"
#include "services/Simulator.h"
#include "text/AsciiCase.h"

namespace {

constexpr double kFeetPerMetre = 1 / 0.3048;

// What system events 38 and 40 carry: a record whose text 4 bytes in is the flight's path.
std::string pathRecord(const std::string& path) {
    return std::string(4, '\0') + path;
}

FlightFile describe(Simulator& simulator, const std::string& title, const std::string& description) {
    FlightFile flight;
    flight.title = title;
    flight.description = description;
    flight.dateTime = simulator.time().dateTime();
    const Aircraft* user = simulator.world().user();
    if (user == nullptr)
        return flight;
    const ZHostPosition position = user->position();
    flight.aircraft = user->type().title;
    flight.latitude = RecordFormats::latitudeDegrees(position.latitude);
    flight.longitude = RecordFormats::longitudeDegrees(position.longitude);
    flight.altitude = RecordFormats::altitudeMetres(position.altitude) * kFeetPerMetre;
    flight.pitch = RecordFormats::signedAngleDegrees(position.pitch);
    flight.bank = RecordFormats::signedAngleDegrees(position.bank);
    flight.heading = RecordFormats::angleDegrees(position.heading);
    flight.onGround = user->onGround();
    flight.speed = user->quantity(HostNumbers::Quantity::TrueAirspeed);
    return flight;
}

// The flight's aircraft, a new user aircraft only when it is another one than the user's.
Aircraft* flightAircraft(Simulator& simulator, const FlightFile& flight) {
    World& world = simulator.world();
    Aircraft* user = world.user();
    if (user != nullptr && equalsIgnoringCase(user->type().title, flight.aircraft))
        return user;
    StartPosition start;
    start.latitude = flight.latitude;
    start.longitude = flight.longitude;
    start.heading = flight.heading;
    if (world.setUser(flight.aircraft, start))
        return world.user();
    simulator.reportError("the flight's aircraft \"" + flight.aircraft +
                          "\" is not installed; the user aircraft stays");
    return user;
}

void place(Aircraft& aircraft, const FlightFile& flight) {
    ZHostPosition position{};
    position.latitude = RecordFormats::latitudeFromDegrees(flight.latitude);
    position.longitude = RecordFormats::longitudeFromDegrees(flight.longitude);
    position.altitude = RecordFormats::altitudeFromMetres(flight.altitude / kFeetPerMetre);
    position.pitch = static_cast<int32_t>(RecordFormats::angleFromDegrees(flight.pitch));
    position.bank = static_cast<int32_t>(RecordFormats::angleFromDegrees(flight.bank));
    position.heading = RecordFormats::angleFromDegrees(flight.heading);
    aircraft.setPosition(position);
    aircraft.setQuantity(HostNumbers::Quantity::OnGround, 0, flight.onGround ? 1 : 0);
    aircraft.setQuantity(HostNumbers::Quantity::TrueAirspeed, 0, flight.speed);
}

} // namespace

namespace Flights {

int32_t save(Simulator& simulator, const std::string& path, const std::string& title,
             const std::string& description) {
    if (!describe(simulator, title, description).write(path + ".flt")) {
        simulator.reportError("cannot write the flight " + path + ".flt");
        return 1;
    }
    const std::string record = pathRecord(path);
    simulator.events().fire(ZHOST_EVENT_SYSTEM, ZHOST_SYSTEM_FLIGHT_SAVED,
                            reinterpret_cast<uintptr_t>(record.c_str()));
    return 0;
}

int32_t load(Simulator& simulator, const std::string& path) {
    const auto flight = FlightFile::read(path);
    if (!flight) {
        simulator.reportError("cannot read the flight " + path);
        return 1;
    }
    if (Aircraft* aircraft = flightAircraft(simulator, *flight))
        place(*aircraft, *flight);
    if (!simulator.time().setDateTime(flight->dateTime))
        simulator.reportError("the flight " + path + " has no valid date and time; the simulator's stay");
    const std::string record = pathRecord(path);
    simulator.events().fire(ZHOST_EVENT_SYSTEM, ZHOST_SYSTEM_FLIGHT_LOADED,
                            reinterpret_cast<uintptr_t>(record.c_str()));
    return 0;
}

} // namespace Flights
