// Runs the discovery worker as the program does and prints what its window would receive, for the
// lab tests and the benchmark (the network they need exists only inside a lab).
//   scan_probe [--scans N] [--wait-ms M]   N scans asked for at once (default 1); prints
//       "found <address> <ms>" and "end <ms>" lines (ms since the first request), then "done" after N
//       end messages or M ms (default 20000), whichever comes first.
//   scan_probe --adapters                  prints the adapter list as the worker reads it
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "discovery/adapter_list.h"
#include "discovery/find_wifi_android.h"
#include "win/window.h"

namespace {

class Printer : public win::WindowImpl<Printer> {
public:
    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(discovery::WM_SCAN_RESULT, OnResult)
    WIN_END_MSG_MAP()

    DWORD start = 0;
    int ends = 0;

private:
    LRESULT OnResult(UINT, WPARAM wParam, LPARAM, bool&) {
        const DWORD ms = GetTickCount() - start;
        if (wParam == 0) {
            ++ends;
            std::printf("end %lu\n", ms);
        } else {
            in_addr address;
            address.s_addr = static_cast<ULONG>(wParam);
            std::printf("found %s %lu\n", inet_ntoa(address), ms);
        }
        std::fflush(stdout);
        return 0;
    }
};

int PrintAdapters() {
    std::vector<discovery::AdapterInfo> adapters;
    discovery::CSystemAdapterList list;
    if (!list.Read(adapters)) return 1;
    for (const auto& adapter : adapters) {
        std::printf("adapter type=%u description=%ls", adapter.type, adapter.description.c_str());
        for (const auto& address : adapter.addresses) std::printf(" %ls", address.c_str());
        std::printf("\n");
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int scans = 1;
    DWORD waitMs = 20000;
    for (int i = 1; i < argc; ++i) {
        if (!wcscmp(argv[i], L"--adapters")) return PrintAdapters();
        if (!wcscmp(argv[i], L"--scans") && i + 1 < argc) scans = _wtoi(argv[++i]);
        if (!wcscmp(argv[i], L"--wait-ms") && i + 1 < argc) waitMs = static_cast<DWORD>(_wtoi(argv[++i]));
    }

    Printer printer;
    const RECT none{0, 0, 0, 0};
    printer.Create(HWND_MESSAGE, none, nullptr, 0, 0);
    printer.start = GetTickCount();
    // Asked for as soon as the worker exists, as the main window does while it is being created.
    discovery::CFindWifiAndroid* worker = discovery::CFindWifiAndroid::Instance();
    for (int i = 0; i < scans; ++i) worker->StartScan(printer.Handle());

    while (printer.ends < scans && GetTickCount() - printer.start < waitMs) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    std::printf("done\n");
    std::fflush(stdout);
    worker->Stop(200);
    return 0;
}
