// The library's error stack: constant messages, oldest first, starting over when full.
#include "imagelib/bgl_image.h"

namespace {

constexpr int kErrorSlots = 256;

struct ErrorStack {
    const char* slots[kErrorSlots];
    int count;
    int cursor;
};

ErrorStack errorStack;

} // namespace

void bgl_clear_errors() {
    for (const char*& slot : errorStack.slots) slot = nullptr;
    errorStack.count = 0;
    errorStack.cursor = 0;
}

void bgl_push_error(const char* message) {
    if (errorStack.count == kErrorSlots) bgl_clear_errors();
    errorStack.slots[errorStack.count++] = message;
}

const char* bgl_last_error() {
    return errorStack.count > 0 ? errorStack.slots[errorStack.count - 1] : nullptr;
}

const char* bgl_first_error() {
    errorStack.cursor = 0;
    return errorStack.count > 0 ? errorStack.slots[0] : nullptr;
}

const char* bgl_next_error() {
    if (errorStack.cursor < errorStack.count) ++errorStack.cursor;
    return errorStack.cursor < errorStack.count ? errorStack.slots[errorStack.cursor] : nullptr;
}

int bgl_error_count() {
    return errorStack.count;
}
