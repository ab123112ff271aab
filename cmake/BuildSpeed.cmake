# Faster builds where the machine has the tools; without them everything builds as before.
#
# ccache in front of the compilers, its cache in its default place (~/.cache/ccache), shared by
# every build folder and every clone: paths inside the repository are hashed relative to it, and
# the build folder is not hashed, so a clone elsewhere finds what another one compiled (its debug
# information may then name the other clone's folder).
option(ZEPHREL_CCACHE "Compile through ccache when it is installed" ON)
if(ZEPHREL_CCACHE AND NOT CMAKE_CXX_COMPILER_LAUNCHER)
    find_program(ZEPHREL_CCACHE_PROGRAM ccache)
    find_program(ZEPHREL_ENV_PROGRAM env)
    if(ZEPHREL_CCACHE_PROGRAM AND ZEPHREL_ENV_PROGRAM)
        set(launcher ${ZEPHREL_ENV_PROGRAM} CCACHE_BASEDIR=${CMAKE_SOURCE_DIR} CCACHE_NOHASHDIR=1
                     ${ZEPHREL_CCACHE_PROGRAM})
        set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
        set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
        message(STATUS "Compiling through ${ZEPHREL_CCACHE_PROGRAM}")
    endif()
endif()

# The mold linker, many times faster than the default one at linking the test programs.
include(CheckLinkerFlag)
check_linker_flag(CXX -fuse-ld=mold ZEPHREL_LINKER_MOLD)
if(ZEPHREL_LINKER_MOLD)
    add_link_options(-fuse-ld=mold)
endif()
