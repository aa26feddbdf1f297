#include "ui/main/main_dlg.h"

#include <memory>

#include "adb/shell_mgr.h"
#include "ui/main/page_texts.h"

namespace ui {

void CMainDlg::SetPageState(PageState state) {
    pageState_ = state;
    ApplyDeviceArea(state);
    if (!FirstTabSelected()) return;
    ApplyPage(state);
    RedrawDropArea();
}

void CMainDlg::ApplyDeviceArea(PageState state) {
    const bool noBoxReady = state <= Identifying;
    searchAnimation_.SetVisible(state == Searching || state == Identifying);
    noBoxPicture_.SetVisible(state == NoBox);
    statusTitle_.SetVisible(noBoxReady);
    if (noBoxReady) {
        statusTitle_.SetText(texts::StatusTitle(state).c_str());
        statusTitle_.SetWndPos(60, state == Identifying ? 40 : 48);
    }
    statusAddress_.SetVisible(state == Identifying);
    if (state == Identifying) statusAddress_.SetWndPos(60, 65);
    devicePanel_.SetVisible(!noBoxReady);

    const bool acceptsFiles = state == Ready || state == Done;
    const LONG_PTR exStyle = GetWindowLongPtrW(hwnd_, GWL_EXSTYLE);
    SetWindowLongPtrW(hwnd_, GWL_EXSTYLE, acceptsFiles ? exStyle | WS_EX_ACCEPTFILES : exStyle & ~WS_EX_ACCEPTFILES);
}

void CMainDlg::HidePageControls() {
    for (skin::CSomWnd* control : std::initializer_list<skin::CSomWnd*>{
             &waitPicture_, &readyPicture_, &installAnimation_, &donePicture_, &installText_, &dropHint_,
             &resultLine1_, &resultLine2_, &resultLine3_})
        control->SetVisible(false);
}

void CMainDlg::ApplyPage(PageState state) {
    HidePageControls();
    // The construction notice belongs to the other tabs: on the install tab it never shows.
    constructionText_.SetVisible(false);

    const auto showText = [this](skin::CSomTextWnd& text, const std::wstring& markup, int y) {
        text.SetText(markup.c_str());
        PlaceCentred(text, y);
        text.SetVisible(true);
    };

    switch (state) {
    case NoBox:
        waitPicture_.SetVisible(true);
        showText(resultLine3_, texts::SearchAgainLink(), 160);
        showText(dropHint_, texts::DropHintWaiting(), 360);
        break;
    case Searching:
    case Identifying:
        waitPicture_.SetVisible(true);
        showText(dropHint_, texts::DropHintWaiting(), 360);
        break;
    case Ready:
        readyPicture_.SetVisible(true);
        showText(dropHint_, texts::DropHintReady(boxes_.DisplayName(boxes_.Current())), 360);
        break;
    case Installing:
        installAnimation_.SetVisible(true);
        showText(installText_, texts::Installing(queue_.ApkName(queue_.InstallingId())), 360);
        break;
    case Done: {
        const texts::ResultLines lines = texts::Results(queue_.Total(), queue_.Failed());
        donePicture_.SetVisible(lines.showDonePicture);
        skin::CSomTextWnd* controls[] = {&resultLine1_, &resultLine2_, &resultLine3_};
        const std::wstring* markups[] = {&lines.line1, &lines.line2, &lines.line3};
        const int ys[] = {lines.y1, lines.y2, lines.y3};
        for (int i = 0; i < 3; ++i)
            if (ys[i] >= 0) showText(*controls[i], *markups[i], ys[i]);
        if (lines.alignToFirst) {
            for (skin::CSomTextWnd* line : {&resultLine2_, &resultLine3_})
                line->SetWndPos(resultLine1_.Bounds().left, line->Bounds().top);
        }
        break;
    }
    }
}

void CMainDlg::ShowCurrentBox() {
    const adb::BoxAddress current = boxes_.Current();
    devicePanel_.SetTitle(boxes_.DisplayName(current));
    devicePanel_.SetSubtitle(adb::BoxText(current));
    devicePanel_.Invalidate();
}

void CMainDlg::SearchAgain() {
    boxes_.Reset();
    // A new search starts clean: the badge comes back only when a second box is found again.
    devicePanel_.SetBadge(0);
    discovery::CFindWifiAndroid::Instance()->StartScan(hwnd_);
    SetPageState(Searching);
    // Without this the page would wait in the searching state for good when no box answers.
    SetTimer(hwnd_, kSearchTimer, kSearchMilliseconds, nullptr);
}

LRESULT CMainDlg::OnScanResult(UINT, WPARAM wParam, LPARAM, bool&) {
    const auto box = static_cast<adb::BoxAddress>(wParam);
    if (box == 0) return 0;  // the end of a scan tells nothing the page needs
    adb::CShellMgr::Instance()->Connect(box, true);
    if (pageState_ == Searching) {
        statusAddress_.SetText(texts::StatusAddress(adb::BoxText(box)).c_str());
        SetPageState(Identifying);
    }
    return 0;
}

LRESULT CMainDlg::OnShellResult(UINT, WPARAM wParam, LPARAM, bool&) {
    const std::unique_ptr<adb::ShellResult> result(reinterpret_cast<adb::ShellResult*>(wParam));
    if (!result) return 0;
    switch (result->kind) {
    case adb::ShellTaskKind::Connect: OnConnectResult(result->ip, result->code); break;
    case adb::ShellTaskKind::QueryModel: OnModelResult(result->ip, result->name); break;
    case adb::ShellTaskKind::Install: OnInstallResult(result->cookie, result->code); break;
    default: break;
    }
    return 0;
}

void CMainDlg::OnConnectResult(adb::BoxAddress box, int32_t code) {
    if (code == adb::NotConnected) return;
    adb::CShellMgr::Instance()->QueryModel(box, /*justConnected=*/true);
    if (boxes_.AddConnected(box)) devicePanel_.SetBadge(1);
}

void CMainDlg::OnModelResult(adb::BoxAddress box, const std::wstring& name) {
    if (name.empty()) return;
    boxes_.SetName(box, name);
    if (box == boxes_.Current()) {
        KillTimer(hwnd_, kSearchTimer);
        ShowCurrentBox();
        SetPageState(Ready);
    } else {
        picker_.UpdateRow(box, boxes_.DisplayName(box));
    }
}

LRESULT CMainDlg::OnTimer(UINT, WPARAM wParam, LPARAM, bool& handled) {
    if (wParam != kSearchTimer) {
        handled = false;
        return 0;
    }
    KillTimer(hwnd_, kSearchTimer);
    if (!boxes_.HasCurrent()) {
        SetPageState(NoBox);
    } else {
        ShowCurrentBox();
        SetPageState(Ready);
    }
    return 0;
}

LRESULT CMainDlg::OnBoxSelected(UINT, WPARAM wParam, LPARAM, bool&) {
    const auto box = static_cast<adb::BoxAddress>(wParam);
    if (box == 0) return 0;
    boxes_.SetCurrent(box);
    ShowCurrentBox();
    SetPageState(Ready);
    return 0;
}

void CMainDlg::OpenPicker() {
    if (!picker_.IsWindow()) picker_.CreatePicker(hwnd_);
    RECT window;
    GetWindowRect(hwnd_, &window);
    const std::vector<adb::BoxAddress> others = boxes_.Others();
    picker_.ShowPicker(window.left, window.top + 92, others);
    for (adb::BoxAddress box : others) picker_.UpdateRow(box, boxes_.DisplayName(box));
}

}  // namespace ui
