#include "ui/skin/host/som_wnd.h"

namespace skin {

CSomWnd::~CSomWnd() {
    if (!manager_) return;
    manager_->RemoveTips(this);
    manager_->RemoveWnd(this);
}

void CSomWnd::Create(ISomWndManager* manager, void* ownerItem, int column, int x, int y, int cx,
                     int cy, int id, uint32_t flags) {
    manager_ = manager;
    ownerItem_ = ownerItem;
    column_ = column;
    bounds_ = {x, y, x + cx, y + cy};
    id_ = id;
    flags_ = flags;
    manager_->AddWnd(this);
    OnCreate();
    OnMove(x, y);
    OnSize(cx, cy);
}

bool CSomWnd::SetVisible(bool show) {
    const bool was = IsVisible();
    if (was == show) return was;
    flags_ = show ? (flags_ | kSomVisible) : (flags_ & ~kSomVisible);
    if (manager_) manager_->InvalidateWnd(this, nullptr, true, 0);
    return was;
}

void CSomWnd::SetWndSize(int cx, int cy) {
    if (manager_) manager_->SetWndSize(this, cx, cy);
}

void CSomWnd::SetWndPos(int x, int y) {
    if (manager_) manager_->SetWndPos(this, x, y);
}

void CSomWnd::Invalidate(const RECT* rect, int part) {
    if (manager_) manager_->InvalidateWnd(this, rect, false, part);
}

void CSomWnd::Detach() {
    flags_ = 0;
    id_ = 0;
    bounds_ = {};
    manager_ = nullptr;
    ownerItem_ = nullptr;
    column_ = 0;
}

}  // namespace skin
