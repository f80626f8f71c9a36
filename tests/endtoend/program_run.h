#pragma once
// Runs one of the project's programs as a child process, as a person would, with a deadline: a
// hang or a crash is a test failure, not a stuck or aborted suite. Each system has its own way of
// starting and waiting (program_run_posix.h, program_run_windows.h); what the tests use is here.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "endtoend/environment_change.h"

namespace endtoend {

namespace fs = std::filesystem;

struct ProgramRun {
    bool started = false;
    bool exited = false; // ended by itself (not by a signal, a crash or the deadline)
    bool timedOut = false;
    int exitCode = -1;
    int signal = 0;  // POSIX: the signal that ended it
    std::string out; // standard output, byte for byte
    std::string err; // standard error as text: lines end in "\n" on every system
    double seconds = 0.0;
};

inline std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A signal sent to the running program once `when` says so (asked every 20 ms), as a person
// presses Ctrl-C when they have seen enough (POSIX only: Windows has no signals for another process).
struct Interruption {
    int signal = SIGINT;
    std::function<bool()> when;
};

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

// Lines as a program wrote them to a text stream, with Windows' "\r\n" back to "\n".
inline std::string asText(std::string bytes) {
#ifdef _WIN32
    std::string::size_type at = 0;
    while ((at = bytes.find("\r\n", at)) != std::string::npos) bytes.erase(at, 1);
#endif
    return bytes;
}

} // namespace endtoend

#ifdef _WIN32
#include "endtoend/program_run_windows.h"
#else
#include "endtoend/program_run_posix.h"
#endif

namespace endtoend {

// A system's backend provides:
//   ProgramRun runProgram(program, args, scratch, deadline, interruption = {}): runs
//     `program args...` with nothing on its standard input; standard output and error are
//     collected through files in `scratch`.
//   int processId(): this process's id, for scratch names.
//   kExecutableSuffix: what a program's file name ends in.

inline std::string describe(const ProgramRun& run) {
    return "exit " + std::to_string(run.exitCode) + (run.timedOut ? " (timed out)" : "") +
           (run.signal ? " (signal " + std::to_string(run.signal) + ")" : "") + "\nstdout:\n" + run.out +
           "\nstderr:\n" + run.err;
}

// A scratch folder named for this process and test, removed again at the end.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& name)
        : path(fs::temp_directory_path() / ("hv_e2e_" + std::to_string(processId()) + "_" + name)) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    const fs::path path;
};

// A program of the build, by name.
inline fs::path builtProgram(const std::string& name) {
    return fs::path(HV_BIN_DIR) / (name + kExecutableSuffix);
}

inline fs::path captureProgram() {
    return builtProgram("halcyonvectrum-capture");
}

} // namespace endtoend
