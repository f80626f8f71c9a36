#include "platform/standard_streams.h"

#include <windows.h>

#include <cstdio>

namespace {

bool hasHandle(DWORD stream) {
    const HANDLE h = GetStdHandle(stream);
    return h != nullptr && h != INVALID_HANDLE_VALUE;
}

} // namespace

void connectStandardStreams() {
    const bool hasOut = hasHandle(STD_OUTPUT_HANDLE), hasErr = hasHandle(STD_ERROR_HANDLE);
    if ((hasOut && hasErr) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (!hasOut) std::freopen("CONOUT$", "w", stdout);
    if (!hasErr) std::freopen("CONOUT$", "w", stderr);
}
