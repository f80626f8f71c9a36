#pragma once
// memory_limit.h over POSIX: the address space limit.
#include <sys/resource.h>

namespace testsupport {

inline bool memoryLimitsHold() {
    return true;
}

inline bool limitMemory(std::size_t bytes) {
    const struct rlimit limit = {static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
    return setrlimit(RLIMIT_AS, &limit) == 0;
}

} // namespace testsupport
