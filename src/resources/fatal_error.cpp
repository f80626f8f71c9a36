// Fatal error reporting through a replaceable handler.
#include "resources/fatal_error.h"

#include "imagelib/bgl_image.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kFatalExitCode = 1;

void printToStandardError(const char* title, const char* text) {
    std::fprintf(stderr, "%s\n%s\n", title, text);
}

FatalErrorHandler fatalErrorHandler = printToStandardError;

} // namespace

FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler) {
    const FatalErrorHandler previous = fatalErrorHandler;
    fatalErrorHandler = handler ? handler : printToStandardError;
    return previous;
}

void showFatalError(const char* title, const char* text) {
    fatalErrorHandler(title, text);
    std::exit(kFatalExitCode);
}

void bglErrorBox() {
    const char* message = bgl_last_error();
    showFatalError("BGL error!", message ? message : "Unknown error");
}
