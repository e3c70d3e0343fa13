# The Windows package: a zip with the program, zrnctl, the library, its
# header and its import library. cpack --config build/mingw/CPackConfig.cmake, or
# tools/package_windows.sh.
install(TARGETS ZRNcom zrnctl RUNTIME DESTINATION .)
install(TARGETS ZRNComDll
    RUNTIME DESTINATION .
    ARCHIVE DESTINATION lib
    PUBLIC_HEADER DESTINATION include)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME ZRNcom)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "QUORVANEX")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration tool for the ZRN field sampling controller")
set(CPACK_PACKAGE_FILE_NAME ZRNcom-${PROJECT_VERSION}-win64)
# The build keeps its debug information; the package does not.
set(CPACK_STRIP_FILES ON)
include(CPack)
