# Start-up, the host events, the window hooks, the module's host menu, the simulation-control
# operations, and the views with their cameras and camera input.
list(APPEND HOST_BINDING_SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/CameraDefinitions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FSinterfaceStartup.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostBindings.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostEventHandlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostMenu.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostMenuHooks.cpp
    ${CMAKE_CURRENT_LIST_DIR}/HostTexts.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MainWindowHook.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SimulationControl.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ViewCommands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ViewPasses.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ViewWindow.cpp
)
