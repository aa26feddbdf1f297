#pragma once
// The toolkit's frameless dialog: made from a template in memory, outlined by a rounded region,
// drawn on a background picture, closed by a button in its top-right corner, and dragged by a
// press on any spot that no control takes. Its windowless controls live in its own manager.
// A command from 1 to 11 (IDOK ... IDCLOSE + 3) ends the dialog with that result; the close
// button's is IDCANCEL.
#include <windows.h>

#include "ui/skin/som_bitmap.h"
#include "ui/skin/som_button3.h"
#include "ui/skin/som_wnd_manager.h"
#include "win/dialog.h"

namespace skin {

class CSomDialog : public win::DialogBase, public CSomWndManager {
public:
    // 187 x 98 dialog units of "MS Shell Dlg" 8 pt; the host sizes and places the dialog in
    // WM_INITDIALOG.
    static constexpr RECT kTemplateUnits{0, 0, 187, 98};
    static constexpr int kLastEndingCommand = 11;

    // Neither picture is owned; without a background the manager's class brush shows.
    CSomDialog(CSomBitmap* background, CSomBitmap* closeFace) : background_(background), closeFace_(closeFace) {}

    INT_PTR DoModal(HWND owner) { return DialogBase::DoModal(owner, Template()); }
    // Modeless, hidden until shown.
    HWND Create(HWND owner) { return DialogBase::Create(owner, Template()); }

    CSomButton3& CloseButton() { return closeButton_; }
    // The rounded outline for a client area of cx x cy.
    virtual void SetDialogRegion(int cx, int cy);
    void PaintBackground(HDC dc, const RECT* rect) override;

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

protected:
    win::DialogTemplate Template() const;

    DWORD style_ = WS_POPUP;
    DWORD exStyle_ = 0;

private:
    void OnInitDialog();
    void OnSize(WPARAM kind, int cx, int cy);

    CSomButton3 closeButton_;
    CSomBitmap* background_;
    CSomBitmap* closeFace_;
};

}  // namespace skin
