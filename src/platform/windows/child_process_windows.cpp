// The child process over Win32: anonymous pipes whose read ends the child's C runtime opens as its
// descriptors 3, 4, ..., CreateProcessW, and a job object that ends the child with this process.
//
// A Windows C runtime (msvcrt and the universal one alike) takes the files a parent hands it from
// STARTUPINFO's lpReserved2: a count, a flag byte per descriptor, then a handle per descriptor,
// packed. The parent's own spawn functions fill it the same way; ffmpeg's "pipe:3" then reads the
// third descriptor as it does on POSIX.
#include "platform/child_process.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/windows_command_line.h"

#include <windows.h>

#include <cstring>
#include <mutex>

namespace {

// The child reads its inputs from descriptor 3 on; 0, 1 and 2 are its standard streams.
constexpr int kFirstChildInputFd = 3;
// Room in each pipe for a few frames, so a slow moment of the encoder does not stall the show.
constexpr DWORD kPipeBytes = 1 << 20;

// The exit code of a child ended by terminate(), as a killed process reports it.
constexpr UINT kTerminatedCode = 1;

// The C runtime's flags for an inherited descriptor: open, and a pipe or a device.
constexpr unsigned char kCrtOpen = 0x01;
constexpr unsigned char kCrtPipe = 0x08;
constexpr unsigned char kCrtDevice = 0x40;

void closeHandle(HANDLE& h) {
    if (h != nullptr && h != INVALID_HANDLE_VALUE) CloseHandle(h);
    h = nullptr;
}

bool isFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// `name` as given when it names a folder, otherwise the first match in the PATH's folders, with
// ".exe" added when it has no ending. Empty when there is none.
std::wstring findProgram(const std::wstring& name) {
    std::wstring file = name;
    const std::size_t lastPart = file.find_last_of(L"\\/:") + 1;
    if (file.find(L'.', lastPart) == std::wstring::npos) file += L".exe";
    if (lastPart > 0) return isFile(file) ? file : std::wstring();
    const DWORD size = GetEnvironmentVariableW(L"PATH", nullptr, 0);
    std::wstring path(size, L'\0');
    path.resize(GetEnvironmentVariableW(L"PATH", path.data(), size));
    for (std::size_t begin = 0; begin <= path.size();) {
        std::size_t end = path.find(L';', begin);
        if (end == std::wstring::npos) end = path.size();
        std::wstring folder = path.substr(begin, end - begin);
        if (folder.size() >= 2 && folder.front() == L'"' && folder.back() == L'"')
            folder = folder.substr(1, folder.size() - 2);
        if (!folder.empty()) {
            if (folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
            if (isFile(folder + file)) return folder + file;
        }
        begin = end + 1;
    }
    return {};
}

// An inheritable copy of one of this process's standard handles, or none.
HANDLE inheritableCopy(DWORD which) {
    const HANDLE own = GetStdHandle(which);
    HANDLE copy = nullptr;
    if (own == nullptr || own == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        return INVALID_HANDLE_VALUE;
    return copy;
}

// The C runtime's block of inherited descriptors: 0 to 2 left to the standard handles, then the
// pipes' read ends.
std::vector<unsigned char> crtDescriptorBlock(HANDLE nul, const std::vector<HANDLE>& inputs) {
    const int count = kFirstChildInputFd + static_cast<int>(inputs.size());
    std::vector<unsigned char> block(sizeof(int) + count * (1 + sizeof(HANDLE)));
    std::memcpy(block.data(), &count, sizeof count);
    unsigned char* flags = block.data() + sizeof(int);
    unsigned char* handles = flags + count;
    for (int fd = 0; fd < count; ++fd) {
        HANDLE h = INVALID_HANDLE_VALUE;
        unsigned char f = 0;
        if (fd == 0) {
            h = nul;
            f = kCrtOpen | kCrtDevice;
        } else if (fd >= kFirstChildInputFd) {
            h = inputs[fd - kFirstChildInputFd];
            f = kCrtOpen | kCrtPipe;
        }
        flags[fd] = f;
        std::memcpy(handles + fd * sizeof(HANDLE), &h, sizeof h);
    }
    return block;
}

class WindowsChildProcess : public ChildProcess {
public:
    WindowsChildProcess(HANDLE process, HANDLE job, std::vector<HANDLE> writeEnds)
        : child(process), job(job), inputs(std::move(writeEnds)) {}
    ~WindowsChildProcess() override {
        Exit exit;
        Failure failure;
        wait(exit, failure);
        closeHandle(job);
    }

    bool write(int input, const void* data, std::size_t bytes) override {
        if (input < 0 || input >= static_cast<int>(inputs.size()) || inputs[input] == nullptr) return false;
        const auto* p = static_cast<const unsigned char*>(data);
        while (bytes > 0) {
            const DWORD chunk = bytes > kPipeBytes ? kPipeBytes : static_cast<DWORD>(bytes);
            DWORD written = 0;
            if (!WriteFile(inputs[input], p, chunk, &written, nullptr) || written == 0) return false;
            p += written;
            bytes -= written;
        }
        return true;
    }

    void closeInput(int input) override {
        if (input >= 0 && input < static_cast<int>(inputs.size())) closeHandle(inputs[input]);
    }

    void terminate() override {
        // The handle stays open until wait() has collected the child, and wait() closes it only
        // under the same lock.
        const std::lock_guard<std::mutex> lock(childLock);
        if (child == nullptr) return;
        terminated = true;
        TerminateProcess(child, kTerminatedCode);
    }

    bool wait(Exit& exit, Failure& failure) override {
        HANDLE process;
        {
            const std::lock_guard<std::mutex> lock(childLock);
            process = child;
        }
        if (process == nullptr) return true;
        // Closing the pipes ends the streams; the child then finishes and exits.
        for (HANDLE& h : inputs) closeHandle(h);
        DWORD code = 0;
        const bool waited =
            WaitForSingleObject(process, INFINITE) == WAIT_OBJECT_0 && GetExitCodeProcess(process, &code);
        if (!waited) failure = {Failure::Step::Wait, static_cast<int>(GetLastError())};
        const std::lock_guard<std::mutex> lock(childLock);
        closeHandle(child);
        if (!waited) return false;
        // A process ends with a status, whatever ended it: only our own terminate() tells.
        exit.exited = !terminated;
        exit.code = exit.exited ? static_cast<int>(code) : 0;
        return true;
    }

private:
    std::mutex childLock;
    HANDLE child;
    bool terminated = false;
    HANDLE job;
    std::vector<HANDLE> inputs;
};

} // namespace

std::string childInputName(int input) {
    return "pipe:" + std::to_string(kFirstChildInputFd + input);
}

std::string systemErrorText(int systemError) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(systemError), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words(text ? text : L"", length);
    LocalFree(text);
    while (!words.empty() && (words.back() == L'\n' || words.back() == L'\r' || words.back() == L'.'))
        words.pop_back();
    if (words.empty()) return "system error " + std::to_string(systemError);
    return narrowText(words);
}

std::unique_ptr<ChildProcess> startChildProcess(const std::vector<std::string>& args, int inputs,
                                                ChildProcess::Failure& failure) {
    using Step = ChildProcess::Failure::Step;
    const std::wstring program = args.empty() ? std::wstring() : findProgram(wideText(args[0]));
    if (program.empty()) {
        failure = {Step::Start, ERROR_FILE_NOT_FOUND};
        return nullptr;
    }
    std::wstring commandLine = windowsCommandLine(args);

    // Everything made here is closed on every way out; what the child object keeps is taken out.
    std::vector<HANDLE> readEnds(inputs, nullptr), writeEnds(inputs, nullptr);
    HANDLE nul = INVALID_HANDLE_VALUE, out = INVALID_HANDLE_VALUE, err = INVALID_HANDLE_VALUE;
    HANDLE job = nullptr;
    PROCESS_INFORMATION started = {};
    const auto closeAll = [&] {
        for (HANDLE& h : readEnds) closeHandle(h);
        for (HANDLE& h : writeEnds) closeHandle(h);
        closeHandle(nul);
        closeHandle(out);
        closeHandle(err);
        closeHandle(job);
        closeHandle(started.hThread);
        closeHandle(started.hProcess);
    };
    const auto fail = [&](Step step) {
        failure = {step, static_cast<int>(GetLastError())};
        if (started.hProcess) TerminateProcess(started.hProcess, 1);
        closeAll();
        return nullptr;
    };

    // Only the read ends are inherited; the write ends stay in this process.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    for (int i = 0; i < inputs; ++i)
        if (!CreatePipe(&readEnds[i], &writeEnds[i], &inherit, kPipeBytes) ||
            !SetHandleInformation(writeEnds[i], HANDLE_FLAG_INHERIT, 0))
            return fail(Step::Pipes);
    nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0,
                      nullptr);
    if (nul == INVALID_HANDLE_VALUE) return fail(Step::Pipes);
    out = inheritableCopy(STD_OUTPUT_HANDLE);
    err = inheritableCopy(STD_ERROR_HANDLE);

    // The child goes when this process goes, however this process ends.
    job = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (job == nullptr ||
        !SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return fail(Step::Start);

    std::vector<unsigned char> descriptors = crtDescriptorBlock(nul, readEnds);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = out;
    startup.hStdError = err;
    startup.cbReserved2 = static_cast<WORD>(descriptors.size());
    startup.lpReserved2 = descriptors.data();
    // Its own process group keeps the console's Ctrl-C from the child: this process decides.
    const DWORD creation = CREATE_SUSPENDED | CREATE_NEW_PROCESS_GROUP | CREATE_UNICODE_ENVIRONMENT;
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, creation, nullptr,
                        nullptr, &startup, &started))
        return fail(Step::Start);
    if (!AssignProcessToJobObject(job, started.hProcess) ||
        ResumeThread(started.hThread) == static_cast<DWORD>(-1))
        return fail(Step::Start);

    auto process = std::make_unique<WindowsChildProcess>(started.hProcess, job, writeEnds);
    started.hProcess = nullptr;
    job = nullptr;
    for (HANDLE& h : writeEnds) h = nullptr;
    closeAll(); // the child has its own copies of the read ends and standard handles
    return process;
}
