// Verbose mode (progress lines on standard output), quiet mode (no lines at all) and the library
// banner.
#include "imagelib/bgl_image.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr const char* kLibraryVersion = "0.0.19";
bool verbose = true;
bool quiet = false;

} // namespace

void bgl_verbose_on() {
    bgl_note("BGL Verbose: ON\n");
    verbose = true;
}

void bgl_verbose_off() {
    bgl_note("BGL Verbose: OFF\n");
    verbose = false;
}

void bgl_set_quiet(int on) {
    quiet = on != 0;
}

int bgl_is_quiet() {
    return quiet ? 1 : 0;
}

int bgl_is_verbose() {
    return verbose ? 1 : 0;
}

void bgl_verbose(const char* format, ...) {
    if (!verbose || quiet) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

void bgl_note(const char* format, ...) {
    if (quiet) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

void bgl_print_banner() {
    bgl_note("\n");
    bgl_note("Bramt Graphics Library v%s (%s)\n", kLibraryVersion, __DATE__);
    bgl_note("Copyright the halcyonvectrum developers. All rights reserved.\n");
    bgl_note("\n");
}
