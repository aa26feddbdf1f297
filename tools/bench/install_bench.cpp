// Times one APK install through the command engine, staging copy included, from the Install call
// to its result. Usage: install_bench <client adb.exe> <box address> <apk>   prints "<seconds> <code>"
#include <windows.h>

#include <cstdio>
#include <string>

#include "adb/shell_mgr.h"
#include "win/window.h"

namespace {

class Sink : public win::WindowImpl<Sink> {
public:
    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(adb::WM_SHELL_RESULT, OnResult)
    WIN_END_MSG_MAP()
    int code = 0;

private:
    LRESULT OnResult(UINT, WPARAM wParam, LPARAM, bool&) {
        auto* result = reinterpret_cast<adb::ShellResult*>(wParam);
        if (result->code != adb::Started) {
            code = result->code;
            PostQuitMessage(0);
        }
        delete result;
        return 0;
    }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: install_bench <adb.exe> <box address> <apk>\n");
        return 2;
    }
    unsigned a = 0, b = 0, c = 0, d = 0;
    swscanf(argv[2], L"%u.%u.%u.%u", &a, &b, &c, &d);
    const adb::BoxAddress box = a | b << 8 | c << 16 | d << 24;

    Sink sink;
    const RECT none{0, 0, 0, 0};
    sink.Create(HWND_MESSAGE, none, nullptr, 0, 0);
    auto* engine = new adb::CShellMgr;
    if (!engine->Start()) return 1;
    engine->SetNotifyWindow(sink.Handle());
    engine->SetAdbPath(argv[1]);
    engine->Connect(box, false);  // the connection is not what is measured

    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    engine->Install(box, {{argv[3], 1}});
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    QueryPerformanceCounter(&end);
    std::printf("%.3f %d\n", static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart, sink.code);
    engine->Stop(5000);
    return 0;
}
