#pragma once
// Dialogs whose messages go to a message table of the derived class (see window.h), made from a
// template in memory (modal or modeless) or from a dialog resource of the program (modal). A table
// entry that handles a message gives the dialog manager its result; unhandled messages get the
// dialog manager's default processing.
#include <windows.h>

#include "win/dialog_template.h"
#include "win/window.h"

namespace win {

class DialogBase : public WindowBase {
public:
    // Runs the dialog until EndDialog and returns its result; -1 when it could not be made.
    INT_PTR DoModal(HWND owner, const DialogTemplate& dialog);
    INT_PTR DoModal(HWND owner, int resourceId);
    // A modeless dialog, visible only when the template says so.
    HWND Create(HWND owner, const DialogTemplate& dialog);
    // Ends a modal dialog with result; a modeless one is destroyed.
    void EndDialog(INT_PTR result);
    // What EndDialog was given last.
    INT_PTR Result() const { return result_; }

private:
    INT_PTR RunModal(HWND owner, const DLGTEMPLATE* dialog);
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static bool ReturnsResultDirectly(UINT msg);

    bool modal_ = false;
    INT_PTR result_ = 0;
};

}  // namespace win
