#include "controls_shots.h"

#include "snapshot.h"

namespace gallery {

namespace {

// Handles this thread's messages for a while.
void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < milliseconds) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// The pointer arrives next to the point and then moves onto it, as a hand moves it: the window
// under it sees it enter and move.
void RestPointerOn(POINT point) {
    SetCursorPos(point.x - 2, point.y - 2);
    PumpFor(100);
    SetCursorPos(point.x, point.y);
    PumpFor(300);
}

// The test programs move the same pointer on the same display: they hold this lock meanwhile.
class ScreenLock {
public:
    ScreenLock() : mutex_(CreateMutexW(nullptr, FALSE, L"MivoraTestScreen")) { WaitForSingleObject(mutex_, INFINITE); }
    ~ScreenLock() {
        ReleaseMutex(mutex_);
        CloseHandle(mutex_);
    }
    ScreenLock(const ScreenLock&) = delete;
    ScreenLock& operator=(const ScreenLock&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace

bool SaveControlsShots(GalleryWindow& window, const std::wstring& pngPath) {
    const ScreenLock lock;
    // Still pictures: each animation keeps the frame that the manifest gives it.
    KillTimer(window.Handle(), skin::CSomWndManager::kTickTimer);
    ShowWindow(window.Handle(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.Handle());
    window.OpenPopups();
    RestPointerOn(window.ListHoverPoint());
    RECT area{};
    GetWindowRect(window.Handle(), &area);
    if (!SaveScreenAsPng(area, pngPath)) return false;

    RestPointerOn(window.TooltipPoint());
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(window.ToolTip()) && GetTickCount() - start < 5000) PumpFor(50);
    if (!IsWindowVisible(window.ToolTip())) return false;
    PumpFor(200);
    window.NoteToolTip();
    const std::wstring tooltipPath = pngPath.substr(0, pngPath.size() - 4) + L"-tooltip.png";
    return SaveScreenAsPng(area, tooltipPath);
}

}  // namespace gallery
