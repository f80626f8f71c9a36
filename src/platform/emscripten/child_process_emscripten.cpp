// A page in a browser starts no programs: every start fails as the system's missing call would,
// so a writer that needs one (the mp4 writer's encoder) reports it and nothing else changes.
#include "platform/child_process.h"

#include <cerrno>
#include <cstring>

std::string childInputName(int input) {
    return "pipe:" + std::to_string(input + 3);
}

std::string systemErrorText(int systemError) {
    return std::strerror(systemError);
}

std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>&, int,
                                                ChildProcess::Failure& failure) {
    failure.step = ChildProcess::Failure::Step::Start;
    failure.systemError = ENOSYS;
    return nullptr;
}
