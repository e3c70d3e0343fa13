# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix-threads
# variant of g++, which has std::thread), the runtime linked in statically so
# the DLL and the test programs need nothing beside them but Windows itself.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZRN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZRN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZRN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZRN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZRN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# libgcc, libstdc++ and winpthread inside each module.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Windows programs run here through wine; the tests set their own wrapper.
find_program(ZRN_WINE wine)
if(ZRN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${ZRN_WINE})
endif()
