#pragma once
// The skinned question before an uninstall: it names the app (or counts the apps) and ends with
// IDOK on "卸载", IDCANCEL on "取消" or its close button.
#include <windows.h>

#include <string>

#include "ui/skin/dialog/lf_dialog.h"
#include "ui/skin/text/plain_text_wnd.h"
#include "ui/skin/text/som_text_wnd.h"

namespace ui {

class CUninstallConfirm : public skin::CLFDialog {
public:
    static constexpr SIZE kSize{380, 170};

    // name: the app's name, shown as plain text; empty when several are asked about.
    CUninstallConfirm(std::wstring name, size_t count) : name_(std::move(name)), count_(count) {}

    bool ProcessWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void Build(HWND dialog);

    std::wstring name_;
    size_t count_;
    skin::CSomTextWnd question_;
    skin::CPlainTextWnd name_text_;
    skin::CSomTextWnd buttons_;
};

}  // namespace ui
