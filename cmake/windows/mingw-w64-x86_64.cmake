# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# Used to build Qt and the libraries; the program itself is configured with
# the qt.toolchain.cmake that the cross-built Qt installs, which loads this.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${_mingw}-windres)
set(CMAKE_AR ${_mingw}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_mingw}-ranlib CACHE FILEPATH "")
set(CMAKE_STRIP ${_mingw}-strip CACHE FILEPATH "")

# Libraries from the dependency cache are added to CMAKE_PREFIX_PATH by the
# build scripts; the root path keeps host libraries out of the search.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${_mingw})
# The cache folder is remembered, so that CMake's own re-runs (from ninja,
# without the build script's environment) still find the Windows libraries and
# pkg-config never answers with the host's.
if(DEFINED ENV{PARAFRIX_WINDOWS_DEPS} AND NOT PARAFRIX_WINDOWS_DEPS)
    set(PARAFRIX_WINDOWS_DEPS $ENV{PARAFRIX_WINDOWS_DEPS} CACHE PATH "Windows dependency cache")
endif()
if(PARAFRIX_WINDOWS_DEPS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${PARAFRIX_WINDOWS_DEPS})
    set(ENV{PKG_CONFIG_LIBDIR} ${PARAFRIX_WINDOWS_DEPS}/lib/pkgconfig)
    set(ENV{PKG_CONFIG_PATH} "")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
