# hv_add_subsystem(NAME [FOLDERS subfolders...] [DEPS targets...])
# One library per folder: every .cpp in the calling folder and in the subfolders named (parts of
# the subsystem kept apart from its main files), headers included as "NAME/file.h".
function(hv_add_subsystem name)
  cmake_parse_arguments(ARG "" "" "FOLDERS;DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(folder ${ARG_FOLDERS})
    file(GLOB folder_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${folder_sources})
  endforeach()
  if(sources)
    add_library(hv_${name} STATIC ${sources})
    target_include_directories(hv_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hv_${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(hv_${name} INTERFACE)
    target_include_directories(hv_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(hv_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# hv_add_test_suite(NAME [TIMEOUT seconds] [DEPS targets...])
# One GoogleTest executable per tests/ folder, every case registered with CTest (a cross build's
# suites run under their emulator, one CTest test per suite).
# Tests run from the bin folder, so "data/..." resolves to the generated content.
# TIMEOUT: ctest's deadline for each case (default: ctest's own).
function(hv_add_test_suite name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "DEPS" ${ARGN})
  set(timeout_property "")
  if(ARG_TIMEOUT)
    set(timeout_property TIMEOUT ${ARG_TIMEOUT})
  endif()
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  # A system's own cases: NAME_posix_test.cpp, NAME_windows_test.cpp.
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix_test\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_windows_test\\.cpp$")
  endif()
  if(NOT sources)
    return()
  endif()
  add_executable(test_${name} ${sources})
  target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main Threads::Threads)
  if(WIN32)
    # The program runner (endtoend/program_run.h) builds its command lines with the platform's.
    target_link_libraries(test_${name} PRIVATE hv_platform)
  endif()
  target_include_directories(test_${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(test_${name} PRIVATE HV_BIN_DIR="${CMAKE_RUNTIME_OUTPUT_DIRECTORY}"
                                                  HV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  set(environment "SDL_VIDEODRIVER=dummy;SDL_AUDIODRIVER=dummy")
  if(CMAKE_CROSSCOMPILING_EMULATOR)
    # Each start under an emulator costs (wine: a tenth of a second warm, seconds cold), so a cross
    # build runs each suite once, all its cases in one process: 15 starts instead of 300.
    add_test(NAME ${name} COMMAND test_${name} WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}")
  else()
    gtest_discover_tests(test_${name}
      WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES ENVIRONMENT "${environment}" ${timeout_property})
  endif()
endfunction()

# hv_add_tool(NAME OUTPUT_NAME [DEPS targets...])
# A command-line program built from every .cpp of the calling folder.
function(hv_add_tool name output)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  set_target_properties(${name} PROPERTIES OUTPUT_NAME ${output})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tools)
endfunction()

# hv_add_bench(NAME SOURCES... DEPS targets...)
function(hv_add_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tools)
endfunction()

# hv_add_fuzzer(NAME SOURCES... DEPS targets...)
# A libFuzzer target (only with HV_FUZZ, which needs clang).
function(hv_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT HV_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tools)
endfunction()

# hv_add_subdirectories(): adds every direct subfolder of the calling folder that has a CMakeLists.txt,
# so that tools, benchmarks and fuzz targets can be added without touching a shared list.
function(hv_add_subdirectories)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()
