#pragma once
// memory_limit.h over Win32: a job object with a per-process memory limit.
#include <windows.h>

namespace testsupport {

// A job that holds each of its processes to `bytes` of committed memory; null when it cannot.
inline HANDLE memoryLimitedJob(std::size_t bytes) {
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
    limits.ProcessMemoryLimit = bytes;
    if (job && !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
        CloseHandle(job);
        job = nullptr;
    }
    return job;
}

// Wine accepts the limit but neither keeps nor enforces it: a job that reports it back holds it.
inline bool memoryLimitsHold() {
    constexpr std::size_t kProbe = std::size_t(64) << 20;
    HANDLE job = memoryLimitedJob(kProbe);
    if (!job) return false;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    const bool held =
        QueryInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits, nullptr) &&
        (limits.BasicLimitInformation.LimitFlags & JOB_OBJECT_LIMIT_PROCESS_MEMORY) &&
        limits.ProcessMemoryLimit == kProbe;
    CloseHandle(job);
    return held;
}

// The job stays open, and this process in it, until the process ends.
inline bool limitMemory(std::size_t bytes) {
    HANDLE job = memoryLimitedJob(bytes);
    return job && AssignProcessToJobObject(job, GetCurrentProcess());
}

} // namespace testsupport
