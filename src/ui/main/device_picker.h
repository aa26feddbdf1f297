#pragma once
// The device picker with its content: one row per other box found, drawn like the device panel
// (the box's name over its address). Choosing a row makes that box current (the picker posts
// WM_BOX_SELECTED to the main window).
#include <windows.h>

#include <string>
#include <vector>

#include "base/box_address.h"
#include "ui/skin/dialog/menu_tip.h"

namespace ui {

class CDevicePicker : public skin::CMenuTip {
public:
    CDevicePicker();

    // Made on first use, owned by the main window; after a close the next use makes it anew.
    void CreatePicker(HWND owner);
    // Lists the boxes (rows rebuilt), then shows the picker with its top-left at (x, y).
    void ShowPicker(int x, int y, const std::vector<base::BoxAddress>& boxes);
    // Fills in the name of a listed box; a box without a row is ignored.
    void UpdateRow(base::BoxAddress box, const std::wstring& name);

private:
    void RebuildRows();

    std::vector<base::BoxAddress> addresses_;
};

}  // namespace ui
