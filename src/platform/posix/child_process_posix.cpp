// The child process over POSIX: pipes whose read ends become the child's descriptors 3, 4, ...,
// posix_spawnp, and waitpid.
#include "platform/child_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

// The child reads its inputs from descriptor 3 on; everything above them is closed.
constexpr int kFirstChildInputFd = 3;

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
    return true;
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

    bool wait(Exit& exit, Failure& failure) override {
        if (child < 0) return true;
        // Closing the pipes ends the streams; the child then finishes and exits.
        for (int& fd : inputs) closeFd(fd);
        int status = 0;
        pid_t waited;
        do waited = waitpid(child, &status, 0);
        while (waited < 0 && errno == EINTR);
        child = -1;
        if (waited < 0) {
            failure = {Failure::Step::Wait, errno};
            return false;
        }
        exit.exited = WIFEXITED(status);
        exit.code = exit.exited ? WEXITSTATUS(status) : 0;
        return true;
    }

private:
    pid_t child;
    std::vector<int> inputs;
};

} // namespace

std::string childInputName(int input) {
    return "pipe:" + std::to_string(kFirstChildInputFd + input);
}

std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, int inputs,
                                                ChildProcess::Failure& failure) {
    // A dying child must come back as a failed write, not end the whole program.
    std::signal(SIGPIPE, SIG_IGN);

    const int firstFreeFd = kFirstChildInputFd + inputs;
    std::vector<Pipe> pipes(inputs);
    const auto closeAll = [&pipes] {
        for (Pipe& p : pipes) closeFd(p.read), closeFd(p.write);
    };
    for (Pipe& p : pipes) {
        if (!makePipe(p, firstFreeFd)) {
            failure = {ChildProcess::Failure::Step::Pipes, errno};
            closeAll();
            return nullptr;
        }
    }

    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int i = 0; i < inputs; ++i)
        posix_spawn_file_actions_adddup2(&actions, pipes[i].read, kFirstChildInputFd + i);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&actions, firstFreeFd);
    pid_t child = -1;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    for (Pipe& p : pipes) closeFd(p.read);
    if (spawned != 0) {
        failure = {ChildProcess::Failure::Step::Start, spawned};
        closeAll();
        return nullptr;
    }
    std::vector<int> writeEnds;
    for (Pipe& p : pipes) writeEnds.push_back(p.write);
    return std::make_unique<PosixChildProcess>(child, std::move(writeEnds));
}
