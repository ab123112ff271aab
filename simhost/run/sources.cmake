# Add-on loading from dll.xml, scenarios and their runner.
list(APPEND SIMHOST_RUN_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AddonList.cpp
    ${CMAKE_CURRENT_LIST_DIR}/AddonLoader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DialogSteps.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MenuChoice.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioLine.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioParser.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioRunner.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VirtualKeys.cpp
)
