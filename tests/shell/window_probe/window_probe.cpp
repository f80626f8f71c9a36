// window_probe TITLE EXE (Windows only): how the show's window looks from the system's side. Finds
// the top-level window titled TITLE and prints its class name and whether EXE carries the icon
// resource IDI_MAIN (wine tells no other process a window's icon; scripts/test-windows asks the X
// server for that):
//   class HALCYONVECTRUM IDI_MAIN yes
// Exits with 1 when there is no such window.
#include <windows.h>

#include <cstdio>

#include "platform/windows/icon_resource.h"

namespace {

bool carriesIconResource(const wchar_t* exe) {
    const HMODULE module = LoadLibraryExW(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    const bool found = FindResourceW(module, MAKEINTRESOURCEW(IDI_MAIN),
                                     MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */) != nullptr;
    FreeLibrary(module);
    return found;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    const HWND window = FindWindowW(nullptr, argv[1]);
    if (!window) return 1;
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    std::printf("class %ls IDI_MAIN %s\n", name, carriesIconResource(argv[2]) ? "yes" : "no");
    return 0;
}
