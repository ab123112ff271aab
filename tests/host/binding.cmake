# Tests of the host binding sources, and of the module file built from them.
list(APPEND HOST_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/FakeHost.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FSinterfaceControlTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FSinterfaceEventsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FSinterfaceModuleTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FSinterfaceStartupTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FSinterfaceViewsTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FSinterfaceWindowTest.cpp
)
# The module file test loads Zephrel_FSX as the simulator does.
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/FSinterfaceModuleTest.cpp PROPERTIES
    COMPILE_DEFINITIONS "ZEPHREL_MODULE_FILE=\"$<TARGET_FILE:Zephrel_FSX>\"")
cmake_language(DEFER CALL add_dependencies host_tests Zephrel_FSX)
