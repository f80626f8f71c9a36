#pragma once
// program_run.h over Win32: CreateProcessW with the output files as the child's standard handles,
// a wait bounded by the deadline, TerminateProcess past it.
#include <windows.h>

#include <cstdlib>
#include <process.h>

#include "platform/windows/wide_text.h"
#include "platform/windows/windows_command_line.h"

namespace endtoend {

inline constexpr const char* kExecutableSuffix = ".exe";
// Exit codes from here on are the system's exception codes (an access violation is 0xC0000005):
// the program crashed rather than ended.
inline constexpr DWORD kFirstExceptionCode = 0xC0000000;

inline int processId() {
    return ::_getpid();
}

inline ProgramRun runProgram(const fs::path& program, const std::vector<std::string>& args,
                             const fs::path& scratch, std::chrono::seconds deadline,
                             const Interruption& interruption = {}) {
    // Another process cannot be sent a signal here; the tests that interrupt skip on Windows.
    (void)interruption;
    ProgramRun result;
    const fs::path outPath = scratch / "stdout.txt", errPath = scratch / "stderr.txt";
    std::vector<std::string> words = {program.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::wstring commandLine = windowsCommandLine(words);

    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    const auto create = [&inherit](const fs::path& path, DWORD access, DWORD disposition) {
        return CreateFileW(path.wstring().c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    const HANDLE in = create("NUL", GENERIC_READ, OPEN_EXISTING);
    const HANDLE out = create(outPath, GENERIC_WRITE, CREATE_ALWAYS);
    const HANDLE err = create(errPath, GENERIC_WRITE, CREATE_ALWAYS);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = in;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION child = {};
    const auto begin = std::chrono::steady_clock::now();
    result.started = in != INVALID_HANDLE_VALUE && out != INVALID_HANDLE_VALUE &&
                     err != INVALID_HANDLE_VALUE &&
                     CreateProcessW(program.wstring().c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                                    nullptr, nullptr, &startup, &child);
    for (HANDLE h : {in, out, err})
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
    if (!result.started) return result;
    CloseHandle(child.hThread);

    const auto milliseconds = std::chrono::duration_cast<std::chrono::milliseconds>(deadline).count();
    if (WaitForSingleObject(child.hProcess, static_cast<DWORD>(milliseconds)) != WAIT_OBJECT_0) {
        TerminateProcess(child.hProcess, 1);
        WaitForSingleObject(child.hProcess, INFINITE);
        result.timedOut = true;
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hProcess);
    result.exitCode = static_cast<int>(code);
    result.exited = !result.timedOut && code < kFirstExceptionCode;
    result.out = readText(outPath);
    result.err = asText(readText(errPath));
    return result;
}

} // namespace endtoend
