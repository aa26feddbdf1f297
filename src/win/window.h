#pragma once
// Windows whose messages go to a message table of the derived class.
//
//   class CFoo : public win::WindowImpl<CFoo> {
//       WIN_BEGIN_MSG_MAP()
//           WIN_CHAIN_MSG_MAP_MEMBER(controls_)
//           WIN_MESSAGE_HANDLER(WM_CREATE, OnCreate)
//           WIN_COMMAND_ID_HANDLER(IDOK, OnOk)
//       WIN_END_MSG_MAP()
//       LRESULT OnCreate(UINT, WPARAM, LPARAM, bool& handled);
//       LRESULT OnOk(WORD code, WORD id, HWND, bool& handled);
//   };
//
// A handler that clears `handled` lets the message go on down the table and, at the end, to the
// previous window procedure: DefWindowProc, the procedure of the system class a window class is
// based on (SuperclassName), or that of a window taken over with SubclassWindow.
//
// Whatever else takes a window's messages first (a host of windowless controls, a mix-in) writes
// its table the same way: as a MessageMap that the window chains (WIN_CHAIN_MSG_MAP_MEMBER), or as
// a named part of the window's own table (WIN_BEGIN_MSG_MAP_PART, WIN_CHAIN_MSG_MAP_PART).
#include <windows.h>

namespace win {

// A message table: true when it handled the message and result holds the answer.
class MessageMap {
public:
    virtual bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) = 0;

protected:
    ~MessageMap() = default;
};

class WindowBase : public MessageMap {
public:
    WindowBase() = default;
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND Handle() const { return hwnd_; }
    bool IsWindow() const { return hwnd_ && ::IsWindow(hwnd_); }
    // Takes over a window made elsewhere (a common control): its messages reach the table first.
    bool SubclassWindow(HWND hwnd);

    // Runs after the window's last message (WM_NCDESTROY); the handle is already cleared.
    virtual void OnFinalMessage(HWND) {}

protected:
    // The processing a message gets when the table does not handle it.
    LRESULT DefaultProcessing(UINT msg, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // With a base class (a system class name), the new class keeps its extra bytes, style and
    // cursor, and baseProc receives its procedure.
    static bool RegisterClassOnce(ATOM& atom, const wchar_t* name, UINT style, HBRUSH background, int icon,
                                  const wchar_t* baseClass, WNDPROC& baseProc);

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = ::DefWindowProcW;

private:
    LRESULT Dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
};

// Window class traits a derived class may hide: class name (null: one made up for the class),
// class style, background brush, the icon resource of its big and small icons (0: none), and the
// system class it is based on (null: none).
template <class T>
class WindowImpl : public WindowBase {
public:
    static const wchar_t* WindowClassName() { return nullptr; }
    static UINT WindowClassStyle() { return 0; }
    static HBRUSH WindowClassBackground() { return nullptr; }
    static int WindowClassIcon() { return 0; }
    static const wchar_t* SuperclassName() { return nullptr; }

    HWND Create(HWND parent, const RECT& rect, const wchar_t* title, DWORD style, DWORD exStyle,
                UINT_PTR idOrMenu = 0) {
        static ATOM atom = 0;
        static WNDPROC baseProc = ::DefWindowProcW;
        const wchar_t* name = T::WindowClassName();
        wchar_t made[32];
        if (!name) {
            wsprintfW(made, L"MivoraWnd%p", static_cast<void*>(&atom));
            name = made;
        }
        if (!RegisterClassOnce(atom, name, T::WindowClassStyle(), T::WindowClassBackground(), T::WindowClassIcon(),
                               T::SuperclassName(), baseProc))
            return nullptr;
        previousProc_ = baseProc;
        return CreateWindowExW(exStyle, reinterpret_cast<LPCWSTR>(static_cast<UINT_PTR>(atom)),
                               title, style, rect.left, rect.top, rect.right - rect.left,
                               rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(idOrMenu),
                               GetModuleHandleW(nullptr), static_cast<WindowBase*>(this));
    }
};

}  // namespace win

#define WIN_BEGIN_MSG_MAP() WIN_BEGIN_MSG_MAP_NAMED(ProcessWindowMessage, override)

// A part of a window's table that a mix-in class gives; the window chains it by name.
#define WIN_BEGIN_MSG_MAP_PART(name) WIN_BEGIN_MSG_MAP_NAMED(name, )

#define WIN_BEGIN_MSG_MAP_NAMED(name, virtualness)                                         \
    bool name(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) virtualness { \
        (void)hwnd, (void)wParam, (void)lParam;                                             \
        bool handled = true;

#define WIN_MESSAGE_HANDLER(message, handler)                 \
    if (msg == (message)) {                                   \
        handled = true;                                       \
        result = handler(msg, wParam, lParam, handled);       \
        if (handled) return true;                             \
    }

#define WIN_MESSAGE_RANGE_HANDLER(first, last, handler)       \
    if (msg >= (first) && msg <= (last)) {                    \
        handled = true;                                       \
        result = handler(msg, wParam, lParam, handled);       \
        if (handled) return true;                             \
    }

// Commands (notification code 0) from a control or a link.
#define WIN_COMMAND_ID_HANDLER(id, handler)                                        \
    if (msg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == 0) {      \
        handled = true;                                                            \
        result = handler(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), handled); \
        if (handled) return true;                                                  \
    }

#define WIN_COMMAND_RANGE_HANDLER(first, last, handler)                                              \
    if (msg == WM_COMMAND && LOWORD(wParam) >= (first) && LOWORD(wParam) <= (last) && HIWORD(wParam) == 0) { \
        handled = true;                                                                              \
        result = handler(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), handled);   \
        if (handled) return true;                                                                    \
    }

// WM_NOTIFY with one notification code, from any child.
#define WIN_NOTIFY_CODE_HANDLER(notifyCode, handler)                                                       \
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == static_cast<UINT>(notifyCode)) { \
        handled = true;                                                                              \
        result = handler(static_cast<int>(wParam), reinterpret_cast<NMHDR*>(lParam), handled);      \
        if (handled) return true;                                                                    \
    }

#define WIN_CHAIN_MSG_MAP_MEMBER(member) \
    if ((member).ProcessWindowMessage(hwnd, msg, wParam, lParam, result)) return true;

// The table of a base class, for a class that replaces some of its handlers.
#define WIN_CHAIN_MSG_MAP(base) \
    if (base::ProcessWindowMessage(hwnd, msg, wParam, lParam, result)) return true;

#define WIN_CHAIN_MSG_MAP_PART(name) \
    if (name(hwnd, msg, wParam, lParam, result)) return true;

#define WIN_END_MSG_MAP() \
    (void)handled;        \
    return false;         \
    }
