#include "ui/skin/host/som_wnd_manager.h"

#include <algorithm>

namespace skin {

namespace {

RECT LayerArea(const BackdropLayer& layer) {
    return {layer.at.x, layer.at.y, layer.at.x + layer.picture->GetFrameWidth(),
            layer.at.y + layer.picture->GetFrameHeight()};
}

bool SameLayer(const BackdropLayer& a, const BackdropLayer& b) {
    return a.picture == b.picture && a.frame == b.frame && a.at.x == b.at.x && a.at.y == b.at.y;
}

bool Overlaps(const RECT& a, const RECT& b) {
    RECT overlap{};
    return IntersectRect(&overlap, &a, &b) != FALSE;
}

// The places of the layers of `from` that `to` does not have.
void AddGoneLayers(const std::vector<BackdropLayer>& from, const std::vector<BackdropLayer>& to, std::vector<RECT>& areas) {
    for (const BackdropLayer& layer : from) {
        if (std::none_of(to.begin(), to.end(), [&](const BackdropLayer& other) { return SameLayer(layer, other); }))
            areas.push_back(LayerArea(layer));
    }
}

}  // namespace

void CSomWndManager::AddWnd(CSomWnd* wnd) { controls_.push_back(wnd); }

void CSomWndManager::UnlistWnd(CSomWnd& wnd) { std::erase(controls_, &wnd); }

void CSomWndManager::ForEachWnd(const std::function<void(CSomWnd&)>& visit) {
    // By index: a control may leave the list while it is visited.
    for (size_t i = 0; i < controls_.size(); ++i) visit(*controls_[i]);
}

void CSomWndManager::DetachWnds() {
    for (size_t i = 0; i < controls_.size(); ++i) {
        CSomWnd* wnd = controls_[i];
        wnd->OnDestroy();
        UnregisterTips(wnd);
        wnd->Detach();
    }
    controls_.clear();
}

bool CSomWndManager::WndOrigin(const CSomWnd&, POINT& origin) const {
    origin = {0, 0};
    return true;
}

CSomWnd* CSomWndManager::WndAt(POINT point) const {
    for (CSomWnd* wnd : controls_) {
        if (wnd->IsVisible() && wnd->IsEnabled() && PtInRect(&wnd->Bounds(), point)) return wnd;
    }
    return nullptr;
}

void CSomWndManager::SetBackdropLayers(std::vector<BackdropLayer> layers) {
    std::vector<RECT> changed;
    AddGoneLayers(layers_, layers, changed);
    AddGoneLayers(layers, layers_, changed);
    layers_ = std::move(layers);
    if (!Paints() || changed.empty()) return;
    for (const RECT& area : changed) InvalidateRect(Host(), &area, FALSE);
    UpdateWindow(Host());
}

void CSomWndManager::PaintBackground(HDC dc, const RECT* rect) {
    if (!backdrop_) {
        FillClassBackground(Host(), dc, rect);
        return;
    }
    RECT area{};
    if (rect)
        area = *rect;
    else
        GetClipBox(dc, &area);
    RECT client{};
    GetClientRect(Host(), &client);
    // The pictures draw only what shows in area.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    backdrop_->Draw(dc, 0, 0, client.right, client.bottom, 0);
    for (const BackdropLayer& layer : layers_) {
        if (Overlaps(LayerArea(layer), area)) layer.picture->DrawFrame(dc, layer.at.x, layer.at.y, layer.frame);
    }
    RestoreDC(dc, saved);
}

// The controls first, each clipped out once painted (so one registered earlier is never overdrawn
// by a later one), then the backdrop only where no control lies.
void CSomWndManager::PaintArea(HDC dc, const RECT& area) {
    PaintWnds(dc, area);
    PaintBackground(dc, &area);
}

void CSomWndManager::PaintWnds(HDC dc, const RECT& rect) {
    for (size_t i = 0; i < controls_.size(); ++i) {
        CSomWnd& wnd = *controls_[i];
        if (!wnd.IsVisible() || !Overlaps(wnd.Bounds(), rect)) continue;
        PaintWnd(dc, wnd, wnd.IsTransparent(), 0);
        const RECT& r = wnd.Bounds();
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

void CSomWndManager::RepaintNow(HDC dc, CSomWnd& wnd, const RECT& area, int part) {
    // Where a control went away, or where one above it overlaps it, whatever lies there is painted
    // again as WM_PAINT would, so that no other control is overdrawn by a background.
    if (!wnd.IsVisible() || Overlapped(wnd, area)) {
        PaintArea(dc, area);
        return;
    }
    PaintWnd(dc, wnd, wnd.IsTransparent(), part);
}

bool CSomWndManager::Overlapped(const CSomWnd& wnd, const RECT& area) const {
    for (const CSomWnd* above : controls_) {
        if (above == &wnd) return false;
        if (above->IsVisible() && Overlaps(above->Bounds(), area)) return true;
    }
    return false;
}

void CSomWndManager::PaintWnd(HDC dc, CSomWnd& wnd, bool paintBackground, int part) {
    const RECT r = wnd.Bounds();
    PaintOver(dc, wnd, r, -1, part, wnd.IsVisible(), paintBackground,
              [this, &r](HDC target) { PaintBackground(target, &r); });
}

}  // namespace skin
