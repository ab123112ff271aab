# The profile-string (INI) functions, the typed settings layer, GUIDs and UTF-8.
add_executable(platform_profile_tests
    DocumentCacheTest.cpp
    GuidTest.cpp
    ProfileCacheTest.cpp
    ProfileOriginalFileTest.cpp
    ProfileReadTest.cpp
    ProfileValuesTest.cpp
    ProfileWriteTest.cpp
    Utf8Test.cpp
)
target_link_libraries(platform_profile_tests PRIVATE zephrel_platform GTest::gtest GTest::gtest_main)
gtest_discover_tests(platform_profile_tests DISCOVERY_TIMEOUT 60)
