#pragma once
// What the engine benchmarks share: a box from its dotted text, an engine that runs a given client
// and posts its results to a window, a message loop that runs until a result ends it, and a
// stopwatch.
#include <windows.h>

#include <cwchar>

#include "adb/shell_mgr.h"

namespace bench {

inline adb::BoxAddress ParseBox(const wchar_t* dotted) {
    unsigned a = 0, b = 0, c = 0, d = 0;
    swscanf(dotted, L"%u.%u.%u.%u", &a, &b, &c, &d);
    return a | b << 8 | c << 16 | d << 24;
}

// Makes results a message-only window and starts an engine that posts its results there; null
// when the engine's thread cannot start. The engine releases itself once stopped.
template <class Window>
adb::CShellMgr* StartEngine(Window& results, const wchar_t* client) {
    const RECT none{0, 0, 0, 0};
    results.Create(HWND_MESSAGE, none, nullptr, 0, 0);
    auto* engine = new adb::CShellMgr;
    if (!engine->Start()) return nullptr;
    engine->SetNotifyWindow(results.Handle());
    engine->SetAdbPath(client);
    return engine;
}

// Until a result handler posts the quit request.
inline void RunUntilQuit() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
}

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double Seconds() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_, start_;
};

}  // namespace bench
