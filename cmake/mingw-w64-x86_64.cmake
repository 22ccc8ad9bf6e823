# Cross-compiling for 64-bit Windows with mingw-w64 (posix threads); test programs run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

get_filename_component(QUILLANT_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
# libpng and GoogleTest are built into this prefix by scripts/bootstrap.
set(QUILLANT_DEPS_PREFIX "${QUILLANT_SOURCE_ROOT}/.deps/mingw" CACHE PATH "mingw dependency prefix")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 "${QUILLANT_DEPS_PREFIX}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

if(NOT QUILLANT_NO_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${QUILLANT_SOURCE_ROOT}/scripts/wine-run")
endif()
