#include "core/version.h"

// HV_VERSION comes from the project's version in the top CMakeLists.txt, set on this file alone.
const char* projectVersion() {
    return HV_VERSION;
}
