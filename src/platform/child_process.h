#pragma once
// A program started as a child of this one and fed through pipes: the mp4 writer's encoder. Each
// system has its own backend (posix/child_process_posix.cpp); what they share is this interface.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class ChildProcess {
public:
    // How a start or a wait failed: at which step, and the system's error number.
    struct Failure {
        enum class Step { Pipes, Start, Wait } step = Step::Start;
        int systemError = 0;
    };
    // How the child ended.
    struct Exit {
        bool exited = false; // false: ended abnormally (a signal)
        int code = 0;        // the exit code when exited
    };

    virtual ~ChildProcess() = default;

    // Writes all bytes to input stream `input`; false once the child no longer takes them.
    virtual bool write(int input, const void* data, std::size_t bytes) = 0;
    // Ends every input stream and waits for the child; false (with the failure) when it could
    // not be waited for.
    virtual bool wait(Exit& exit, Failure& failure) = 0;
};

// The name by which the child's program opens input stream `input`, for its command line
// ("pipe:3" for the first: a descriptor the child inherits).
std::string childInputName(int input);

// Starts args[0], looked up on the PATH, with args as its command line, nothing on its standard
// input and `inputs` input streams. A write to a child that has gone comes back as a failed
// write instead of ending this process. Null, with the failure, when it cannot be started.
std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, int inputs,
                                                ChildProcess::Failure& failure);
