# Tests of simhost/run: scenarios, the add-on list and loader, runs of the simulator.
list(APPEND SIMHOST_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AddonLoaderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioParserTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioRunnerTest.cpp
)

# Small add-on modules, built only for the tests, into an add-on folder of a simulator root so
# that dll.xml can name them relative to the root.
set(zephrel_test_addon_root ${ZEPHREL_TEST_ADDON_ROOT})
add_library(zephrel_test_addon MODULE ${CMAKE_CURRENT_LIST_DIR}/addons/TestAddon.cpp)
target_link_libraries(zephrel_test_addon PRIVATE zephrel_hostabi zephrel_platform ${CMAKE_DL_LIBS})
add_library(zephrel_nostart_addon MODULE ${CMAKE_CURRENT_LIST_DIR}/addons/NoStartAddon.c)
set_target_properties(zephrel_test_addon PROPERTIES OUTPUT_NAME TestAddon)
set_target_properties(zephrel_nostart_addon PROPERTIES OUTPUT_NAME NoStartAddon)
set_target_properties(zephrel_test_addon zephrel_nostart_addon PROPERTIES
                      PREFIX "" SUFFIX ".so" LIBRARY_OUTPUT_DIRECTORY ${zephrel_test_addon_root}/Modules)

# simhost_tests is made after this file is read.
function(zephrel_simhost_run_test_setup)
    add_dependencies(simhost_tests zephrel_test_addon zephrel_nostart_addon)
    target_compile_definitions(simhost_tests PRIVATE ZEPHREL_TEST_ADDON_ROOT="${zephrel_test_addon_root}")
endfunction()
cmake_language(DEFER CALL zephrel_simhost_run_test_setup)
