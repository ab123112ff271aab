# Tests of simhost/picture.
list(APPEND SIMHOST_TEST_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/RendererTest.cpp
)
