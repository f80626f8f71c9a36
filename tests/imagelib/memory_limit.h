#pragma once
// Holding a test's process to a memory limit, so that allocations fail as they would on a full
// machine. Each system has its own way (memory_limit_posix.h, memory_limit_windows.h):
//   bool memoryLimitsHold(): whether a limit set here is enforced at all;
//   bool limitMemory(bytes): limits this process to `bytes` (its address space on POSIX, its
//     committed memory on Windows) for the rest of its life; false when that cannot be done.
#include <cstddef>

#ifdef _WIN32
#include "memory_limit_windows.h"
#else
#include "memory_limit_posix.h"
#endif
