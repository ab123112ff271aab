# The add-on list is read with pugixml.
find_package(pugixml REQUIRED)
target_link_libraries(zephrel_simrun PRIVATE pugixml::pugixml)

# zephrel-sim. It exports its symbols so that add-ons find the host's lookup function with
# dlsym(RTLD_DEFAULT, ...).
add_executable(zephrel-sim ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(zephrel-sim PRIVATE zephrel_simrun)
set_target_properties(zephrel-sim PROPERTIES ENABLE_EXPORTS ON)
