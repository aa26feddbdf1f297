#pragma once
// A control's move or resize as every manager does it.
#include <windows.h>

#include <functional>

#include "ui/skin/som_wnd.h"

namespace skin {

// Nothing happens when the rectangle is the control's already. Otherwise, while the control is
// visible, invalidate gets its old area; then the bounds change, OnMove and OnSize follow as the
// position and size changed, and (still while visible) invalidate gets the new area. Returns
// whether anything changed.
bool ChangeWndRect(CSomWnd& wnd, const RECT& to, const std::function<void(const RECT&)>& invalidate);

}  // namespace skin
