#include "ui/main/main_dlg.h"

#include <shellapi.h>

#include <vector>

#include "adb/shell_mgr.h"

namespace ui {

LRESULT CMainDlg::OnDropFiles(UINT, WPARAM wParam, LPARAM, bool&) {
    const auto drop = reinterpret_cast<HDROP>(wParam);
    if (pageState_ != Ready && pageState_ != Done) {
        DragFinish(drop);
        return 0;
    }
    std::vector<std::wstring> names;
    for (UINT i = 0; i < kMaxDroppedFiles; ++i) {
        wchar_t name[MAX_PATH] = {};
        if (!DragQueryFileW(drop, i, name, MAX_PATH)) break;
        names.emplace_back(name);
    }
    DragFinish(drop);
    if (queue_.AcceptDrop(names)) InstallBatch();
    return 0;
}

void CMainDlg::InstallAgain() {
    if (queue_.TakeFailedAgain()) InstallBatch();
}

void CMainDlg::InstallBatch() {
    std::vector<adb::InstallItem> items;
    for (const auto& [path, id] : queue_.Batch()) items.push_back({path, id});
    adb::CShellMgr::Instance()->Install(boxes_.Current(), items);
}

void CMainDlg::OnInstallResult(int32_t id, int32_t code) {
    if (code == adb::Started) {
        queue_.OnStarted(id);
        SetPageState(Installing);
    } else {
        queue_.OnResult(id, code);
    }
    if (queue_.Complete()) SetPageState(Done);
}

}  // namespace ui
