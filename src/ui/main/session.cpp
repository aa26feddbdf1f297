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
    // The batch's box would be forgotten, and its results would land on a searching page.
    if (!CanSearchAgain()) return;
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
    ShowReadyUnlessInstalling();
}

void Session::OnSearchTimeout() {
    actions_.SetSearchTimer(false);
    SetPageState(boxes_.HasCurrent() ? Ready : NoBox);
}

void Session::OnBoxSelected(base::BoxAddress box) {
    if (box == 0) return;
    boxes_.SetCurrent(box);
    ShowReadyUnlessInstalling();
}

void Session::ShowReadyUnlessInstalling() {
    // The results still to come belong to the page that shows the batch.
    if (state_ == Installing && queue_.Running())
        actions_.ShowPages();
    else
        SetPageState(Ready);
}

void Session::Continue() {
    if (state_ == Done) SetPageState(Ready);
}

void Session::OnDrop(const std::vector<std::wstring>& names) {
    if (!AcceptsDrops()) return;
    if (queue_.Running()) {
        // The batch waits for its box: the new APKs are queued behind it, as one batch.
        const InstallItems joining = queue_.JoinBatch(names);
        if (!joining.empty()) actions_.Install(batchBox_, joining, true);
        return;
    }
    InstallBatch(queue_.StartBatch(names));
}

void Session::InstallAgain() {
    if (state_ == Done) InstallBatch(queue_.StartFailedAgain());
}

void Session::InstallBatch(const InstallItems& items) {
    if (items.empty()) return;
    batchBox_ = boxes_.Current();
    actions_.Install(batchBox_, items, false);
}

void Session::OnInstallResult(int32_t id, int32_t code, adb::FailureReason reason, std::wstring_view output,
                              int32_t percent) {
    if (code == adb::Started) {
        if (queue_.OnStarted(id)) SetPageState(Installing);
        return;
    }
    if (code == adb::Progress) {
        queue_.OnProgress(id, percent);
        if (state_ == Installing) actions_.ShowPages();
        return;
    }
    // A failure the engine gave no reason for is told by the client's last line.
    if (reason == adb::FailureReason::None) reason = adb::FailureReason::Other;
    if (!queue_.OnResult(id, code, adb::FailureText(reason, output)) || queue_.Running()) return;
    cancelling_ = false;
    reasonsShown_ = false;
    SetPageState(Done);
}

void Session::CancelInstall() {
    if (state_ != Installing || !queue_.Running() || cancelling_) return;
    cancelling_ = true;
    actions_.CancelInstalls();
    actions_.ShowPages();
}

void Session::ToggleReasons() {
    if (state_ != Done || queue_.Finished().failed.empty()) return;
    reasonsShown_ = !reasonsShown_;
    actions_.ShowPages();
}

}  // namespace ui
