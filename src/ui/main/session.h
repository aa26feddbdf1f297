#pragma once
// What one run of the main window knows and decides, free of the platform: the boxes found and the
// current one (BoxRegistry), the install batch (InstallQueue), and the install page's state, moved
// by the workers' results and the user's commands. What it needs done outside (the engine, the
// discovery worker, the search timer, the picker, showing the pages again) it asks of its actions.
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "adb/failure_reason.h"
#include "base/box_address.h"
#include "ui/main/box_registry.h"
#include "ui/main/install_queue.h"

namespace ui {

enum PageState { NoBox = 0, Searching = 1, Identifying = 2, Ready = 3, Installing = 4, Done = 5 };

class ISessionActions {
public:
    virtual void StartScan() = 0;
    // The single-shot search time-out: started, or stopped before it fires.
    virtual void SetSearchTimer(bool running) = 0;
    virtual void Connect(base::BoxAddress box) = 0;
    // Of a box whose connect has just succeeded: the engine asks it without connecting again.
    virtual void QueryModel(base::BoxAddress box) = 0;
    // The (path, id) pairs of a batch for the box; joining: they join the batch queued last, which
    // has not started yet.
    virtual void Install(base::BoxAddress box, const InstallItems& items, bool joining) = 0;
    // Ends the install running and those queued behind it.
    virtual void CancelInstalls() = 0;
    // A box other than the current one got its name: its row in the picker, if it has one.
    virtual void UpdatePickerRow(base::BoxAddress box, const std::wstring& displayName) = 0;
    // The page state or something the pages show changed.
    virtual void ShowPages() = 0;

protected:
    ~ISessionActions() = default;
};

class Session {
public:
    explicit Session(ISessionActions& actions) : actions_(actions) {}

    // The window's first search, the search-again link and the picker's last row alike: no box, a
    // scan, the time-out. Not while a batch runs.
    void SearchAgain();
    // A host accepted the probe (0: the scan ended, which tells nothing).
    void OnScanResult(base::BoxAddress box);
    void OnConnectResult(base::BoxAddress box, int32_t code);
    // The name is empty when the model query told nothing.
    void OnModelResult(base::BoxAddress box, const std::wstring& name);
    void OnSearchTimeout();
    // The picker's choice (0: none): the target of the next batch. While a batch runs, its page
    // stays.
    void OnBoxSelected(base::BoxAddress box);
    // The continue links.
    void Continue();
    // Dropped file names, in drop order; ignored unless drops are accepted. A drop while the batch
    // has not started yet joins it.
    void OnDrop(const std::vector<std::wstring>& names);
    void InstallAgain();
    // Started, the end of an APK's install (a failure with its reason, read from the client's
    // output when the reason is Other), or Progress with the percent.
    void OnInstallResult(int32_t id, int32_t code, adb::FailureReason reason = adb::FailureReason::None,
                         std::wstring_view output = {}, int32_t percent = -1);
    // The cancel link: the running install and the rest of the batch end as failures.
    void CancelInstall();
    // The link under the results: the failed APKs with their reasons, shown or hidden again.
    void ToggleReasons();

    PageState State() const { return state_; }
    // States Ready and Done, unless a batch runs for a box other than the current one: a drop then
    // could go nowhere the page shows.
    bool AcceptsDrops() const {
        return (state_ == Ready || state_ == Done) && (!queue_.Running() || batchBox_ == boxes_.Current());
    }
    // A search may start: no batch runs.
    bool CanSearchAgain() const { return !queue_.Running(); }
    bool Cancelling() const { return cancelling_; }
    bool ReasonsShown() const { return reasonsShown_; }
    const BoxRegistry& Boxes() const { return boxes_; }
    const InstallQueue& Queue() const { return queue_; }
    // The host whose identity is being asked for (shown while Identifying).
    base::BoxAddress AnsweringBox() const { return answering_; }
    // The device panel's badge: kept from the second box found until the next search.
    int Badge() const { return badge_; }

private:
    void SetPageState(PageState state);
    // The page state Ready, or, while a batch runs, the page as it is with what changed shown.
    void ShowReadyUnlessInstalling();
    void InstallBatch(const InstallItems& items);

    ISessionActions& actions_;
    PageState state_ = Searching;
    BoxRegistry boxes_;
    InstallQueue queue_;
    base::BoxAddress batchBox_ = base::kNoBox;  // where the running batch goes
    base::BoxAddress answering_ = base::kNoBox;
    int badge_ = 0;
    bool cancelling_ = false;
    bool reasonsShown_ = false;
};

}  // namespace ui
