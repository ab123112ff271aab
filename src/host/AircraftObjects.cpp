#include <cmath>
#include <filesystem>

#include "common/ZephrelException.h"
#include "host/AircraftWalk.h"
#include "host/FSinterface.h"
#include "host/HostState.h"
#include "host/SimObject.h"

namespace V = HostVariables;

namespace {

constexpr std::size_t kMaxPath = 260;
constexpr int32_t kCreateAsAi = 1;
constexpr std::size_t kInitialStateSize = 36;

std::string limitedPath(const std::string& path) {
    return path.substr(0, kMaxPath);
}

} // namespace

uint32_t FSinterface::getUserAcftID() {
    ZHostObject* user = hostState().bound.userAircraft();
    return user != nullptr ? user->ops->id(user) : 0;
}

uint32_t FSinterface::getNextAcftID(uint32_t id) {
    return AircraftWalk::next(hostState().bound.objectMap(), id, getUserAcftID(),
                              "FSinterface::getNextAcftID");
}

uint32_t FSinterface::getPrevAcftID(uint32_t id) {
    return AircraftWalk::previous(hostState().bound.objectMap(), id, getUserAcftID(),
                                  "FSinterface::getPrevAcftID");
}

bool FSinterface::isAircraft(uint32_t id) {
    return id != 0 && hostState().bound.objectById(id) != nullptr;
}

void FSinterface::getAcftData(uint32_t id, AcftData& data) {
    const SimObject object = SimObject::byId(id, "FSinterface::getAcftData");
    data.title = object.text(HostProperties::kTitle);
    data.staticCGtoGround = static_cast<float>(object.get(V::kStaticCgHeight));
    data.tailNumber = object.text(HostProperties::kTailNumber);
    data.nEngines = static_cast<uint8_t>(std::lround(object.get(V::kEngineCount)));
    data.hasFlaps = object.get(V::kHasFlaps) != 0;
    data.hasRetractableGear = object.get(V::kHasRetractableGear) != 0;
    data.hasSpoilers = object.get(V::kHasSpoilers) != 0;
    data.hasPropAndMixture = object.get(V::kHasPropAndMixture) != 0;
}

uint32_t FSinterface::createAicraft(const std::string& title, const std::string& tailNumber) {
    ZHostAiCreator* creator = hostState().bound.aiCreator();
    if (creator == nullptr)
        throw ZephrelException(ErrorCode::Unexpected, ZephrelException::StopsRecordingAndPlayback,
                               "FSinterface::createAicraft", __LINE__, "NULL pointer returned");
    const uint8_t initialState[kInitialStateSize] = {};
    return creator->ops->create(creator, title.c_str(), tailNumber.c_str(), kCreateAsAi, initialState);
}

void FSinterface::removeAircraft(uint32_t id) {
    hostState().bound.removeObject(id, 0);
}

void FSinterface::setRegistration(uint32_t id, const std::string& text) {
    SimObject::byId(id, "FSinterface::setRegistration").setText(HostProperties::kTailNumber, text);
}

void FSinterface::setUserAircraft(const std::string& title) {
    if (hostState().stopping)
        return;
    hostState().bound.selectUserAircraft(title.c_str());
}

bool FSinterface::saveFlight(const std::string& path, const std::string& title,
                             const std::string& description) {
    if (hostState().stopping)
        return false;
    return hostState().bound.saveFlight(limitedPath(path).c_str(), title.c_str(), description.c_str()) == 0;
}

// The host reports every loaded flight; the one loaded here is the module's own and is not
// announced as FlightLoaded.
bool FSinterface::loadFlight(const std::string& path) {
    HostState& state = hostState();
    if (state.stopping)
        return false;
    const std::string file = limitedPath(path + ".flt");
    state.loadingFlight = true;
    const int32_t result =
        state.olderHost() ? reinterpret_cast<ZHostLoadFlightOldFn>(state.bound.loadFlight)(file.c_str(), 0)
                          : reinterpret_cast<ZHostLoadFlightFn>(state.bound.loadFlight)(file.c_str(), 0, 0);
    state.loadingFlight = false;
    return result == 0;
}

std::size_t FSinterface::getAircraftList(const std::string& root, std::vector<InstalledAircraft>& list) {
    return ::getAircraftList(root, list);
}

// An aircraft's folder is <root>/SimObjects/<kind>/<folder>.
std::string FSinterface::getSimulatorRoot() {
    const std::string& folder = hostState().aircraftFolder;
    if (folder.empty())
        return {};
    return std::filesystem::path(folder).parent_path().parent_path().parent_path().string();
}
