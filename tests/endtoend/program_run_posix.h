#pragma once
// program_run.h over POSIX: posix_spawn, waitpid polled against the deadline, SIGKILL past it.
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace endtoend {

inline constexpr const char* kExecutableSuffix = "";

inline int processId() {
    return static_cast<int>(::getpid());
}

inline ProgramRun runProgram(const fs::path& program, const std::vector<std::string>& args,
                             const fs::path& scratch, std::chrono::seconds deadline,
                             const Interruption& interruption = {}) {
    ProgramRun result;
    const fs::path outPath = scratch / "stdout.txt", errPath = scratch / "stderr.txt";
    std::vector<std::string> words = {program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t child = -1;
    const auto begin = std::chrono::steady_clock::now();
    result.started = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!result.started) return result;

    int status = 0;
    bool interrupted = false;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child) break;
        if (!interrupted && interruption.when && interruption.when()) {
            kill(child, interruption.signal);
            interrupted = true;
        }
        if (std::chrono::steady_clock::now() - begin > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            result.timedOut = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    if (!result.timedOut && WIFEXITED(status)) {
        result.exited = true;
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    result.out = readText(outPath);
    result.err = readText(errPath);
    return result;
}

} // namespace endtoend
