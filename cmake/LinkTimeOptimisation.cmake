# Release builds, the ones shipped and benchmarked, are optimised across files as well: a track
# point goes through a reader, the XML stream, the number parser, the motion and the recording,
# each a file of its own, and inlining across them takes a seventh off an import of a GPX track.
# Other build types link as before, so that the test and sanitizer builds keep their link times.
if(CMAKE_BUILD_TYPE STREQUAL "Release" AND NOT ZEPHREL_SANITIZE AND NOT ZEPHREL_FUZZ)
    include(CheckIPOSupported)
    check_ipo_supported(RESULT ZEPHREL_LTO OUTPUT whyNot LANGUAGES C CXX)
    if(ZEPHREL_LTO)
        set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ON)
    else()
        message(STATUS "Linking without link-time optimisation: ${whyNot}")
    endif()
endif()
