#pragma once
// The device picker with its content: one row per other box found, drawn like the device panel
// (the box's name over its address), and, unless a batch is installing, a last row that searches
// for boxes again. Choosing a row posts WM_BOX_SELECTED to the main window with the box, or with
// kSearchAgainRow.
#include <windows.h>

#include <string>
#include <vector>

#include "base/box_address.h"
#include "ui/skin/dialog/menu_tip.h"

namespace ui {

// No box has this address (0.0.0.0 names no host). Not the broadcast address: the list draws rows
// whose data is -1 to -16 in looks of their own, and -1 as a plain light row, where the row's white
// text vanished.
constexpr base::BoxAddress kSearchAgainRow = 0;

class CDevicePicker : public skin::CMenuTip {
public:
    CDevicePicker();

    // Made on first use, owned by the main window; after a close the next use makes it anew.
    void CreatePicker(HWND owner);
    // Lists the boxes (rows rebuilt) and, when searchAgain, the search row after them, then shows
    // the picker with its top-left at (x, y).
    void ShowPicker(int x, int y, const std::vector<base::BoxAddress>& boxes, bool searchAgain);
    // Fills in the name of a listed box; a box without a row is ignored.
    void UpdateRow(base::BoxAddress box, const std::wstring& name);

private:
    void RebuildRows();

    std::vector<base::BoxAddress> addresses_;
    bool searchAgain_ = false;
};

}  // namespace ui
