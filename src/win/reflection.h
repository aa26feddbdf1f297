#pragma once
// Notifications that a child window sends its parent, sent back to the child as message number
// + kReflectedBase, so that an owner-drawn list or a skinned header handles its own drawing and
// notifications whatever window it sits in.
//
//   WIN_BEGIN_MSG_MAP()
//       ...
//       WIN_REFLECT_NOTIFICATIONS()
//   WIN_END_MSG_MAP()
#include <windows.h>

namespace win {

inline constexpr UINT kReflectedBase = 0x2000;

// True when msg came from a child of parent and was sent back to it; result is its answer.
bool ReflectNotification(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

}  // namespace win

#define WIN_REFLECT_NOTIFICATIONS() \
    if (win::ReflectNotification(hwnd, msg, wParam, lParam, result)) return true;
