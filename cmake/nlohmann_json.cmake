# nlohmann-json, header-only: vcpkg's and most installs come with a CMake package. Debian's
# (nlohmann-json3-dev) lies in the build machine's /usr, outside a cross build's find roots, and
# /usr/include cannot go on a cross compiler's include path whole: there only its own folder is
# linked into the build tree.
find_package(nlohmann_json 3.2 CONFIG QUIET)
if(NOT TARGET nlohmann_json::nlohmann_json)
    find_path(QUILLANT_HOST_NLOHMANN_JSON nlohmann/json.hpp PATHS /usr/include /usr/local/include
              NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    if(NOT QUILLANT_HOST_NLOHMANN_JSON)
        message(FATAL_ERROR "nlohmann-json not found (Debian: nlohmann-json3-dev; vcpkg: nlohmann-json)")
    endif()
    set(shim "${CMAKE_BINARY_DIR}/nlohmann_json_include")
    if(NOT EXISTS "${shim}/nlohmann/json.hpp")
        file(MAKE_DIRECTORY "${shim}")
        file(CREATE_LINK "${QUILLANT_HOST_NLOHMANN_JSON}/nlohmann" "${shim}/nlohmann" COPY_ON_ERROR SYMBOLIC)
    endif()
    add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
    set_target_properties(nlohmann_json::nlohmann_json PROPERTIES INTERFACE_INCLUDE_DIRECTORIES "${shim}")
endif()
