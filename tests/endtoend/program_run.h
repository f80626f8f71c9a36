#pragma once
// Runs a program of the project as a child process, as a person would, with a deadline: a hang
// or a crash is a test failure, not a stuck or aborted suite.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace endtoend {

namespace fs = std::filesystem;

struct ProgramRun {
    bool started = false;
    bool exited = false; // ended by itself (not by a signal or the deadline)
    bool timedOut = false;
    int exitCode = -1;
    int signal = 0;
    std::string out, err;
    double seconds = 0.0;
};

inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A signal sent to the running program once `when` says so (asked every 20 ms), as a person
// presses Ctrl-C when they have seen enough.
struct Interruption {
    int signal = SIGINT;
    std::function<bool()> when;
};

// Runs `program args...`; standard output and error are collected through files in `scratch`.
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

// What a shell command prints on standard output (ffprobe, ffmpeg).
inline std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

inline std::string describe(const ProgramRun& run) {
    return "exit " + std::to_string(run.exitCode) + (run.timedOut ? " (timed out)" : "") +
           (run.signal ? " (signal " + std::to_string(run.signal) + ")" : "") + "\nstdout:\n" + run.out +
           "\nstderr:\n" + run.err;
}

// A scratch folder named for this process and test, removed again at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path(fs::temp_directory_path() / ("hv_e2e_" + std::to_string(::getpid()) + "_" + name)) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    const fs::path path;
};

inline fs::path captureProgram() {
    return fs::path(HV_BIN_DIR) / "halcyonvectrum-capture";
}

// A program of the build, by name.
inline fs::path builtProgram(const std::string& name) {
    return fs::path(HV_BIN_DIR) / name;
}

} // namespace endtoend
