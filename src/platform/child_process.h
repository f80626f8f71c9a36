#pragma once
// A program started as a child of this one and fed through pipes: the mp4 writer's encoder. Each
// system has its own backend (posix/child_process_posix.cpp, windows/child_process_windows.cpp);
// what they share is this interface.
//
// Every backend promises:
// - The child never outlives this process, however it ends (also when it is killed): the system
//   ends the child with it.
// - The child does not get the terminal's Ctrl-C: this process decides, and ends the child's
//   inputs so that it finishes its work.
// - Writes to and the closing of different inputs may come from different threads at the same
//   time (a thread per input keeps one stream from blocking another); terminate() may come from
//   any thread.
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
        bool exited = false; // false: ended abnormally (a signal, or terminate())
        int code = 0;        // the exit code when exited
    };

    virtual ~ChildProcess() = default;

    // Writes all bytes to input stream `input`; false once the child no longer takes them.
    virtual bool write(int input, const void* data, std::size_t bytes) = 0;
    // Ends input stream `input`: the child reads its end while the others stay open. (ffmpeg may
    // want the end of one stream before it takes the rest of the other.)
    virtual void closeInput(int input) = 0;
    // Ends the child at once, its work unfinished; a write blocked on it then fails. wait() still
    // has to collect it.
    virtual void terminate() = 0;
    // Ends every input stream and waits for the child; false (with the failure) when it could
    // not be waited for. Call it once no other thread writes any more.
    virtual bool wait(Exit& exit, Failure& failure) = 0;
};

// The name by which the child's program opens input stream `input`, for its command line
// ("pipe:3" for the first: a descriptor the child inherits).
std::string childInputName(int input);

// Starts args[0], looked up on the PATH (on Windows as args[0].exe), with args as its command
// line, nothing on its standard input and `inputs` input streams. A write to a child that has gone
// comes back as a failed write instead of ending this process. Null, with the failure, when it
// cannot be started (a program not found fails at the Start step with the system's "no such file"
// error).
std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, int inputs,
                                                ChildProcess::Failure& failure);

// The system's words for a failure's error number.
std::string systemErrorText(int systemError);
