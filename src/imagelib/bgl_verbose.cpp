// Verbose mode (progress lines on standard output) and the library banner.
#include "imagelib/bgl_image.h"

#include <cstdarg>
#include <cstdio>

namespace {

constexpr const char* kLibraryVersion = "0.0.19";
bool verbose = true;

} // namespace

void bgl_verbose_on() {
    std::printf("BGL Verbose: ON\n");
    verbose = true;
}

void bgl_verbose_off() {
    std::printf("BGL Verbose: OFF\n");
    verbose = false;
}

int bgl_is_verbose() {
    return verbose ? 1 : 0;
}

void bgl_verbose(const char* format, ...) {
    if (!verbose) return;
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
}

void bgl_print_banner() {
    std::printf("\n");
    std::printf("Bramt Graphics Library v%s (%s)\n", kLibraryVersion, __DATE__);
    std::printf("Copyright the halcyonvectrum developers. All rights reserved.\n");
    std::printf("\n");
}
