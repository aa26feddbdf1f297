#include "win/message_loop.h"

#include <algorithm>

namespace win {

namespace {

// The system's caret blink timer message (WM_SYSTIMER), which the headers do not name.
constexpr UINT kCaretBlinkTimer = 0x0118;

template <class T>
void Erase(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}
}  // namespace

void MessageLoop::AddMessageFilter(MessageFilter* filter) { filters_.push_back(filter); }
void MessageLoop::RemoveMessageFilter(MessageFilter* filter) { Erase(filters_, filter); }
void MessageLoop::AddIdleHandler(IdleHandler* handler) { idleHandlers_.push_back(handler); }
void MessageLoop::RemoveIdleHandler(IdleHandler* handler) { Erase(idleHandlers_, handler); }

int MessageLoop::Run() {
    bool idle = true;
    int idleCount = 0;
    MSG msg{};
    for (;;) {
        while (idle && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!RunIdleHandlers(idleCount++)) idle = false;
        }
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) continue;
        if (!got) break;
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (CountsAsActivity(msg)) {
            idle = true;
            idleCount = 0;
        }
    }
    return static_cast<int>(msg.wParam);
}

bool MessageLoop::PreTranslate(MSG& msg) {
    // Newest filter first: the window created last is the innermost one.
    for (auto it = filters_.rbegin(); it != filters_.rend(); ++it) {
        if ((*it)->PreTranslateMessage(msg)) return true;
    }
    return false;
}

bool MessageLoop::RunIdleHandlers(int idleCount) {
    bool more = false;
    for (IdleHandler* handler : std::vector<IdleHandler*>(idleHandlers_)) {
        if (handler->OnIdle(idleCount)) more = true;
    }
    return more;
}

bool MessageLoop::CountsAsActivity(const MSG& msg) {
    // Frequent housekeeping messages must not wake the idle handlers again and again.
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case WM_TIMER:
    case kCaretBlinkTimer:
        return false;
    default:
        return true;
    }
}

}  // namespace win
