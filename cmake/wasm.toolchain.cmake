# WebAssembly builds with Debian's emscripten, against the static libraries of `scripts/deps wasm`.
#
#   prefix=$(scripts/deps wasm)
#   export NODE_PATH=/usr/share/nodejs      # emcc's JS optimiser needs Debian's acorn
#   emcmake cmake -S . -B build-web -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/wasm.toolchain.cmake" \
#                 -DHV_DEPS_PREFIX="$prefix" -DCMAKE_CROSSCOMPILING_EMULATOR="/usr/bin/node;--no-experimental-fetch"
#
# (emcmake adds nothing this file lacks; plain cmake with the same arguments works too.)
# HV_DEPS_PREFIX may also come from the environment. Never use emscripten's "ports" (-sUSE_SDL=2
# and the like): they download from the internet. What a program needs with this prefix:
#   -fexceptions, compiling and linking:   libopenmpt reports errors by exceptions
#   -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=[$autoResumeAudioContext,$dynCall], linking: SDL's audio calls
#       them but nothing pulls them in. CMake mangles the $ signs in a link option; give the list as
#       a file instead: -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@FILE, FILE holding
#       ["$autoResumeAudioContext","$dynCall"]
#   -sMINIFY_HTML=0 when emcc writes the HTML page (Debian's emscripten fails on minifying it)
#   -sNODERAWFS=1 for a program run under node that reads the host's files (tests, tools)

if(NOT HV_DEPS_PREFIX)
  set(HV_DEPS_PREFIX "$ENV{HV_DEPS_PREFIX}")
endif()
if(NOT HV_DEPS_PREFIX)
  message(FATAL_ERROR "HV_DEPS_PREFIX is not set: pass -DHV_DEPS_PREFIX=$(scripts/deps wasm)")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES HV_DEPS_PREFIX)

# Generated programs run under node (tests, try_run); node 20's fetch cannot load the .wasm from a
# file, and node 20 refuses the --experimental-wasm-threads that emcmake's default passes.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR OR CMAKE_CROSSCOMPILING_EMULATOR MATCHES "experimental-wasm-threads")
  set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/node --no-experimental-fetch)
endif()

# Emscripten's own toolchain searches its sysroot; the prefix comes first.
set(CMAKE_FIND_ROOT_PATH ${HV_DEPS_PREFIX})
if(DEFINED ENV{EMSCRIPTEN})
  set(hv_emscripten_root "$ENV{EMSCRIPTEN}")
else()
  set(hv_emscripten_root /usr/share/emscripten)
endif()
include("${hv_emscripten_root}/cmake/Modules/Platform/Emscripten.cmake")

# pkg-config sees the prefix only, never the host's .pc files.
set(ENV{PKG_CONFIG_LIBDIR} "${HV_DEPS_PREFIX}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
