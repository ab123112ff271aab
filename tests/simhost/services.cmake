# Tests of simhost/services.
list(APPEND SIMHOST_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/HostEventsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorFlightTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorMenusTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorModulesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorPictureTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorTimeTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulatorWindowTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimViewsTest.cpp
)
