#pragma once
// The tooltip regions that the controls of one host register. Ids are kept whether or not a
// tooltip window is attached; with one attached, each region is also a tool of that window, whose
// text is asked for on demand (TTN_GETDISPINFOW).
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
    // The new region's id (the smallest free positive number), or 0 if (wnd, code) exists.
    int RegisterTip(CSomWnd* wnd, int code, const RECT* rect);
    void UnregisterTips(CSomWnd* wnd);
    const TipRegion* FindTip(int id) const;

    void AttachToolTip(HWND toolTip, HWND toolOwner);
    HWND ToolTipWindow() const { return toolTip_; }

private:
    void AddTool(int id, const TipRegion& region) const;
    void DeleteTool(int id) const;

    std::map<int, TipRegion> regions_;
    std::map<CSomWnd*, std::map<int, int>> idsByControl_;  // control -> code -> id
    HWND toolTip_ = nullptr;
    HWND toolOwner_ = nullptr;
};

}  // namespace skin
