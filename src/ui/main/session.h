#pragma once
// What one run of the main window knows and decides, free of the platform: the boxes found and the
// current one (BoxRegistry), the install batch (InstallQueue), and the install page's state, moved
// by the workers' results and the user's commands. What it needs done outside (the engine, the
// discovery worker, the search timer, the picker, showing the pages again) it asks of its actions.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

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
    // The (path, id) pairs of a batch for the box.
    virtual void Install(base::BoxAddress box, const std::vector<std::pair<std::wstring, int32_t>>& batch) = 0;
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

    // The window's first search and the search-again link alike: no box, a scan, the time-out.
    void SearchAgain();
    // A host accepted the probe (0: the scan ended, which tells nothing).
    void OnScanResult(base::BoxAddress box);
    void OnConnectResult(base::BoxAddress box, int32_t code);
    // The name is empty when the model query told nothing.
    void OnModelResult(base::BoxAddress box, const std::wstring& name);
    void OnSearchTimeout();
    // The picker's choice (0: none).
    void OnBoxSelected(base::BoxAddress box);
    // The continue links.
    void Continue();
    // Dropped file names, in drop order; ignored unless drops are accepted.
    void OnDrop(const std::vector<std::wstring>& names);
    void InstallAgain();
    void OnInstallResult(int32_t id, int32_t code);

    PageState State() const { return state_; }
    // Ready for a batch: states Ready and Done.
    bool AcceptsDrops() const { return state_ == Ready || state_ == Done; }
    const BoxRegistry& Boxes() const { return boxes_; }
    const InstallQueue& Queue() const { return queue_; }
    // The host whose identity is being asked for (shown while Identifying).
    base::BoxAddress AnsweringBox() const { return answering_; }
    // The device panel's badge: kept from the second box found until the next search.
    int Badge() const { return badge_; }

private:
    void SetPageState(PageState state);
    void InstallBatch();

    ISessionActions& actions_;
    PageState state_ = Searching;
    BoxRegistry boxes_;
    InstallQueue queue_;
    base::BoxAddress answering_ = base::kNoBox;
    int badge_ = 0;
};

}  // namespace ui
