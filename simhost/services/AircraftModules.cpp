// sim1.dll, fs-traffic.dll, acontain.dll and g3d.dll: the world's aircraft as add-ons reach them.
#include <numbers>

#include "services/HostInstallers.h"
#include "services/RecordFormats.h"
#include "services/SimOptions.h"
#include "world/Airports.h"

using namespace HostInstall;

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;
constexpr int32_t kCreationMode = 1;

ZHostObject* userObject() {
    Aircraft* user = host().world().user();
    return user != nullptr ? user->object() : nullptr;
}

uint32_t createAi(ZHostAiCreator*, const char* title, const char* tailNumber, int32_t mode,
                  const uint8_t initialState[36]) {
    bool zeroState = initialState != nullptr;
    for (int i = 0; zeroState && i < 36; ++i)
        zeroState = initialState[i] == 0;
    if (title == nullptr || mode != kCreationMode || !zeroState) {
        wrongForm("AI creation needs a title, mode 1 and a zeroed 36-byte initial state");
        return 0;
    }
    return host().world().createAi(title, tailNumber != nullptr ? tailNumber : "");
}

const ZHostAiCreatorOps kCreatorOps = {&createAi};
ZHostAiCreator creator = {&kCreatorOps};

void installSim1(HostModule& m, int v) {
    using namespace HostNumbers::Sim1;
    entry<ZHostUserObjectFn>(m, v, UserObject, [] { return userObject(); });
    entry<ZHostObjectByIdFn>(m, v, ObjectById, [](uint32_t id) -> ZHostObject* {
        Aircraft* aircraft = host().world().find(id);
        return aircraft != nullptr ? aircraft->object() : nullptr;
    });
}

void installTraffic(HostModule& m, int v) {
    using namespace HostNumbers::Traffic;
    entry<ZHostGetTrafficFn>(m, v, GetTraffic, [](ZHostTrafficSettings* settings) {
        if (settings == nullptr)
            wrongForm("getTraffic without a settings record");
        else
            *settings = host().options().traffic();
    });
    entry<ZHostSetTrafficFn>(m, v, SetTraffic, [](const ZHostTrafficSettings* settings) {
        if (settings == nullptr) {
            wrongForm("setTraffic without a settings record");
            return;
        }
        host().options().setTraffic(*settings);
        host().applyTraffic();
    });
    entry<ZHostAiCreatorFn>(m, v, AiCreator, [] { return &creator; });
}

void installAcontain(HostModule& m, int v) {
    using namespace HostNumbers::Acontain;
    entry<ZHostUserAircraftFn>(m, v, UserAircraft, [] { return userObject(); });
    entry<ZHostRemoveObjectFn>(m, v, RemoveObject, [](uint32_t id, int32_t zero) {
        if (zero != 0)
            wrongForm("removeObject with a second argument other than 0");
        host().world().remove(id);
    });
    entry<ZHostSelectUserAircraftFn>(m, v, SelectUserAircraft, [](const char* title) {
        if (title == nullptr)
            wrongForm("selectUserAircraft without a title");
        else
            host().changeUserAircraft(title);
    });
}

void installG3d(HostModule& m, int v) {
    using namespace HostNumbers::G3d;
    entry<ZHostGroundElevationFn>(m, v, GroundElevation, [](int64_t latitude, int64_t longitude) {
        return World::groundElevation(RecordFormats::latitudeDegrees(latitude) * kRadiansPerDegree,
                                      RecordFormats::longitudeDegrees(longitude) * kRadiansPerDegree);
    });
    entry<ZHostPositionQueryFn>(m, v, PositionQuery, [](uint32_t id, double* latitude, double* longitude) {
        if (latitude == nullptr || longitude == nullptr) {
            wrongForm("positionQuery without its two results");
            return;
        }
        const Aircraft* aircraft = host().world().find(id);
        *latitude = aircraft != nullptr ? aircraft->latitude() / kRadiansPerDegree : 0;
        *longitude = aircraft != nullptr ? aircraft->longitude() / kRadiansPerDegree : 0;
    });
    entry<ZHostObjectMapFn>(m, v, ObjectMap, [] { return host().world().objectMap(); });
    entry<ZHostTowerPositionFn>(m, v, TowerPosition, [](double out[3]) -> int32_t {
        const Aircraft* user = host().world().user();
        if (out == nullptr || user == nullptr)
            return 1;
        const Airport& airport =
            Airports::nearest(user->latitude() / kRadiansPerDegree, user->longitude() / kRadiansPerDegree);
        out[0] = airport.towerLatitude;
        out[1] = airport.towerLongitude;
        out[2] = airport.elevation + airport.towerHeight;
        return 0;
    });
}

} // namespace

void installAircraftModules(Simulator& simulator) {
    const int v = simulator.context().versionIndex;
    installSim1(simulator.modules().module("sim1.dll"), v);
    installTraffic(simulator.modules().module("fs-traffic.dll"), v);
    installAcontain(simulator.modules().module("acontain.dll"), v);
    installG3d(simulator.modules().module("g3d.dll"), v);
}
