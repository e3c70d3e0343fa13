# Header-only libraries from Debian (nlohmann-json, CLI11), as an interface
# target each. Debian installs them under /usr/include; a cross build must not
# search there for anything else, so the library's folder is copied into the
# build tree.
function(zrn_header_only target folder package version imported)
    if(TARGET ${target})
        return()
    endif()
    add_library(${target} INTERFACE)
    if(CMAKE_CROSSCOMPILING)
        set(copies ${CMAKE_BINARY_DIR}/header-only)
        find_path(zrn_${folder}_root ${folder} PATHS /usr/include NO_DEFAULT_PATH
            NO_CMAKE_FIND_ROOT_PATH REQUIRED)
        file(COPY ${zrn_${folder}_root}/${folder} DESTINATION ${copies})
        target_include_directories(${target} SYSTEM INTERFACE ${copies})
    else()
        find_package(${package} ${version} REQUIRED)
        target_link_libraries(${target} INTERFACE ${imported})
    endif()
endfunction()
