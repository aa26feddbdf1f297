#include "win/window.h"

namespace win {

WindowBase::~WindowBase() {
    // The object may die before its window (a failed start-up): detach so no message reaches it.
    if (!hwnd_ || !::IsWindow(hwnd_)) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    // A window based on or taken over from a system class goes on working as that class does.
    if (previousProc_ != ::DefWindowProcW)
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
}

bool WindowBase::SubclassWindow(HWND hwnd) {
    if (hwnd_ || !::IsWindow(hwnd)) return false;
    hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    previousProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowBase::WindowProc)));
    return true;
}

LRESULT WindowBase::DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcW(previousProc_, hwnd_, msg, wParam, lParam);
}

bool WindowBase::RegisterClassOnce(ATOM& atom, const wchar_t* name, UINT style, HBRUSH background, int icon,
                                   const wchar_t* baseClass, WNDPROC& baseProc) {
    if (atom) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (baseClass) {
        if (!GetClassInfoExW(nullptr, baseClass, &wc)) return false;
        baseProc = wc.lpfnWndProc;
    } else {
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    }
    wc.style |= style;
    wc.lpfnWndProc = &WindowBase::WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    if (background) wc.hbrBackground = background;
    if (icon) {
        // Shared icons belong to the module: nothing to free.
        const auto load = [&wc, icon](int width, int height) {
            return static_cast<HICON>(LoadImageW(wc.hInstance, MAKEINTRESOURCEW(icon), IMAGE_ICON,
                                                 GetSystemMetrics(width), GetSystemMetrics(height), LR_SHARED));
        };
        wc.hIcon = load(SM_CXICON, SM_CYICON);
        wc.hIconSm = load(SM_CXSMICON, SM_CYSMICON);
    }
    wc.lpszClassName = name;
    atom = RegisterClassExW(&wc);
    return atom != 0;
}

LRESULT CALLBACK WindowBase::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->hwnd_ = hwnd;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    if (!self) return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    return self->Dispatch(msg, wParam, lParam);
}

LRESULT WindowBase::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = hwnd_;
    LRESULT result = 0;
    if (!ProcessWindowMessage(hwnd, msg, wParam, lParam, result))
        result = CallWindowProcW(previousProc_, hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        OnFinalMessage(hwnd);  // may delete this
    }
    return result;
}

}  // namespace win
