#pragma once
// The tooltip regions that the controls of one host register. Ids are kept whether or not a
// tooltip window is attached; with one attached, each region is also a tool of that window, whose
// text is asked for on demand (TTN_GETDISPINFOW). A host that wants its controls' tooltips to show
// (CSomWndTipImpl) attaches a real tooltip window once its own window exists, e.g. in WM_CREATE or
// WM_INITDIALOG; the tooltip window goes away with the host.
#include <windows.h>

#include <map>

namespace skin {

class CSomWnd;

struct TipRegion {
    CSomWnd* wnd = nullptr;
    int code = 0;
    bool wholeControl = true;
    RECT rect{};  // control coordinates, when not the whole control
};

class CSomToolTipAdpater {
public:
    virtual ~CSomToolTipAdpater() = default;
    // The new region's id (the smallest free positive number), or 0 if (wnd, code) exists.
    int RegisterTip(CSomWnd* wnd, int code, const RECT* rect);
    void UnregisterTips(CSomWnd* wnd);
    // Every region, without telling a tooltip window (it went with the host).
    void ForgetAllTips();
    const TipRegion* FindTip(int id) const;

    void AttachToolTip(HWND toolTip, HWND toolOwner);
    // Makes a platform tooltip window owned by host and attaches it; null when it could not be made.
    HWND AttachToolTipWindow(HWND host);
    HWND ToolTipWindow() const { return toolTip_; }

protected:
    // Where the control stands in the tool owner's client area (its bounds, unless the host
    // places its controls otherwise, as a list does in its rows).
    virtual RECT ToolArea(const CSomWnd& wnd) const;

private:
    void AddTool(int id, const TipRegion& region) const;
    void DeleteTool(int id) const;

    std::map<int, TipRegion> regions_;
    std::map<CSomWnd*, std::map<int, int>> idsByControl_;  // control -> code -> id
    HWND toolTip_ = nullptr;
    HWND toolOwner_ = nullptr;
};

}  // namespace skin
