# What the web build (cmake/wasm.toolchain.cmake) does differently from the native one. Included
# from the top CMakeLists.txt before the subsystems; web/ then builds the page into dist/web.

# The suites and benchmarks run natively; the page is tested in a browser (scripts/test-web), and
# its content comes from the native generator.
set(HV_TESTS OFF)
set(HV_BENCH OFF)
set(HV_WEB_DATA_DIR "" CACHE PATH "The data folder a native build wrote (<native build>/bin/data)")
set(HV_WEB_DIST_DIR "${PROJECT_SOURCE_DIR}/dist/web" CACHE PATH "Where the page is written")

# libopenmpt reports errors by exceptions, and the shell catches the toolkit's Error.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
# The SSE2 kernels run through emscripten's SSE2 headers over WebAssembly SIMD, drawing the frames
# their plain twins draw. Browsers have it since Chrome 91, Firefox 89 and Safari 16.4; an older
# one cannot compile the program, and the page shows its error.
add_compile_options(-msimd128 -msse2)
add_link_options(-msimd128)
