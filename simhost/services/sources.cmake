# The services behind the host modules, the host events and the frame loop.
list(APPEND SIMHOST_SERVICES_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AircraftModules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ApiModules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FlightFile.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FlightModule.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Flights.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostDevice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostEvents.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostInstallers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostMenus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PanelVariables.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordFormats.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScreenTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimDate.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimGroups.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimTime.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Simulator.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorMenus.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorKeys.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TextResources.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TickCounter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimeModules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WindowModules.cpp
)
