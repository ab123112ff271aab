# Tests of simhost/run: scenarios, the add-on list and loader, runs of the simulator.
list(APPEND SIMHOST_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/AddonLoaderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioParserTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScenarioRunnerTest.cpp
)

# Small add-on modules, built only for the tests, into an add-on folder of a simulator root so
# that dll.xml can name them relative to the root.
set(zephrel_test_addon_root ${CMAKE_CURRENT_BINARY_DIR}/addon-root)
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

# zephrel-sim as a user runs it: a simulator root with one aircraft, an application data folder
# whose dll.xml names the test add-on, and short scenarios.
set(zephrel_sim_test ${CMAKE_CURRENT_BINARY_DIR}/zephrel-sim-test)
file(WRITE ${zephrel_sim_test}/root/SimObjects/Airplanes/Trainer/aircraft.cfg
     "[fltsim.0]\ntitle=Test Trainer\natc_id=N172TT\n\n[GENERAL]\ncategory=Airplane\n")
file(WRITE ${zephrel_sim_test}/appdata/Microsoft/FSX/dll.xml
     "<?xml version=\"1.0\" encoding=\"Windows-1252\"?>\n<SimBase.Document Type=\"Launch\" version=\"1,0\">\n"
     "  <Launch.Addon>\n    <Name>Test</Name>\n    <Path>${zephrel_test_addon_root}/Modules/TestAddon.so</Path>\n"
     "  </Launch.Addon>\n</SimBase.Document>\n")
file(WRITE ${zephrel_sim_test}/fly.scenario
     "# A short flight with the test add-on.\nroot root\nappdata appdata\nframe-step 0.05\nduration 4\n"
     "at 0 fly start-engines\nat 1 key press E\nat 2 pause on\nat 2.5 pause off\nat 3 close\n")
file(WRITE ${zephrel_sim_test}/menu.scenario "root root\nduration 1\nat 0.5 menu \"Zephrel/Record...\"\n")
file(WRITE ${zephrel_sim_test}/broken.scenario "root root\nat 1 key press NOKEY\n")
file(WRITE ${zephrel_sim_test}/noroot.scenario "frame-step 0.1\nduration 1\n")

# name|exit status|arguments|what the output shows
set(zephrel_sim_tests
    "runs_a_scenario_with_an_add_on|0|--scenario fly.scenario|frames: [0-9]+.*add-ons loaded: 1.*errors shown: 1"
    "takes_root_appdata_and_version_from_the_command_line|0|--scenario noroot.scenario --root root --appdata appdata --host-version 10.0.60905.0|add-ons loaded: 1"
    "needs_a_root|1|--scenario noroot.scenario|no simulator root"
    "reports_a_menu_item_it_cannot_choose|1|--scenario menu.scenario|scenario line 3: no menu item \"Zephrel/Record...\""
    "reports_the_line_of_a_broken_scenario|1|--scenario broken.scenario|scenario line 2: unknown key \"NOKEY\""
    "reports_a_missing_scenario|1|--scenario none.scenario|scenario none.scenario cannot be read"
    "rejects_a_bad_host_version|2|--scenario fly.scenario --host-version 10.0|--host-version must be X.Y.Z.W.*usage: zephrel-sim"
    "rejects_an_option_without_its_value|2|--scenario|--scenario needs a value"
    "rejects_an_unknown_argument|2|--scenario fly.scenario --fast|unknown argument --fast"
    "without_arguments_prints_usage|2||--scenario is required.*usage: zephrel-sim"
    "prints_help|0|--help|usage: zephrel-sim --scenario FILE")
foreach(entry IN LISTS zephrel_sim_tests)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 name)
    list(GET fields 1 status)
    list(GET fields 2 arguments)
    list(GET fields 3 expected)
    # The expected output decides a test, so the exit status is part of the output.
    add_test(NAME zephrel_sim_${name}
             COMMAND sh -c "\"$<TARGET_FILE:zephrel-sim>\" ${arguments} 2>&1; echo \"exit status $?\""
             WORKING_DIRECTORY ${zephrel_sim_test})
    set_tests_properties(zephrel_sim_${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}.*exit status ${status}")
endforeach()
