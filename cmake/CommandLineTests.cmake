# The command-line tests: one file per case, tests/<folder>/cli/<case>.test, run by LLVM's lit
# with FileCheck (Debian's llvm-14-tools) and registered with CTest as cli/<folder>/<case>.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
find_program(ZEPHREL_LIT lit.py PATHS /usr/lib/llvm-14/build/utils/lit NO_DEFAULT_PATH REQUIRED)
find_program(ZEPHREL_FILECHECK FileCheck PATHS /usr/lib/llvm-14/bin NO_DEFAULT_PATH REQUIRED)
get_filename_component(ZEPHREL_LLVM_BIN ${ZEPHREL_FILECHECK} DIRECTORY)

# Where the simulator's tests build their small add-ons (tests/simhost/run.cmake).
set(ZEPHREL_TEST_ADDON_ROOT ${CMAKE_BINARY_DIR}/tests/simhost/addon-root)

# The programs a case may run, by the name it uses for them (%conv, %zfl-info, ...).
set(ZEPHREL_CLI_PROGRAMS ${CMAKE_BINARY_DIR}/tests/cli-programs.txt)
file(GENERATE OUTPUT ${ZEPHREL_CLI_PROGRAMS} CONTENT
"conv=$<TARGET_FILE:ZflConverter>
zfl-info=$<TARGET_FILE:zfl-info>
zfl-sample=$<TARGET_FILE:zfl-sample>
zfl-tracks=$<TARGET_FILE:zfl-tracks>
real-tracks=${CMAKE_SOURCE_DIR}/tests/data/real-tracks
schemas=${CMAKE_SOURCE_DIR}/data/schemas
render=$<TARGET_FILE:zephrel-render>
install=$<TARGET_FILE:zephrel-install>
registrar=$<TARGET_FILE:AddonRegistrar>
module-dir=$<TARGET_FILE_DIR:Zephrel_FSX>
sim=$<TARGET_FILE:zephrel-sim>
recorder-addon=$<TARGET_FILE:ZephrelRecorderProbe>
player-addon=$<TARGET_FILE:ZephrelPlayerProbe>
test-addon-root=${ZEPHREL_TEST_ADDON_ROOT}
sim-root=${CMAKE_SOURCE_DIR}/data/sim-root
")

# Registers every case in the current source folder's cli/ folder. Each case runs in a scratch
# folder of its own: lit rewrites a timings file in its scratch root after every run, and CTest
# runs cases side by side, so a shared root let one run read another's half-written file.
function(zephrel_cli_tests)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    file(GLOB cases CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cli/*.test)
    foreach(case IN LISTS cases)
        get_filename_component(name ${case} NAME_WE)
        add_test(NAME cli/${folder}/${name}
                 COMMAND ${Python3_EXECUTABLE} ${ZEPHREL_LIT} --verbose
                         --param exec_root=${CMAKE_BINARY_DIR}/tests/cli-runs/${folder}/${name}
                         --param programs=${ZEPHREL_CLI_PROGRAMS}
                         --param llvm_bin=${ZEPHREL_LLVM_BIN}
                         ${case})
    endforeach()
endfunction()
