# The Windows packages: a portable zip with the program, zrnctl, the library, its
# header and its import library (cpack --config build/mingw/CPackConfig.cmake), and
# the installer below. Both: tools/package_windows.sh.
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

# The installer: NSIS with a script of our own (windows/ZRNcom.nsi), which decides per
# user or all users and owns the PATH entry itself. It holds the stripped programs and
# library, the licence, the manual pages as text and the plan format, staged in
# installer/. cmake --build --preset mingw --target installer, or tools/package_windows.sh.
find_program(ZRN_MAKENSIS makensis)
find_program(ZRN_GROFF groff)
set(ZRN_SETUP ${CMAKE_BINARY_DIR}/ZRNcom-${PROJECT_VERSION}-win64-setup.exe)
set(zrn_stage ${CMAKE_BINARY_DIR}/installer)
set(zrn_staged)
foreach(target ZRNcom zrnctl ZRNComDll)
    set(file ${zrn_stage}/${target}.exe)
    if(target STREQUAL ZRNComDll)
        set(file ${zrn_stage}/${target}.dll)
    endif()
    add_custom_command(OUTPUT ${file}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${zrn_stage}
        COMMAND ${CMAKE_STRIP} -o ${file} $<TARGET_FILE:${target}>
        DEPENDS ${target} VERBATIM)
    list(APPEND zrn_staged ${file})
endforeach()
# Text files as Notepad shows them: CRLF.
foreach(page ZRNcom zrnctl)
    add_custom_command(OUTPUT ${zrn_stage}/doc/${page}.txt
        COMMAND ${CMAKE_COMMAND} -E make_directory ${zrn_stage}/doc
        COMMAND ${ZRN_GROFF} -man -Tascii -P-cbou -rHY=0 ${PROJECT_SOURCE_DIR}/packaging/${page}.1
            | sed "s/$/\\r/" > ${zrn_stage}/doc/${page}.txt
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/${page}.1 VERBATIM)
    list(APPEND zrn_staged ${zrn_stage}/doc/${page}.txt)
endforeach()
add_custom_command(OUTPUT ${zrn_stage}/LICENSE.txt ${zrn_stage}/doc/plan-format.md
    COMMAND ${CMAKE_COMMAND} -E make_directory ${zrn_stage}/doc
    COMMAND sed "s/$/\\r/" ${PROJECT_SOURCE_DIR}/LICENSE > ${zrn_stage}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/docs/plan-format.md ${zrn_stage}/doc/
    DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/docs/plan-format.md VERBATIM)
list(APPEND zrn_staged ${zrn_stage}/LICENSE.txt ${zrn_stage}/doc/plan-format.md)

set(zrn_nsi ${PROJECT_SOURCE_DIR}/packaging/windows/ZRNcom.nsi)
set(zrn_icon ${PROJECT_SOURCE_DIR}/app/win32/res/ZRNcom.ico)
if(ZRN_MAKENSIS AND ZRN_GROFF)
    add_custom_command(OUTPUT ${ZRN_SETUP}
        COMMAND ${ZRN_MAKENSIS} -V2 -WX -NOCD -DVERSION=${PROJECT_VERSION}
            -DOUTFILE=${ZRN_SETUP} -DICON=${zrn_icon} ${zrn_nsi}
        WORKING_DIRECTORY ${zrn_stage}
        DEPENDS ${zrn_staged} ${zrn_nsi} ${zrn_icon}
        COMMENT "Building ${ZRN_SETUP}" VERBATIM)
    add_custom_target(installer DEPENDS ${ZRN_SETUP})
else()
    add_custom_target(installer
        COMMAND ${CMAKE_COMMAND} -E echo "The installer needs makensis and groff (nsis, groff-base)"
        COMMAND ${CMAKE_COMMAND} -E false)
endif()
