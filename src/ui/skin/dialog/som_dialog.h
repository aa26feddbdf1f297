#pragma once
// The toolkit's frameless dialogs, made from a template in memory. CSomDialogFrame is what every
// one of them is: a dialog whose windowless controls live in its own manager, drawn on a background
// picture stretched over it, and dragged by a press on any spot that no control takes.
// CSomDialog adds a rounded outline and a close button in its top-right corner; a command from 1 to
// 11 (IDOK ... IDCLOSE + 3) ends it with that result, the close button's being IDCANCEL.
#include <windows.h>

#include "ui/skin/button/som_button3.h"
#include "ui/skin/host/som_wnd_manager.h"
#include "ui/skin/picture/som_bitmap.h"
#include "win/dialog.h"

namespace skin {

class CSomDialogFrame : public win::DialogBase {
public:
    // 187 x 98 dialog units of "MS Shell Dlg" 8 pt; the host sizes and places the dialog in
    // WM_INITDIALOG.
    static constexpr RECT kTemplateUnits{0, 0, 187, 98};

    // The background is not owned; without one the dialog class's brush shows.
    explicit CSomDialogFrame(CSomBitmap* background) { controls_.SetBackdrop(background); }

    INT_PTR DoModal(HWND owner) { return DialogBase::DoModal(owner, Template()); }
    // Modeless, hidden until shown.
    HWND Create(HWND owner) { return DialogBase::Create(owner, Template()); }

    // The host of the dialog's windowless controls.
    CSomWndManager& Controls() { return controls_; }

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP_MEMBER(controls_)
        WIN_MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    WIN_END_MSG_MAP()

protected:
    win::DialogTemplate Template() const;

    DWORD style_ = WS_POPUP;
    DWORD exStyle_ = 0;

private:
    LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, bool&);

    CSomWndManager controls_;
};

class CSomDialog : public CSomDialogFrame {
public:
    static constexpr int kLastEndingCommand = 11;

    // Neither picture is owned.
    CSomDialog(CSomBitmap* background, CSomBitmap* closeFace) : CSomDialogFrame(background), closeFace_(closeFace) {}

    CSomButton3& CloseButton() { return closeButton_; }
    // The rounded outline for a client area of cx x cy.
    virtual void SetDialogRegion(int cx, int cy);

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP(CSomDialogFrame)
        WIN_MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        WIN_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WIN_COMMAND_RANGE_HANDLER(1, kLastEndingCommand, OnEndingCommand)
    WIN_END_MSG_MAP()

private:
    // Both leave the message to the host's own handlers too.
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, bool& handled);
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, bool& handled);
    LRESULT OnEndingCommand(WORD, WORD id, HWND, bool&);

    CSomButton3 closeButton_;
    CSomBitmap* closeFace_;
};

}  // namespace skin
