#include "ui/main/apps_model.h"

#include <algorithm>

#include "base/ascii_text.h"

namespace ui {

namespace {

// Letters of either case sort alike; others by their code.
wchar_t Folded(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool NameBefore(const adb::InstalledApp* a, const adb::InstalledApp* b) {
    const std::wstring &x = DisplayName(*a), &y = DisplayName(*b);
    const auto differ = std::mismatch(x.begin(), x.end(), y.begin(), y.end(),
                                      [](wchar_t p, wchar_t q) { return Folded(p) == Folded(q); });
    if (differ.first != x.end() && differ.second != y.end()) return Folded(*differ.first) < Folded(*differ.second);
    if (x.size() != y.size()) return x.size() < y.size();
    return a->package < b->package;
}

}  // namespace

const std::wstring& DisplayName(const adb::InstalledApp& app) { return app.label.empty() ? app.package : app.label; }

std::wstring SizeText(uint64_t bytes) {
    if (bytes == 0) return {};
    constexpr uint64_t kKilo = 1024, kMega = kKilo * 1024, kGiga = kMega * 1024;
    const auto tenths = [](uint64_t value, uint64_t unit) {
        const uint64_t scaled = (value * 10 + unit / 2) / unit;
        return std::to_wstring(scaled / 10) + L"." + std::to_wstring(scaled % 10);
    };
    if (bytes >= kGiga) return tenths(bytes, kGiga) + L" GB";
    if (bytes >= kMega) return tenths(bytes, kMega) + L" MB";
    if (bytes >= kKilo) return std::to_wstring((bytes + kKilo / 2) / kKilo) + L" KB";
    return std::to_wstring(bytes) + L" B";
}

std::wstring DayText(const std::wstring& updated) {
    if (updated.size() < 10 || updated[4] != L'-' || updated[7] != L'-') return {};
    for (size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (updated[i] < L'0' || updated[i] > L'9') return {};
    return updated.substr(0, 10);
}

void AppsModel::StartLoading(base::BoxAddress box) {
    state_ = AppsState::Loading;
    box_ = box;
    apps_.clear();
    selected_.clear();
    outcomes_.clear();
    cookies_.clear();
    progress_ = {};
}

void AppsModel::OnListed(base::BoxAddress box, std::vector<adb::InstalledApp> apps) {
    if (box != box_ || state_ == AppsState::NotLoaded) return;
    state_ = AppsState::Listed;
    apps_ = std::move(apps);
    // What is no longer there cannot stay selected.
    std::erase_if(selected_, [&](const std::wstring& package) { return Find(package) == nullptr; });
}

void AppsModel::OnListingFailed(base::BoxAddress box) {
    if (box != box_) return;
    state_ = AppsState::BoxGone;
    apps_.clear();
    selected_.clear();
}

void AppsModel::SetFilter(std::wstring text) { filter_ = std::move(text); }

void AppsModel::SetShowSystem(bool show) { showSystem_ = show; }

std::vector<const adb::InstalledApp*> AppsModel::Visible() const {
    std::vector<const adb::InstalledApp*> shown;
    for (const adb::InstalledApp& app : apps_) {
        if (app.system && !showSystem_) continue;
        if (!filter_.empty() && !base::ContainsNoCase(app.label, filter_) &&
            !base::ContainsNoCase(app.package, filter_))
            continue;
        shown.push_back(&app);
    }
    std::sort(shown.begin(), shown.end(), NameBefore);
    return shown;
}

const adb::InstalledApp* AppsModel::Find(const std::wstring& package) const {
    for (const adb::InstalledApp& app : apps_)
        if (app.package == package) return &app;
    return nullptr;
}

void AppsModel::SetSelected(const std::wstring& package, bool selected) {
    if (!selected) selected_.erase(package);
    else if (Find(package)) selected_.insert(package);
}

std::vector<std::wstring> AppsModel::SelectedVisible() const {
    std::vector<std::wstring> packages;
    for (const adb::InstalledApp* app : Visible())
        if (IsSelected(app->package)) packages.push_back(app->package);
    return packages;
}

std::vector<int32_t> AppsModel::BeginActions(AppAction action, const std::vector<std::wstring>& packages) {
    progress_ = {};
    cookies_.clear();
    std::vector<int32_t> cookies;
    for (const std::wstring& package : packages) {
        if (!Find(package)) continue;
        const int32_t cookie = nextCookie_++;
        cookies_[cookie] = package;
        outcomes_[package] = {action, AppOutcome::Kind::Working, {}};
        cookies.push_back(cookie);
        ++progress_.total;
    }
    return cookies;
}

void AppsModel::OnActionResult(int32_t cookie, bool succeeded, const std::wstring& detail) {
    const auto asked = cookies_.find(cookie);
    if (asked == cookies_.end()) return;
    const std::wstring package = asked->second;
    cookies_.erase(asked);
    AppOutcome& outcome = outcomes_[package];
    outcome.kind = succeeded ? AppOutcome::Kind::Done : AppOutcome::Kind::Failed;
    outcome.detail = detail;
    ++(succeeded ? progress_.done : progress_.failed);
    if (succeeded && outcome.action == AppAction::Uninstall) {
        std::erase_if(apps_, [&](const adb::InstalledApp& app) { return app.package == package; });
        selected_.erase(package);
    }
}

const AppOutcome* AppsModel::Outcome(const std::wstring& package) const {
    const auto found = outcomes_.find(package);
    return found == outcomes_.end() ? nullptr : &found->second;
}

}  // namespace ui
