// The child process over POSIX: pipes whose read ends become the child's descriptors 3, 4, ...,
// fork and execve, and waitpid. The child gets a process group of its own (the terminal's Ctrl-C
// reaches only this process) and, on Linux, dies with this process (PR_SET_PDEATHSIG).
#include "platform/child_process.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

extern char** environ;

namespace {

// The child reads its inputs from descriptor 3 on; everything above them is closed.
constexpr int kFirstChildInputFd = 3;
// A larger pipe takes a video frame in fewer turns between the two processes (where the system
// lets a pipe grow; elsewhere it keeps its size).
constexpr int kPipeBytes = 1 << 20;
// The child's exit code when its program could not be started (as the shells use it).
constexpr int kCannotExecute = 127;

struct Pipe {
    int read = -1, write = -1;
};

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

// A pipe whose ends do not leak into other children, with the read end above every target
// descriptor of the child, so the dup2 calls cannot clobber each other.
bool makePipe(Pipe& p, int firstFreeFd) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    p.read = fcntl(fds[0], F_DUPFD_CLOEXEC, firstFreeFd);
    ::close(fds[0]);
    p.write = fds[1];
    if (p.read < 0) {
        closeFd(p.write);
        return false;
    }
#if defined(F_SETPIPE_SZ)
    fcntl(p.write, F_SETPIPE_SZ, kPipeBytes); // a hint: the default size works too
#endif
    return true;
}

// The program's full path as execve needs it: a name with a slash as it is, otherwise the first
// executable file of that name on the PATH. Empty when there is none.
std::string findProgram(const std::string& name) {
    const auto runnable = [](const std::string& path) {
        struct stat info;
        return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos) return runnable(name) ? name : std::string();
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        std::string folder =
            folders.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (folder.empty()) folder = ".";
        const std::string candidate = folder + "/" + name;
        if (runnable(candidate)) return candidate;
        if (end == std::string::npos) return {};
        start = end + 1;
    }
}

class PosixChildProcess : public ChildProcess {
public:
    PosixChildProcess(pid_t pid, std::vector<int> fds) : child(pid), inputs(std::move(fds)) {}
    ~PosixChildProcess() override {
        Exit exit;
        Failure failure;
        wait(exit, failure);
    }

    bool write(int input, const void* data, std::size_t bytes) override {
        if (input < 0 || input >= static_cast<int>(inputs.size()) || inputs[input] < 0) return false;
        const auto* p = static_cast<const unsigned char*>(data);
        while (bytes > 0) {
            const ssize_t n = ::write(inputs[input], p, bytes);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return false;
            p += n;
            bytes -= static_cast<std::size_t>(n);
        }
        return true;
    }

    void closeInput(int input) override {
        if (input >= 0 && input < static_cast<int>(inputs.size())) closeFd(inputs[input]);
    }

    void terminate() override {
        const pid_t pid = child.load();
        if (pid > 0) kill(pid, SIGKILL);
    }

    bool wait(Exit& exit, Failure& failure) override {
        const pid_t pid = child.load();
        if (pid < 0) return true;
        // Closing the pipes ends the streams; the child then finishes and exits.
        for (int& fd : inputs) closeFd(fd);
        int status = 0;
        pid_t waited;
        do waited = waitpid(pid, &status, 0);
        while (waited < 0 && errno == EINTR);
        child.store(-1);
        if (waited < 0) {
            failure = {Failure::Step::Wait, errno};
            return false;
        }
        exit.exited = WIFEXITED(status);
        exit.code = exit.exited ? WEXITSTATUS(status) : 0;
        return true;
    }

private:
    std::atomic<pid_t> child;
    std::vector<int> inputs;
};

// In the forked child: only async-signal-safe calls until execve. Reports a failure to start as
// its errno on `status` and exits.
[[noreturn]] void becomeChild(const char* program, char* const* argv, const std::vector<Pipe>& pipes,
                              int status, int firstFreeFd, pid_t parent) {
    // A group of its own: a Ctrl-C at the terminal reaches the parent alone, which then ends the
    // streams so that the child can finish its file.
    setpgid(0, 0);
#if defined(__linux__)
    // Ends with its parent, whatever ends the parent (checked once more against a parent that
    // died before this line).
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(kCannotExecute);
#else
    (void)parent;
#endif
    signal(SIGPIPE, SIG_DFL);
    for (std::size_t i = 0; i < pipes.size(); ++i)
        dup2(pipes[i].read, kFirstChildInputFd + static_cast<int>(i));
    if (status != firstFreeFd) {
        dup2(status, firstFreeFd);
        fcntl(firstFreeFd, F_SETFD, FD_CLOEXEC);
    }
    const int nothing = open("/dev/null", O_RDONLY);
    if (nothing > 0) {
        dup2(nothing, STDIN_FILENO);
        close(nothing);
    }
    // Nothing else of this process reaches the program (the status pipe closes on execve).
    closefrom(firstFreeFd + 1);
    execve(program, argv, environ);
    const int error = errno;
    ssize_t ignored = ::write(firstFreeFd, &error, sizeof error);
    (void)ignored;
    _exit(kCannotExecute);
}

} // namespace

std::string childInputName(int input) {
    return "pipe:" + std::to_string(kFirstChildInputFd + input);
}

std::string systemErrorText(int systemError) {
    return std::strerror(systemError);
}

std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, int inputs,
                                                ChildProcess::Failure& failure) {
    // A dying child must come back as a failed write, not end the whole program.
    std::signal(SIGPIPE, SIG_IGN);

    const std::string program = args.empty() ? std::string() : findProgram(args[0]);
    if (program.empty()) {
        failure = {ChildProcess::Failure::Step::Start, ENOENT};
        return nullptr;
    }
    const int firstFreeFd = kFirstChildInputFd + inputs;
    std::vector<Pipe> pipes(inputs);
    Pipe status;
    const auto closeAll = [&pipes, &status] {
        for (Pipe& p : pipes) closeFd(p.read), closeFd(p.write);
        closeFd(status.read), closeFd(status.write);
    };
    for (Pipe& p : pipes) {
        if (!makePipe(p, firstFreeFd)) {
            failure = {ChildProcess::Failure::Step::Pipes, errno};
            closeAll();
            return nullptr;
        }
    }
    // The status pipe's write end also lies above the child's inputs; it closes on a successful
    // execve, so the parent reads nothing, or the errno of a failed one.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        failure = {ChildProcess::Failure::Step::Pipes, errno};
        closeAll();
        return nullptr;
    }
    status.read = fds[0];
    status.write = fcntl(fds[1], F_DUPFD_CLOEXEC, firstFreeFd);
    ::close(fds[1]);
    if (status.write < 0) {
        failure = {ChildProcess::Failure::Step::Pipes, errno};
        closeAll();
        return nullptr;
    }

    // Everything the child needs is made before fork: it may not allocate.
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t child = fork();
    if (child == 0) becomeChild(program.c_str(), argv.data(), pipes, status.write, firstFreeFd, parent);
    if (child < 0) {
        failure = {ChildProcess::Failure::Step::Start, errno};
        closeAll();
        return nullptr;
    }
    for (Pipe& p : pipes) closeFd(p.read);
    closeFd(status.write);
    int execError = 0;
    ssize_t got;
    do got = ::read(status.read, &execError, sizeof execError);
    while (got < 0 && errno == EINTR);
    closeFd(status.read);
    if (got == static_cast<ssize_t>(sizeof execError)) {
        int ignored;
        while (waitpid(child, &ignored, 0) < 0 && errno == EINTR) {}
        failure = {ChildProcess::Failure::Step::Start, execError};
        closeAll();
        return nullptr;
    }
    std::vector<int> writeEnds;
    for (Pipe& p : pipes) writeEnds.push_back(p.write);
    return std::make_unique<PosixChildProcess>(child, std::move(writeEnds));
}
