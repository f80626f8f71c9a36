#include "engine3d/engine_error.h"

#include <cstdio>
#include <cstdlib>

void engine_fail(EngineError error) {
    std::printf("%s\n", error);
    std::fflush(stdout);
    std::exit(1);
}
