# What a Windows build (cmake/windows-x64.toolchain.cmake) does differently from the native one.
# Included from the top CMakeLists.txt before the subsystems.

# Benchmarks are measured natively.
set(HV_BENCH OFF)

# GoogleTest is not in the dependency prefix: Debian's sources, built with the cross compiler.
if(HV_TESTS)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endif()

# Every program keeps its own main: SDL's wrapper (-Dmain=SDL_main with SDL2main) would rename it
# only where SDL.h happens to be included, which the capture and the tests never do. The SDL backend
# tells SDL instead (SDL_SetMainReady).
get_target_property(hv_sdl_options PkgConfig::SDL2 INTERFACE_COMPILE_OPTIONS)
list(REMOVE_ITEM hv_sdl_options -Dmain=SDL_main)
get_target_property(hv_sdl_libraries PkgConfig::SDL2 INTERFACE_LINK_LIBRARIES)
list(FILTER hv_sdl_libraries EXCLUDE REGEX "/lib(SDL2main|mingw32)\\.a$")
set_target_properties(PkgConfig::SDL2 PROPERTIES INTERFACE_COMPILE_OPTIONS "${hv_sdl_options}"
                                                 INTERFACE_LINK_LIBRARIES "${hv_sdl_libraries}")
set_property(TARGET PkgConfig::SDL2 APPEND PROPERTY INTERFACE_COMPILE_DEFINITIONS SDL_MAIN_HANDLED)

# Resources: every program carries the manifest (src/platform/windows/program.manifest), the show
# its icon "IDI_MAIN" too, drawn by the forge into bin/data. Set once all targets exist.
enable_language(RC)

function(hv_windows_executables dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(children DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  set(found "")
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      list(APPEND found ${target})
    endif()
  endforeach()
  foreach(child ${children})
    hv_windows_executables(${child} child_found)
    list(APPEND found ${child_found})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

function(hv_windows_resources)
  set(windows_dir ${PROJECT_SOURCE_DIR}/src/platform/windows)
  hv_windows_executables(${PROJECT_SOURCE_DIR} executables)
  foreach(target ${executables})
    target_sources(${target} PRIVATE ${windows_dir}/program_manifest.rc)
    target_include_directories(${target} PRIVATE $<$<COMPILE_LANGUAGE:RC>:${windows_dir}>)
  endforeach()
  # The show is a GUI program: no console window of its own (its streams, see
  # platform/standard_streams.h).
  set_target_properties(halcyonvectrum PROPERTIES WIN32_EXECUTABLE ON)
  target_sources(halcyonvectrum PRIVATE ${PROJECT_SOURCE_DIR}/src/shell/programs/halcyonvectrum.rc)
  target_include_directories(halcyonvectrum PRIVATE $<$<COMPILE_LANGUAGE:RC>:${HV_DATA_DIR}>)
  set_source_files_properties(${PROJECT_SOURCE_DIR}/src/shell/programs/halcyonvectrum.rc
                              TARGET_DIRECTORY halcyonvectrum PROPERTIES OBJECT_DEPENDS ${HV_DATA_DIR}/.forged)
  add_dependencies(halcyonvectrum content)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL hv_windows_resources)
