#pragma once
// A real tooltip for a host's windowless controls: a platform tooltip window owned by the host and
// attached to the host's tooltip regions, so that a control with a tooltip text (CSomWndTipImpl)
// shows it when the pointer rests on it. The host calls this once its window exists, e.g. in
// WM_CREATE or WM_INITDIALOG; the tooltip window goes away with the host.
#include <windows.h>

#include "ui/skin/tool_tip_adapter.h"

namespace skin {

// The tooltip window, or null when it could not be made.
HWND AttachToolTipWindow(CSomToolTipAdpater& regions, HWND host);

}  // namespace skin
