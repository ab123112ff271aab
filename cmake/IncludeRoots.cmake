# Every library of the project has an include root of its own: a folder of the build tree that
# holds one link, named after the library's source folder, to that folder. Code names the folder
# of each header it includes ("recording/Recorder.h") and reaches only the folders of the
# libraries it links, so a library that includes from a layer it does not declare fails to build.
#
#   zephrel_include_root(TARGET [HEADER file])
#
# With HEADER the root shows that one header of the folder and nothing else.
function(zephrel_include_root target)
    cmake_parse_arguments(PARSE_ARGV 1 ROOT "" "HEADER" "")
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    set(root ${CMAKE_BINARY_DIR}/include-roots/${target})
    if(ROOT_HEADER)
        file(MAKE_DIRECTORY ${root}/${folder})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR}/${ROOT_HEADER} ${root}/${folder}/${ROOT_HEADER} SYMBOLIC)
    else()
        file(MAKE_DIRECTORY ${root})
        file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${folder} SYMBOLIC)
    endif()
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        target_include_directories(${target} INTERFACE ${root})
    else()
        target_include_directories(${target} PUBLIC ${root})
    endif()
endfunction()
