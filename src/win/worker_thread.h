#pragma once
// A worker with its own thread, hidden window and message loop. Work reaches it only as messages
// posted to the hidden window, so everything T does runs on its thread, one message at a time, in
// posting order. T supplies a message table (WIN_BEGIN_MSG_MAP), OnThreadInit() -> bool and
// OnThreadExit(); OnThreadExit may delete the object, so nothing here touches it afterwards.
#include <windows.h>
#include <objbase.h>

#include <atomic>
#include <new>

#include "win/window.h"

namespace win {

template <class T>
class CSomWorkerThread : public win::WindowImpl<T> {
public:
    CSomWorkerThread() = default;
    ~CSomWorkerThread() override {
        // Deleting itself from OnThreadExit must not wait for its own end.
        Stop(GetCurrentThreadId() == threadId_ ? 0 : INFINITE);
    }

    // Starts the thread and returns once its hidden window exists, so that work posted right after
    // Start is not lost. False when the thread or its window could not be made: a worker without a
    // window would take work and never do it.
    bool Start() {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        if (!ready) return false;
        ready_ = ready;
        DWORD id = 0;
        HANDLE thread = CreateThread(nullptr, 0, &CSomWorkerThread::ThreadRoutine, this, 0, &id);
        if (thread) {
            threadId_ = id;
            threadHandle_ = thread;
            HANDLE both[2] = {ready, thread};
            WaitForMultipleObjects(2, both, FALSE, INFINITE);
        }
        CloseHandle(ready);
        if (thread && !windowMade_) Stop(INFINITE);  // the thread is ending on its own
        return thread && windowMade_;
    }

    // Asks the thread to quit and waits at most timeoutMs for it. False when there was no thread;
    // otherwise whether closing its handle succeeded (it is closed whether or not the thread ended).
    bool Stop(DWORD timeoutMs) {
        // Take the handle first: the thread may delete this object while we wait.
        HANDLE thread = threadHandle_.exchange(nullptr);
        if (!thread) return false;
        const DWORD threadId = threadId_;
        if (WaitForSingleObject(thread, 0) == WAIT_TIMEOUT) {
            PostThreadMessageW(threadId, WM_QUIT, 0, 0);
            WaitForSingleObject(thread, timeoutMs);
        }
        return CloseHandle(thread) != FALSE;
    }

    DWORD ThreadId() const { return threadId_; }

    // Posts a message to the hidden window; false when the window does not exist.
    bool PostToWorker(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
        const HWND window = this->Handle();
        return window && PostMessageW(window, msg, wParam, lParam);
    }

protected:
    // The process's one worker of type T, created and started on first use. A worker the program
    // cannot do without ends the process with exitCode when it cannot start.
    static T* SingleInstance(int exitCode) {
        static T* const worker = [exitCode] {
            T* created = new (std::nothrow) T;
            if (!created || !created->Start()) ExitProcess(static_cast<UINT>(exitCode));
            return created;
        }();
        return worker;
    }

private:
    static DWORD WINAPI ThreadRoutine(LPVOID param) {
        auto* self = static_cast<T*>(param);
        const HANDLE ready = self->ready_;
        CoInitialize(nullptr);
        const RECT rect{CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT};
        // A message-only window: never on any screen, so the thread needs no display of its own
        // (under Wine that costs tens of milliseconds of start-up per worker), while messages
        // posted to it arrive as to any window.
        const HWND window = self->Create(HWND_MESSAGE, rect, nullptr, WS_POPUP | WS_DISABLED | WS_CLIPSIBLINGS, 0);
        self->windowMade_ = window != nullptr;
        SetEvent(ready);
        if (window && self->OnThreadInit()) {
            MSG msg;
            for (;;) {
                const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
                if (got == -1) continue;
                if (!got) break;
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            self->OnThreadExit();  // may delete self
        }
        if (window) DestroyWindow(window);
        CoUninitialize();
        return 0;
    }

    std::atomic<HANDLE> threadHandle_{nullptr};
    std::atomic<DWORD> threadId_{0};
    HANDLE ready_ = nullptr;
    std::atomic<bool> windowMade_{false};
};

}  // namespace win
