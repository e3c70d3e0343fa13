# What both front ends do with a device: which reply answers which query, the
# port list, and the plan-import policy. Above the model and the fleet state,
# below the dialog's panels and zrnctl.
add_library(zrnapp_device STATIC
    device/PlanImport.cpp
    device/PortList.cpp
    device/Replies.cpp)
if(WIN32)
    # The registry's serial ports: the list zrnctl and the port scan share.
    target_sources(zrnapp_device PRIVATE
        device/RegistryPorts.cpp
        platform/win32/SerialPorts.cpp)
    target_link_libraries(zrnapp_device PUBLIC advapi32)
endif()
target_include_directories(zrnapp_device PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(zrnapp_device PUBLIC zrnapp_model zrnapp_fleet)
