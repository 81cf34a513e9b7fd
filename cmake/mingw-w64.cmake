# Cross toolchain for Windows builds with Debian's mingw-w64, as the presets
# win32, win64 and release of CMakePresets.json use it:
#
#   cmake --preset win32 && cmake --build --preset win32
#
# ROMBO_ARCH: i686 (what ships, the default) or x86_64 (what runs under wine64).
# Static libpng/libjpeg/gtest come from scripts/setup, which installs them
# under $ROMBO_CACHE/mingw/<triplet>; zlib comes from libz-mingw-w64-dev.

# try_compile() re-reads this file in a fresh project without our cache, so
# both settings are forwarded to it explicitly.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES ROMBO_ARCH ROMBO_CACHE)

set(ROMBO_ARCH "i686" CACHE STRING "Windows target architecture: i686 or x86_64")
set_property(CACHE ROMBO_ARCH PROPERTY STRINGS i686 x86_64)
if(NOT ROMBO_ARCH MATCHES "^(i686|x86_64)$")
  message(FATAL_ERROR "ROMBO_ARCH must be i686 or x86_64, got '${ROMBO_ARCH}'")
endif()

if(DEFINED ENV{ROMBO_CACHE} AND NOT "$ENV{ROMBO_CACHE}" STREQUAL "")
  set(_rombo_cache_default "$ENV{ROMBO_CACHE}")
else()
  set(_rombo_cache_default "$ENV{HOME}/.cache/rombodesktop")
endif()
set(ROMBO_CACHE "${_rombo_cache_default}" CACHE PATH
    "Cache of prebuilt mingw dependencies (see scripts/setup)")

set(ROMBO_TRIPLET "${ROMBO_ARCH}-w64-mingw32")

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${ROMBO_ARCH})

# The -posix thread variant: gcc 12's win32 variant has no std::thread,
# std::mutex or std::condition_variable. winpthread is linked statically below,
# so no extra DLL ships.
set(CMAKE_C_COMPILER   ${ROMBO_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ROMBO_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${ROMBO_TRIPLET}-windres)

# Self-contained binaries: no libgcc_s_*.dll, libstdc++-6.dll or
# libwinpthread-1.dll next to the exe or the hook DLL.
set(_rombo_static_link "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT    "${_rombo_static_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_rombo_static_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_rombo_static_link}")

set(CMAKE_FIND_ROOT_PATH
    "${ROMBO_CACHE}/mingw/${ROMBO_TRIPLET}"
    "/usr/${ROMBO_TRIPLET}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# /usr/<triplet>/lib has both libz.a and the import library libz.dll.a, and
# FindZLIB prefers the latter, which would need zlib1.dll at run time.
set(ZLIB_USE_STATIC_LIBS ON CACHE BOOL "Link zlib statically")

# Lets add_test()/ctest and gtest_discover_tests() run the binaries under
# wine. Debian's wine runs 32-bit programs only with the wine32 (i386)
# package, whose loader is /usr/lib/wine/wine; without it i686 gets none.
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(ROMBO_WINE NAMES wine64 wine)
  if(ROMBO_WINE AND (ROMBO_ARCH STREQUAL "x86_64" OR EXISTS /usr/lib/wine/wine))
    set(CMAKE_CROSSCOMPILING_EMULATOR "${ROMBO_WINE}")
  endif()
endif()
