# Tests of the host state sources.
list(APPEND HOST_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AircraftObjectsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FakeObject.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StateExchangeGettersTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StateExchangeTest.cpp
)
