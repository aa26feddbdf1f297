#pragma once
// The drop-down picker: a skinned dialog without close button or rounded outline that holds one
// skinned list filling it. It hides itself when it loses activation or a row is chosen; the
// choice reaches its owner as a posted WM_BOX_SELECTED with the chosen row's user data. The
// window that owns it fills the rows.
#include <windows.h>

#include "ui/skin/lf_dialog.h"
#include "ui/skin/lf_list_box.h"

namespace skin {

inline constexpr UINT WM_BOX_SELECTED = 0x1D85;

class CMenuTip : public CLFDialog {
public:
    static constexpr UINT kListId = 0x83;

    CLFListBox& List() { return boxList_; }
    // Sizes the window to one row picture wide and one row high per row, places its top-left
    // corner at (x, y) on the screen and shows it.
    void ShowAt(int x, int y);

    // Replaces the skinned dialog's handling: no close button, no region, no ending commands.
    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OnInitDialog();
    void OnRowClicked(int item);

    CLFListBox boxList_;
};

}  // namespace skin
