# The window system's model and its headless backend.
add_executable(platform_winsys_tests
    WinsysCommonDialogTest.cpp
    WinsysControlTest.cpp
    WinsysDialogTest.cpp
    WinsysInputTest.cpp
    WinsysLocalTimeTest.cpp
    WinsysMenuTest.cpp
    WinsysPixelsTest.cpp
    WinsysTranscriptTest.cpp
    WinsysWindowTest.cpp
)
target_link_libraries(platform_winsys_tests PRIVATE zephrel_platform GTest::gtest GTest::gtest_main)
gtest_discover_tests(platform_winsys_tests DISCOVERY_TIMEOUT 60)
