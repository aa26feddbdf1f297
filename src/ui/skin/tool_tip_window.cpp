#include "ui/skin/tool_tip_window.h"

#include <commctrl.h>

namespace skin {

HWND AttachToolTipWindow(CSomToolTipAdpater& regions, HWND host) {
    HWND toolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, host, nullptr, GetModuleHandleW(nullptr),
                                   nullptr);
    if (toolTip) regions.AttachToolTip(toolTip, host);
    return toolTip;
}

}  // namespace skin
