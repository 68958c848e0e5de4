# Cross-build for 64-bit Windows with Debian's mingw-w64 (posix threads).
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
# JsonCpp, TinyXML and GoogleTest for this target are looked for under
# TAVI_WINDOWS_DEPS (scripts/build-windows builds them there).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVI_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAVI_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVI_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVI_MINGW_TRIPLE}-windres)
set(CMAKE_AR ${TAVI_MINGW_TRIPLE}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${TAVI_MINGW_TRIPLE}-gcc-ranlib-posix CACHE FILEPATH "")

if(NOT TAVI_WINDOWS_DEPS)
  set(TAVI_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../build-windows/deps/prefix)
endif()
get_filename_component(TAVI_WINDOWS_DEPS ${TAVI_WINDOWS_DEPS} ABSOLUTE)

# Headers and libraries of the target only: never the build machine's.
set(CMAKE_FIND_ROOT_PATH /usr/${TAVI_MINGW_TRIPLE} ${TAVI_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} ${TAVI_WINDOWS_DEPS}/lib/pkgconfig)
set(ENV{PKG_CONFIG_PATH} "")

# Tests and scenarios run through Wine, headless, in a prefix of the build.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
