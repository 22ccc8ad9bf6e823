# CLI11, header-only: vcpkg's and most installs come with a CMake package. Debian's
# (libcli11-dev) lies in the build machine's /usr, outside a cross build's find roots, and
# /usr/include cannot go on a cross compiler's include path whole: there only its own folder is
# linked into the build tree.
find_package(CLI11 2.1 CONFIG QUIET)
if(NOT TARGET CLI11::CLI11)
    find_path(QUILLANT_HOST_CLI11 CLI/CLI.hpp PATHS /usr/include /usr/local/include
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT QUILLANT_HOST_CLI11)
        message(FATAL_ERROR "CLI11 not found (Debian: libcli11-dev; vcpkg: cli11)")
    endif()
    set(shim "${CMAKE_BINARY_DIR}/cli11_include")
    if(NOT EXISTS "${shim}/CLI/CLI.hpp")
        file(MAKE_DIRECTORY "${shim}")
        file(CREATE_LINK "${QUILLANT_HOST_CLI11}/CLI" "${shim}/CLI" COPY_ON_ERROR SYMBOLIC)
    endif()
    add_library(CLI11::CLI11 INTERFACE IMPORTED)
    set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${shim}")
endif()
