# The aircraft state exchange and the aircraft objects.
list(APPEND HOST_STATE_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AircraftObjects.cpp
    ${CMAKE_CURRENT_LIST_DIR}/LevelDLights.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ReadData.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimObject.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StateGetters.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WriteData.cpp
)
