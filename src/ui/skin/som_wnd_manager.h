#pragma once
// Hosts windowless controls in one real window: keeps their list (registration order is z-order,
// first on top), routes the host's mouse, cursor, tooltip, timer and paint messages to them, owns
// capture and hover among them, moves and repaints them, and passes their notifications on.
//
// The host calls ProcessWindowMessage first for every message (WIN_CHAIN_MSG_MAP_MEMBER) and
// returns its result when it is handled. Hosts with a skinned background override PaintBackground.
#include <windows.h>

#include <vector>

#include "ui/skin/som_wnd.h"
#include "ui/skin/som_wnd_manager_interface.h"
#include "ui/skin/tool_tip_adapter.h"

namespace skin {

class CSomWndManager : public ISomWndManager, public CSomToolTipAdpater {
public:
    static constexpr UINT_PTR kTickTimer = 54321;
    static constexpr UINT kTickMilliseconds = 100;

    CSomWndManager() = default;
    virtual ~CSomWndManager() = default;
    CSomWndManager(const CSomWndManager&) = delete;
    CSomWndManager& operator=(const CSomWndManager&) = delete;

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    void AddWnd(CSomWnd* wnd) override;
    void RemoveWnd(CSomWnd* wnd) override;
    void SetCapture(CSomWnd* wnd) override;
    void ReleaseCapture(CSomWnd* wnd) override;
    LRESULT SendMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT Notify(CSomWnd* wnd, int code, int id) override;
    BOOL PostMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void SetWndRect(CSomWnd* wnd, int x, int y, int cx, int cy) override;
    void SetWndSize(CSomWnd* wnd, int cx, int cy) override;
    void SetWndPos(CSomWnd* wnd, int x, int y) override;
    void InvalidateWnd(CSomWnd* wnd, const RECT* rect, bool force, int part) override;
    int AddTip(CSomWnd* wnd, int code, const RECT* rect) override;
    void RemoveTips(CSomWnd* wnd) override;
    void SuspendImmediatePaint() override;
    void ResumeImmediatePaint() override;
    void PaintBackground(HDC dc, const RECT* rect) override;
    void PaintWnds(HDC dc, const RECT& rect) override;

    HWND Host() const { return host_; }

private:
    void OnHostDestroyed();
    void OnPaint(HDC dc);
    bool OnSetCursor(LRESULT& result);
    bool OnMouseMove(POINT point, LRESULT& result);
    bool OnButton(UINT msg, POINT point, LRESULT& result);
    bool OnCaptureChanged();
    void OnTick();
    bool OnNotify(const NMHDR* header);

    CSomWnd* HitTest(POINT point) const;
    void InvalidateHostArea(const RECT& area);
    // Paints one control over the host background, composed in the back buffer when both are
    // drawn and it fits; with excludeAfter the control's rectangle is clipped out of dc afterwards.
    void PaintWnd(HDC dc, CSomWnd* wnd, bool paintControl, bool paintBackground, bool excludeAfter,
                  int part);

    bool redraw_ = true;
    bool immediate_ = true;
    HWND host_ = nullptr;
    std::vector<CSomWnd*> controls_;
    CSomWnd* capture_ = nullptr;
    CSomWnd* hover_ = nullptr;
};

}  // namespace skin
