#include "ui/main/session.h"

#include "adb/command_set.h"

namespace ui {

namespace {
// The device panel's mark that more than one box is there.
constexpr int kMoreBoxesBadge = 1;
}  // namespace

void Session::SetPageState(PageState state) {
    state_ = state;
    actions_.ShowPages();
}

void Session::SearchAgain() {
    boxes_.Reset();
    // A new search starts clean: the badge comes back only when a second box is found again.
    badge_ = 0;
    actions_.StartScan();
    SetPageState(Searching);
    // Without the time-out the page would wait in the searching state for good when no box answers.
    actions_.SetSearchTimer(true);
}

void Session::OnScanResult(base::BoxAddress box) {
    if (box == 0) return;
    actions_.Connect(box);
    if (state_ != Searching) return;
    answering_ = box;
    SetPageState(Identifying);
}

void Session::OnConnectResult(base::BoxAddress box, int32_t code) {
    if (code == adb::NotConnected) return;
    actions_.QueryModel(box);
    if (!boxes_.AddConnected(box)) return;
    badge_ = kMoreBoxesBadge;
    actions_.ShowPages();
}

void Session::OnModelResult(base::BoxAddress box, const std::wstring& name) {
    if (name.empty()) return;
    boxes_.SetName(box, name);
    if (box != boxes_.Current()) {
        actions_.UpdatePickerRow(box, boxes_.DisplayName(box));
        return;
    }
    actions_.SetSearchTimer(false);
    SetPageState(Ready);
}

void Session::OnSearchTimeout() {
    actions_.SetSearchTimer(false);
    SetPageState(boxes_.HasCurrent() ? Ready : NoBox);
}

void Session::OnBoxSelected(base::BoxAddress box) {
    if (box == 0) return;
    boxes_.SetCurrent(box);
    SetPageState(Ready);
}

void Session::Continue() { SetPageState(Ready); }

void Session::OnDrop(const std::vector<std::wstring>& names) {
    if (AcceptsDrops() && queue_.AcceptDrop(names)) InstallBatch();
}

void Session::InstallAgain() {
    if (queue_.TakeFailedAgain()) InstallBatch();
}

void Session::InstallBatch() { actions_.Install(boxes_.Current(), queue_.Batch()); }

void Session::OnInstallResult(int32_t id, int32_t code) {
    if (code == adb::Started) {
        queue_.OnStarted(id);
        SetPageState(Installing);
    } else {
        queue_.OnResult(id, code);
    }
    if (queue_.Complete()) SetPageState(Done);
}

}  // namespace ui
