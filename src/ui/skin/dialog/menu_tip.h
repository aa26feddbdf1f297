#pragma once
// The drop-down picker: a skinned dialog frame (no close button, no rounded outline) that holds one
// skinned list filling it. It hides itself when a row is chosen or the user turns elsewhere: a click
// in its owner, another window or program activated. The choice reaches its owner as a posted
// message, the one the picker was made with, whose wParam is the chosen row's user data. The window
// that owns it fills the rows and chains WatchOwner first in its own table.
#include <windows.h>

#include "ui/skin/dialog/som_dialog.h"
#include "ui/skin/list/lf_list_box.h"
#include "win/reflection.h"

namespace skin {

class CMenuTip : public CSomDialogFrame {
public:
    static constexpr UINT kListId = 0x83;

    explicit CMenuTip(UINT choiceMessage);

    CLFListBox& List() { return boxList_; }
    // Sizes the window to one row picture wide and one row high per row, places its top-left
    // corner at (x, y) on the screen and shows it.
    void ShowAt(int x, int y);
    void Hide();

    // The owner's messages: a click anywhere in the owner, or the owner losing the activation to a
    // window other than the picker, closes the picker. Handles nothing for the owner.
    WIN_BEGIN_MSG_MAP_PART(WatchOwner)
        WIN_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnOwnerClick)
        WIN_MESSAGE_HANDLER(WM_RBUTTONDOWN, OnOwnerClick)
        WIN_MESSAGE_HANDLER(WM_NCLBUTTONDOWN, OnOwnerClick)
        WIN_MESSAGE_HANDLER(WM_ACTIVATE, OnOwnerActivate)
        WIN_MESSAGE_HANDLER(WM_ACTIVATEAPP, OnOwnerActivateApp)
    WIN_END_MSG_MAP()

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP(CSomDialogFrame)
        WIN_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WIN_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WIN_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WIN_MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
        WIN_MESSAGE_HANDLER(WM_CLOSE, OnClose)
        WIN_NOTIFY_CODE_HANDLER(kListRowClicked, OnRowClicked)
        WIN_REFLECT_NOTIFICATIONS()
    WIN_END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool&) { return 0; }
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnActivate(UINT, WPARAM wParam, LPARAM lParam, bool&);
    LRESULT OnOwnerClick(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnOwnerActivate(UINT, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnOwnerActivateApp(UINT, WPARAM wParam, LPARAM, bool& handled);
    LRESULT OnClose(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnRowClicked(int, NMHDR* header, bool& handled);

    UINT choiceMessage_;
    CLFListBox boxList_;
};

}  // namespace skin
