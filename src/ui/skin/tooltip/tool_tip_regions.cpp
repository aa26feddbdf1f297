#include "ui/skin/tooltip/tool_tip_regions.h"

#include <commctrl.h>

#include "ui/skin/host/som_wnd.h"

namespace skin {

namespace {

constexpr int kMaxTipWidth = 640;

TTTOOLINFOW ToolInfo(HWND owner, int id) {
    TTTOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the common controls
    info.hwnd = owner;
    info.uId = static_cast<UINT_PTR>(id);
    return info;
}

}  // namespace

int CSomToolTipAdpater::RegisterTip(CSomWnd* wnd, int code, const RECT* rect) {
    auto& ids = idsByControl_[wnd];
    if (ids.count(code)) return 0;
    int id = 1;
    while (regions_.count(id)) ++id;
    TipRegion region{wnd, code, rect == nullptr, rect ? *rect : RECT{}};
    regions_[id] = region;
    ids[code] = id;
    AddTool(id, region);
    return id;
}

void CSomToolTipAdpater::UnregisterTips(CSomWnd* wnd) {
    const auto found = idsByControl_.find(wnd);
    if (found == idsByControl_.end()) return;
    for (const auto& [code, id] : found->second) {
        DeleteTool(id);
        regions_.erase(id);
    }
    idsByControl_.erase(found);
}

void CSomToolTipAdpater::ForgetAllTips() {
    regions_.clear();
    idsByControl_.clear();
}

const TipRegion* CSomToolTipAdpater::FindTip(int id) const {
    const auto found = regions_.find(id);
    return found == regions_.end() ? nullptr : &found->second;
}

void CSomToolTipAdpater::AttachToolTip(HWND toolTip, HWND toolOwner) {
    toolTip_ = toolTip;
    toolOwner_ = toolOwner;
}

HWND CSomToolTipAdpater::AttachToolTipWindow(HWND host) {
    HWND toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, host, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
    if (!toolTip) return nullptr;
    // A text of several lines breaks at its line ends, and a long line wraps at this width.
    SendMessageW(toolTip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    AttachToolTip(toolTip, host);
    return toolTip;
}

void CSomToolTipAdpater::AddTool(int id, const TipRegion& region) const {
    if (!toolTip_) return;
    TTTOOLINFOW info = ToolInfo(toolOwner_, id);
    const RECT bounds = ToolArea(*region.wnd);
    info.rect = region.wholeControl ? RECT{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top}
                                    : region.rect;
    OffsetRect(&info.rect, bounds.left, bounds.top);
    // The tooltip watches the owner's mouse messages itself, so no host has to relay them.
    info.uFlags = TTF_SUBCLASS;
    info.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(toolTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

RECT CSomToolTipAdpater::ToolArea(const CSomWnd& wnd) const { return wnd.Bounds(); }

void CSomToolTipAdpater::DeleteTool(int id) const {
    if (!toolTip_) return;
    TTTOOLINFOW info = ToolInfo(toolOwner_, id);
    SendMessageW(toolTip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace skin
