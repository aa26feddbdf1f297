#include "ui/skin/wnd_geometry.h"

namespace skin {

bool ChangeWndRect(CSomWnd& wnd, const RECT& to, const std::function<void(const RECT&)>& invalidate) {
    const RECT old = wnd.Bounds();
    const bool moved = old.left != to.left || old.top != to.top;
    const bool sized = old.right - old.left != to.right - to.left || old.bottom - old.top != to.bottom - to.top;
    if (!moved && !sized) return false;
    const bool visible = wnd.IsVisible();
    if (visible) invalidate(old);
    wnd.SetBounds(to);
    if (moved) wnd.OnMove(to.left, to.top);
    if (sized) wnd.OnSize(to.right - to.left, to.bottom - to.top);
    if (visible) invalidate(wnd.Bounds());  // where the control ended up, should its hooks have moved it
    return true;
}

}  // namespace skin
