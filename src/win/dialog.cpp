#include "win/dialog.h"

namespace win {

INT_PTR DialogBase::DoModal(HWND owner, const DialogTemplate& dialog) { return RunModal(owner, dialog.Get()); }

INT_PTR DialogBase::DoModal(HWND owner, int resourceId) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(resourceId), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* dialog = loaded ? static_cast<const DLGTEMPLATE*>(LockResource(loaded)) : nullptr;
    return dialog ? RunModal(owner, dialog) : -1;
}

INT_PTR DialogBase::RunModal(HWND owner, const DLGTEMPLATE* dialog) {
    modal_ = true;
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog, owner, &DialogBase::DialogProc,
                                                   reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return result;
}

HWND DialogBase::Create(HWND owner, const DialogTemplate& dialog) {
    modal_ = false;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog.Get(), owner,
                                      &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

void DialogBase::EndDialog(INT_PTR result) {
    result_ = result;
    if (modal_)
        ::EndDialog(hwnd_, result);
    else
        DestroyWindow(hwnd_);
}

// Messages whose answer is the dialog procedure's return value rather than DWLP_MSGRESULT.
bool DialogBase::ReturnsResultDirectly(UINT msg) {
    switch (msg) {
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

INT_PTR CALLBACK DialogBase::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    // Messages before WM_INITDIALOG (font, creation) are left to the dialog manager.
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, lParam);
    }
    if (!self) return FALSE;
    LRESULT result = 0;
    const bool handled = self->ProcessWindowMessage(hwnd, msg, wParam, lParam, result);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnFinalMessage(hwnd);  // may delete self
        return FALSE;
    }
    if (!handled) return FALSE;
    if (ReturnsResultDirectly(msg)) return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace win
