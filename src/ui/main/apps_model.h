#pragma once
// What the app-management tab knows of the current box's apps, free of the platform: the listing
// and where it stands (loading, listed, the box gone), the rows the search text and the system
// toggle let through in name order, the rows the user selected, and the actions on them (start,
// uninstall, export) with each one's outcome.
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "adb/app_listing.h"
#include "base/box_address.h"

namespace ui {

enum class AppsState { NotLoaded, Loading, Listed, BoxGone };
enum class AppAction { Open, Uninstall, Export };

struct AppOutcome {
    enum class Kind { Working, Done, Failed };
    AppAction action = AppAction::Open;
    Kind kind = Kind::Working;
    std::wstring detail;  // Failed: the reason in Chinese; Done of an export: where the copy went
};

// The counts of the actions asked together (one click), for the progress line.
struct AppsProgress {
    size_t total = 0, done = 0, failed = 0;
    bool Finished() const { return done + failed == total; }
};

class AppsModel {
public:
    // A listing is asked of the box: whatever was known goes.
    void StartLoading(base::BoxAddress box);
    // The engine's listing of the box being loaded (sizes may come in a second listing).
    void OnListed(base::BoxAddress box, std::vector<adb::InstalledApp> apps);
    // The box answered no listing: it went away.
    void OnListingFailed(base::BoxAddress box);

    AppsState State() const { return state_; }
    base::BoxAddress Box() const { return box_; }

    void SetFilter(std::wstring text);
    const std::wstring& Filter() const { return filter_; }
    void SetShowSystem(bool show);
    bool ShowsSystem() const { return showSystem_; }
    // The apps shown, by name (the label, else the package, letters in any case alike).
    std::vector<const adb::InstalledApp*> Visible() const;
    const adb::InstalledApp* Find(const std::wstring& package) const;

    void SetSelected(const std::wstring& package, bool selected);
    bool IsSelected(const std::wstring& package) const { return selected_.count(package) != 0; }
    // The selected apps that are shown, in the order shown.
    std::vector<std::wstring> SelectedVisible() const;

    // The actions of one click: each gets the cookie its engine task carries. Earlier counts go.
    std::vector<int32_t> BeginActions(AppAction action, const std::vector<std::wstring>& packages);
    // An action's end: success or the reason it failed (failure text), with the export's path. An
    // uninstalled app leaves the list and the selection. Cookies not handed out are ignored.
    void OnActionResult(int32_t cookie, bool succeeded, const std::wstring& detail);
    const AppOutcome* Outcome(const std::wstring& package) const;
    const AppsProgress& Progress() const { return progress_; }
    bool Busy() const { return !progress_.Finished(); }

private:
    AppsState state_ = AppsState::NotLoaded;
    base::BoxAddress box_ = base::kNoBox;
    std::vector<adb::InstalledApp> apps_;
    std::wstring filter_;
    bool showSystem_ = false;
    std::set<std::wstring> selected_;
    std::map<int32_t, std::wstring> cookies_;  // of the actions asked, the package of each
    std::map<std::wstring, AppOutcome> outcomes_;
    AppsProgress progress_;
    int32_t nextCookie_ = 1;
};

// The name a row shows: the label, else the package.
const std::wstring& DisplayName(const adb::InstalledApp& app);
// "12.3 MB", "845 KB", "0 B"; empty while unknown.
std::wstring SizeText(uint64_t bytes);
// The day of "YYYY-MM-DD HH:MM:SS"; empty when it is not one.
std::wstring DayText(const std::wstring& updated);

}  // namespace ui
