#include "adb/child_process.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <optional>
#include <vector>

namespace adb {

namespace {

constexpr size_t kCommandLineCapacity = 4096;  // a longer command line is cut at 4095 characters
constexpr DWORD kReadChunk = 64 * 1024;
constexpr DWORD kPipeBuffer = 64 * 1024;
// How long an ended child is given to be gone before its exit code is read.
constexpr DWORD kEndWaitMs = 5'000;

using Clock = std::chrono::steady_clock;

class OwnedHandle {
public:
    explicit OwnedHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    OwnedHandle(OwnedHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = INVALID_HANDLE_VALUE; }
    ~OwnedHandle() { Reset(); }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ && handle_ != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE handle = INVALID_HANDLE_VALUE) {
        if (valid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

OwnedHandle OpenNul(DWORD access) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    return OwnedHandle(CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING,
                                   0, nullptr));
}

// One job holds every child of the program. The system closes the program's handle of it when the
// program ends, however it ends, and closing the last handle ends every process in the job.
HANDLE ProgramJob() {
    static const HANDLE job = [] {
        HANDLE made = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        if (made && !SetInformationJobObject(made, JobObjectExtendedLimitInformation, &limits, sizeof limits)) {
            CloseHandle(made);
            made = nullptr;
        }
        return made;
    }();
    return job;
}

// The only handles a child inherits, whatever else of the program's is inheritable.
class HandleList {
public:
    HandleList(HANDLE output, HANDLE input) : handles_{output, input} {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        bytes_.resize(size);
        ready_ = InitializeProcThreadAttributeList(List(), 1, 0, &size) &&
                 UpdateProcThreadAttribute(List(), 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_, sizeof handles_,
                                           nullptr, nullptr);
    }
    ~HandleList() {
        if (!bytes_.empty()) DeleteProcThreadAttributeList(List());
    }
    HandleList(const HandleList&) = delete;
    HandleList& operator=(const HandleList&) = delete;

    bool ready() const { return ready_; }
    LPPROC_THREAD_ATTRIBUTE_LIST List() { return reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(bytes_.data()); }

private:
    HANDLE handles_[2];
    std::vector<unsigned char> bytes_;
    bool ready_ = false;
};

// Starts the child hidden, with output as its standard output and error and a null input. It starts
// suspended and runs only once it is in the job, so nothing it starts escapes the job.
OwnedHandle Spawn(const ClientLaunch& launch, const std::wstring& folder, HANDLE output) {
    if (launch.program.empty()) return OwnedHandle();
    const OwnedHandle input = OpenNul(GENERIC_READ);
    if (!input.valid()) return OwnedHandle();
    HandleList inherited(output, input.get());
    if (!inherited.ready()) return OwnedHandle();

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
    startup.StartupInfo.wShowWindow = SW_HIDE;
    startup.StartupInfo.hStdInput = input.get();
    startup.StartupInfo.hStdOutput = output;
    startup.StartupInfo.hStdError = output;
    startup.lpAttributeList = inherited.List();

    std::vector<wchar_t> line(kCommandLineCapacity, L'\0');
    launch.commandLine.copy(line.data(), kCommandLineCapacity - 1);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(launch.program.c_str(), line.data(), nullptr, nullptr, TRUE,
                        (launch.console ? CREATE_NO_WINDOW : DETACHED_PROCESS) | CREATE_SUSPENDED |
                            EXTENDED_STARTUPINFO_PRESENT,
                        nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo, &process))
        return OwnedHandle();
    // Outside the job only where the system allows no nested jobs (Windows 7 inside another job).
    if (const HANDLE job = ProgramJob()) AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    CloseHandle(process.hThread);
    return OwnedHandle(process.hProcess);
}

// A pipe whose read end can wait with a time limit (an anonymous pipe cannot).
struct OutputPipe {
    OwnedHandle read, write;

    bool Open() {
        static std::atomic<unsigned> serial{0};
        const std::wstring name = L"\\\\.\\pipe\\mivora-client-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++serial);
        read.Reset(CreateNamedPipeW(
            name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
            PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0, kPipeBuffer, 0, nullptr));
        if (!read.valid()) return false;
        SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
        write.Reset(
            CreateFileW(name.c_str(), GENERIC_WRITE, 0, &inheritable, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        return write.valid();
    }
};

DWORD MillisecondsUntil(Clock::time_point at) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(at - Clock::now()).count();
    return left > 0 ? static_cast<DWORD>(std::min<long long>(left, INFINITE - 1)) : 0;
}

// Reads the pipe until it closes or a limit is reached.
class OutputReader {
public:
    OutputReader(HANDLE pipe, HANDLE process, const ChildLimits& limits, const ChildWatch& watch, std::string& output)
        : pipe_(pipe), process_(process), limits_(limits), watch_(watch), output_(output) {}

    ChildEnd Read() {
        const OwnedHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!event.valid()) return ChildEnd::Silent;
        overlapped_.hEvent = event.get();
        for (;;) {
            if (!ReadFile(pipe_, chunk_.data(), kReadChunk, nullptr, &overlapped_) && GetLastError() != ERROR_IO_PENDING)
                return ChildEnd::Exited;  // closed by every writer
            if (const std::optional<ChildEnd> limit = AwaitRead()) {
                CancelIo(pipe_);
                DWORD ignored = 0;
                GetOverlappedResult(pipe_, &overlapped_, &ignored, TRUE);  // the buffer stays until it is done
                return *limit;
            }
            DWORD got = 0;
            if (!GetOverlappedResult(pipe_, &overlapped_, &got, FALSE)) return ChildEnd::Exited;
            lastOutput_ = Clock::now();
            if (watch_.output) watch_.output(std::string_view(chunk_.data(), got));
            const size_t cap = limits_.maxOutputBytes ? limits_.maxOutputBytes : output_.max_size();
            const size_t room = cap - output_.size();
            output_.append(chunk_.data(), std::min<size_t>(got, room));
            if (got > room) return ChildEnd::TooMuchOutput;
        }
    }

private:
    // Waits for the pending read; a limit when one is reached first.
    std::optional<ChildEnd> AwaitRead() {
        for (;;) {
            std::optional<Clock::time_point> until;
            std::optional<ChildEnd> reason;
            const auto consider = [&](Clock::time_point at, ChildEnd why) {
                if (!until || at < *until) {
                    until = at;
                    reason = why;
                }
            };
            if (limits_.quietMs) consider(lastOutput_ + std::chrono::milliseconds(limits_.quietMs), ChildEnd::Silent);
            if (limits_.totalMs) consider(started_ + std::chrono::milliseconds(limits_.totalMs), ChildEnd::Overran);
            if (exitedAt_) consider(*exitedAt_ + std::chrono::milliseconds(kExitGraceMs), ChildEnd::Exited);

            HANDLE objects[3] = {overlapped_.hEvent};
            DWORD count = 1;
            const DWORD exitIndex = exitedAt_ ? MAXIMUM_WAIT_OBJECTS : count;
            if (!exitedAt_) objects[count++] = process_;
            const DWORD cancelIndex = watch_.cancelEvent ? count : MAXIMUM_WAIT_OBJECTS;
            if (watch_.cancelEvent) objects[count++] = watch_.cancelEvent;
            const DWORD woke = WaitForMultipleObjects(count, objects, FALSE, until ? MillisecondsUntil(*until) : INFINITE);
            if (woke == WAIT_OBJECT_0) return std::nullopt;
            if (woke == WAIT_OBJECT_0 + exitIndex) {
                exitedAt_ = Clock::now();
                continue;
            }
            if (woke == WAIT_OBJECT_0 + cancelIndex) {
                // Reset first: a cancel that comes while the question is asked sets it again.
                ResetEvent(watch_.cancelEvent);
                if (watch_.cancelled && watch_.cancelled()) return ChildEnd::Cancelled;
                continue;
            }
            if (woke == WAIT_TIMEOUT && Clock::now() < *until) continue;  // woken a little early
            return woke == WAIT_TIMEOUT ? *reason : ChildEnd::Silent;
        }
    }

    const HANDLE pipe_;
    const HANDLE process_;
    const ChildLimits& limits_;
    const ChildWatch& watch_;
    std::string& output_;
    OVERLAPPED overlapped_{};
    std::vector<char> chunk_ = std::vector<char>(kReadChunk);
    const Clock::time_point started_ = Clock::now();
    Clock::time_point lastOutput_ = started_;
    std::optional<Clock::time_point> exitedAt_;
};

}  // namespace

ChildRun RunChild(const ClientLaunch& launch, const std::wstring& folder, const ChildLimits& limits,
                  const ChildWatch& watch) {
    ChildRun run;
    OutputPipe pipe;
    if (!pipe.Open()) return run;
    const OwnedHandle process = Spawn(launch, folder, pipe.write.get());
    // From now on the read end reports the end once the child, and whatever it started, closed theirs.
    pipe.write.Reset();
    if (!process.valid()) return run;

    run.end = OutputReader(pipe.read.get(), process.get(), limits, watch, run.output).Read();
    // A child that closed its output but does not end is as good as silent.
    if (run.end == ChildEnd::Exited && WaitForSingleObject(process.get(), kExitGraceMs) == WAIT_TIMEOUT)
        run.end = ChildEnd::Silent;
    if (run.end != ChildEnd::Exited) TerminateProcess(process.get(), kEndedChildExitCode);
    WaitForSingleObject(process.get(), kEndWaitMs);
    DWORD exitCode = kEndedChildExitCode;
    GetExitCodeProcess(process.get(), &exitCode);
    run.exitCode = exitCode;
    return run;
}

bool StartChild(const ClientLaunch& launch, const std::wstring& folder) {
    const OwnedHandle output = OpenNul(GENERIC_WRITE);
    return output.valid() && Spawn(launch, folder, output.get()).valid();
}

}  // namespace adb
