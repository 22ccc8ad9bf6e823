# Header-only libraries (nlohmann-json, CLI11): vcpkg's and most installs come with a CMake
# package. Debian's lie in the build machine's /usr, outside a cross build's find roots, and
# /usr/include cannot go on a cross compiler's include path whole: there only the library's own
# folder is linked into the build tree.
function(quillant_header_library target package version header folder hint)
    find_package(${package} ${version} CONFIG QUIET)
    if(TARGET ${target})
        return()
    endif()
    find_path(QUILLANT_HOST_${package} ${header} PATHS /usr/include /usr/local/include
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT QUILLANT_HOST_${package})
        message(FATAL_ERROR "${package} not found (${hint})")
    endif()
    set(shim "${CMAKE_BINARY_DIR}/${package}_include")
    if(NOT EXISTS "${shim}/${header}")
        file(MAKE_DIRECTORY "${shim}")
        file(CREATE_LINK "${QUILLANT_HOST_${package}}/${folder}" "${shim}/${folder}" COPY_ON_ERROR SYMBOLIC)
    endif()
    add_library(${target} INTERFACE IMPORTED GLOBAL)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${shim}")
endfunction()

quillant_header_library(nlohmann_json::nlohmann_json nlohmann_json 3.2 nlohmann/json.hpp nlohmann
                        "Debian: nlohmann-json3-dev; vcpkg: nlohmann-json")
quillant_header_library(CLI11::CLI11 CLI11 2.1 CLI/CLI.hpp CLI "Debian: libcli11-dev; vcpkg: cli11")
