// The manager's geometry changes and repaints: synchronous and local, one control at a time.
#include "ui/skin/control_host.h"
#include "ui/skin/paint_back_buffer.h"
#include "ui/skin/som_wnd_manager.h"
#include "ui/skin/wnd_geometry.h"

namespace skin {

void CSomWndManager::SetWndRect(CSomWnd* wnd, int x, int y, int cx, int cy) {
    const bool changed =
        ChangeWndRect(*wnd, {x, y, x + cx, y + cy}, [this](const RECT& area) { InvalidateHostArea(area); });
    if (changed && wnd->IsVisible() && immediate_ && host_) UpdateWindow(host_);
}

void CSomWndManager::SetWndSize(CSomWnd* wnd, int cx, int cy) {
    SetWndRect(wnd, wnd->Bounds().left, wnd->Bounds().top, cx, cy);
}

void CSomWndManager::SetWndPos(CSomWnd* wnd, int x, int y) {
    SetWndRect(wnd, x, y, wnd->Width(), wnd->Height());
}

void CSomWndManager::InvalidateHostArea(const RECT& area) {
    if (host_) InvalidateRect(host_, &area, FALSE);
}

void CSomWndManager::InvalidateWnd(CSomWnd* wnd, const RECT* rect, bool force, int part) {
    if (!redraw_ || !host_) return;
    const bool paintControl = wnd->IsVisible();
    const bool paintBackground = paintControl ? wnd->IsTransparent() : force;
    if (!paintControl && !paintBackground) return;
    RECT area = wnd->Bounds();
    if (rect) {
        RECT shifted = *rect;
        OffsetRect(&shifted, area.left, area.top);
        if (!IntersectRect(&area, &shifted, &wnd->Bounds())) return;
    }
    if (!immediate_) {
        // Painted by the next WM_PAINT, which draws everything the update region lets through.
        InvalidateHostArea(area);
        return;
    }
    HDC dc = GetDC(host_);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    PaintWnd(dc, wnd, paintControl, paintBackground, false, part);
    ReleaseDC(host_, dc);
}

void CSomWndManager::PaintBackground(HDC dc, const RECT* rect) { FillClassBackground(host_, dc, rect); }

void CSomWndManager::PaintWnds(HDC dc, const RECT& rect) {
    for (size_t i = 0; i < controls_.size(); ++i) {
        CSomWnd* wnd = controls_[i];
        RECT overlap{};
        if (wnd->IsVisible() && IntersectRect(&overlap, &wnd->Bounds(), &rect))
            PaintWnd(dc, wnd, true, wnd->IsTransparent(), true, 0);
    }
}

void CSomWndManager::PaintWnd(HDC dc, CSomWnd* wnd, bool paintControl, bool paintBackground,
                              bool excludeAfter, int part) {
    const RECT r = wnd->Bounds();
    HDC buffer = PaintBackBuffer::DC();
    const bool composed = paintControl && paintBackground && buffer && PaintBackBuffer::Fits(r);
    if (paintBackground) {
        // In the buffer, the control's top-left corner is (0, 0).
        if (composed) SetViewportOrgEx(buffer, -r.left, -r.top, nullptr);
        PaintBackground(composed ? buffer : dc, &r);
    }
    if (paintControl && composed) {
        SetViewportOrgEx(buffer, 0, 0, nullptr);
        wnd->Paint(buffer, -1, part);
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, buffer, 0, 0, SRCCOPY);
    } else if (paintControl) {
        POINT origin{};
        OffsetViewportOrgEx(dc, r.left, r.top, &origin);
        wnd->Paint(dc, -1, part);
        SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    }
    if (excludeAfter) ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
}

}  // namespace skin
