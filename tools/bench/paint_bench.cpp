// Times full repaints of the main window's install page: the real window, made as the program
// makes it, in a lab with one box. Once the page is ready for drops (the window accepts files), the
// whole client area is invalidated and painted again, many times; each time from WM_PAINT to its
// return (UpdateWindow sends it and returns when it is done). Prints "paint_ms_p50 <ms>" and the
// slowest, "paint_ms_max <ms>", or a line starting "error" when the page never got ready.
//   paint_bench.exe <adb client> [repaints]
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "adb/shell_mgr.h"
#include "discovery/find_wifi_android.h"
#include "ui/main/main_dlg.h"
#include "ui/skin/paint/skin_resources.h"
#include "win/app_module.h"
#include "win/message_loop.h"

namespace {

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool AcceptsDrops(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

int Measure(HWND window, int repaints) {
    const DWORD start = GetTickCount();
    while (!AcceptsDrops(window)) {
        if (GetTickCount() - start > 60000) {
            std::puts("error: the install page did not get ready");
            return 1;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        Pump();
    }
    std::vector<double> times;
    for (int i = 0; i < repaints; ++i) {
        Pump();  // the tick and the workers' messages keep their turn between repaints
        InvalidateRect(window, nullptr, FALSE);
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        UpdateWindow(window);
        QueryPerformanceCounter(&after);
        times.push_back(Milliseconds(before, after));
    }
    std::sort(times.begin(), times.end());
    std::printf("paint_ms_p50 %.2f\npaint_ms_max %.2f\n", times[times.size() / 2], times.back());
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::puts("usage: paint_bench <adb client> [repaints]");
        return 2;
    }
    const int repaints = argc > 2 ? std::max(1, _wtoi(argv[2])) : 200;
    win::Module().Init(nullptr);
    CoInitialize(nullptr);
    adb::CShellMgr::Instance()->SetAdbPath(argv[1]);
    Gdiplus::GdiplusStartupInput gdiplusInput;
    ULONG_PTR gdiplusToken = 0;
    Gdiplus::GdiplusStartup(&gdiplusToken, &gdiplusInput, nullptr);
    skin::CreateSkinResources();
    win::MessageLoop loop;
    win::Module().AddMessageLoop(&loop);
    discovery::CFindWifiAndroid::Instance();

    int exitCode = 1;
    {
        ui::CMainDlg window;
        if (window.CreateMainWindow()) {
            ShowWindow(window.Handle(), SW_SHOWNORMAL);
            exitCode = Measure(window.Handle(), repaints);
            DestroyWindow(window.Handle());
        }
        win::Module().RemoveMessageLoop();
    }
    skin::DestroySkinResources();
    discovery::CFindWifiAndroid::Instance()->Stop(200);
    adb::CShellMgr::Instance()->Stop(200);
    Gdiplus::GdiplusShutdown(gdiplusToken);
    CoUninitialize();
    std::fflush(stdout);
    return exitCode;
}
