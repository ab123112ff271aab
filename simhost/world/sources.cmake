# The world: aircraft, their dynamics and autopilot, the catalogue, live traffic, terrain.
list(APPEND SIMHOST_WORLD_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/Aircraft.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AircraftCatalog.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AircraftKeyEvents.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AircraftObject.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AircraftState.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Autopilot.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AutopilotPlan.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Earth.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FlightModel.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LiveTraffic.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Performance.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimContext.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Terrain.cpp
    ${CMAKE_CURRENT_LIST_DIR}/World.cpp
)
