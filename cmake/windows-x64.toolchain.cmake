# Cross-builds for 64-bit Windows with Debian's mingw-w64, against the static libraries of
# `scripts/deps windows`, run under wine (ctest runs every test through wine64).
#
#   prefix=$(scripts/deps windows)
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/windows-x64.toolchain.cmake \
#         -DHV_DEPS_PREFIX="$prefix"
#
# HV_DEPS_PREFIX may also come from the environment. Programs link everything statically
# (libgcc, libstdc++, winpthread included), so they need only the DLLs Windows itself has.
# WINEPREFIX, if set when configuring, is the wine prefix the tests run in; otherwise one is kept
# under the cache scripts/deps uses.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The posix flavour: its libstdc++ has std::thread (the win32 flavour of gcc 12 has none).
set(HV_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HV_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HV_MINGW_HOST}-g++-posix)
set(CMAKE_RC_COMPILER ${HV_MINGW_HOST}-windres)
set(CMAKE_AR ${HV_MINGW_HOST}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${HV_MINGW_HOST}-ranlib CACHE FILEPATH "")

if(NOT HV_DEPS_PREFIX)
  set(HV_DEPS_PREFIX "$ENV{HV_DEPS_PREFIX}")
endif()
if(NOT HV_DEPS_PREFIX)
  message(FATAL_ERROR "HV_DEPS_PREFIX is not set: pass -DHV_DEPS_PREFIX=$(scripts/deps windows)")
endif()
# try_compile projects read this file again: hand them the prefix too.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HV_DEPS_PREFIX)

# Headers and libraries from the prefix and the mingw-w64 runtime only, never the host's.
set(CMAKE_FIND_ROOT_PATH ${HV_DEPS_PREFIX} /usr/${HV_MINGW_HOST})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ENV{PKG_CONFIG_LIBDIR} "${HV_DEPS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(HV_WINE64 wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
  if(HV_WINE64)
    set(hv_wineprefix "$ENV{WINEPREFIX}")
    if(NOT hv_wineprefix)
      if(DEFINED ENV{HV_CACHE_DIR})
        set(hv_cache "$ENV{HV_CACHE_DIR}")
      elseif(DEFINED ENV{XDG_CACHE_HOME})
        set(hv_cache "$ENV{XDG_CACHE_HOME}/halcyonvectrum")
      else()
        set(hv_cache "$ENV{HOME}/.cache/halcyonvectrum")
      endif()
      set(hv_wineprefix "${hv_cache}/wine")
    endif()
    # Headless and quiet: no Mono or Gecko installer prompts, no debug channels.
    set(CMAKE_CROSSCOMPILING_EMULATOR
        /usr/bin/env "WINEPREFIX=${hv_wineprefix}" WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=" ${HV_WINE64})
  endif()
endif()
