// What a running Windows program holds, seen from outside it (the soak compares these over hours).
//   procstat <image name>   prints, for each process of that name, one line:
//                           "<pid> handles=<count> threads=<count>"
// and nothing when there is none. Handles are counted in the system's handle table, which Wine
// keeps as Windows does (Wine's GetProcessHandleCount answers 0).
#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

struct HandleEntry {
    ULONG process;
    BYTE type;
    BYTE flags;
    USHORT value;
    PVOID object;
    ACCESS_MASK access;
};

struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

class Snapshot {
public:
    Snapshot() : handle_(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)) {}
    ~Snapshot() {
        if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

// The system's handle table, or an empty buffer when it cannot be read.
std::vector<BYTE> ReadHandleTable() {
    std::vector<BYTE> table(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status =
            NtQuerySystemInformation(kSystemHandleInformation, table.data(), static_cast<ULONG>(table.size()), &needed);
        if (status == kInfoLengthMismatch && table.size() < (256u << 20)) {
            table.resize(table.size() * 2);
            continue;
        }
        if (status != 0) table.clear();
        return table;
    }
}

unsigned long HandlesOf(const std::vector<BYTE>& table, DWORD process) {
    const auto* handles = reinterpret_cast<const HandleTable*>(table.data());
    unsigned long count = 0;
    for (ULONG i = 0; i < handles->count; ++i) count += handles->entries[i].process == process;
    return count;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: procstat <image name>\n");
        return 2;
    }
    const Snapshot snapshot;
    const std::vector<BYTE> table = ReadHandleTable();
    if (snapshot.get() == INVALID_HANDLE_VALUE || table.empty()) {
        std::fprintf(stderr, "procstat: cannot read the process list or the handle table\n");
        return 1;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(entry.szExeFile, argv[1])) continue;
        std::printf("%lu handles=%lu threads=%lu\n", static_cast<unsigned long>(entry.th32ProcessID),
                    HandlesOf(table, entry.th32ProcessID), static_cast<unsigned long>(entry.cntThreads));
    }
    return 0;
}
