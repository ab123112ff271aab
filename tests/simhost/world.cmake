# Tests of simhost/world.
list(APPEND SIMHOST_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AircraftAutopilotTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AircraftCatalogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AircraftKeyEventsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AircraftObjectTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/EarthTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WorldTest.cpp
)
# The sample simulator root the world's tests fly the installed aircraft of.
set_source_files_properties(
    ${CMAKE_CURRENT_LIST_DIR}/AircraftAutopilotTest.cpp ${CMAKE_CURRENT_LIST_DIR}/AircraftCatalogTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/WorldTest.cpp
    PROPERTIES COMPILE_DEFINITIONS ZEPHREL_SAMPLE_SIM_ROOT="${CMAKE_SOURCE_DIR}/data/sim-root")
