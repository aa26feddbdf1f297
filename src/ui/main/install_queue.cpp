#include "ui/main/install_queue.h"

#include <algorithm>

#include "adb/command_set.h"
#include "base/ascii_text.h"

namespace ui {

std::wstring FileNamePart(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

bool IsApkName(const std::wstring& path) {
    const std::wstring name = FileNamePart(path);
    const size_t dot = name.rfind(L'.');
    return dot != std::wstring::npos && base::EqualsNoCase(std::wstring_view(name).substr(dot), L".apk");
}

namespace {

std::vector<std::wstring> ApkNames(const std::vector<std::wstring>& names) {
    std::vector<std::wstring> apks;
    for (size_t i = 0; i < names.size() && i < kMaxDroppedFiles; ++i)
        if (!names[i].empty() && IsApkName(names[i])) apks.push_back(names[i]);
    return apks;
}

}  // namespace

InstallItems InstallQueue::StartBatch(const std::vector<std::wstring>& names) {
    const std::vector<std::wstring> apks = ApkNames(names);
    if (Running() || apks.empty()) return {};
    apkFiles_.clear();
    std::vector<int32_t> ids;
    for (const std::wstring& apk : apks) {
        apkFiles_[++nextApkId_] = apk;
        ids.push_back(nextApkId_);
    }
    return Begin(std::move(ids));
}

InstallItems InstallQueue::JoinBatch(const std::vector<std::wstring>& names) {
    if (!Running()) return {};
    InstallItems items;
    for (const std::wstring& apk : ApkNames(names)) {
        apkFiles_[++nextApkId_] = apk;
        batch_.push_back(nextApkId_);
        waiting_.insert(nextApkId_);
        items.emplace_back(apk, nextApkId_);
    }
    return items;
}

InstallItems InstallQueue::StartFailedAgain() {
    if (Running() || finished_.failed.empty()) return {};
    std::vector<int32_t> ids;
    for (const FailedApk& apk : finished_.failed) ids.push_back(apk.id);
    return Begin(std::move(ids));
}

InstallItems InstallQueue::Begin(std::vector<int32_t> ids) {
    batch_ = std::move(ids);
    waiting_ = std::set<int32_t>(batch_.begin(), batch_.end());
    failed_.clear();
    installingId_ = 0;
    percent_ = -1;
    InstallItems items;
    for (int32_t id : batch_) {
        const auto file = apkFiles_.find(id);
        items.emplace_back(file == apkFiles_.end() ? std::wstring() : file->second, id);
    }
    return items;
}

bool InstallQueue::OnStarted(int32_t id) {
    if (!waiting_.count(id)) return false;
    installingId_ = id;
    percent_ = -1;
    return true;
}

void InstallQueue::OnProgress(int32_t id, int32_t percent) {
    if (id == installingId_ && waiting_.count(id)) percent_ = std::clamp(percent, 0, 100);
}

bool InstallQueue::OnResult(int32_t id, int32_t code, const std::wstring& reason) {
    if (!waiting_.count(id)) return false;
    switch (code) {
    case adb::Success:
    case adb::AlreadyExists:  // an application already on the box counts as installed
        break;
    case adb::Failed:
    case adb::InvalidUri:
        failed_.push_back({id, ApkName(id), reason});
        break;
    default:
        return false;
    }
    waiting_.erase(id);
    if (waiting_.empty()) finished_ = {batch_.size(), failed_};
    return true;
}

std::wstring InstallQueue::ApkName(int32_t id) const {
    const auto file = apkFiles_.find(id);
    const std::wstring name = file == apkFiles_.end() ? std::wstring() : FileNamePart(file->second);
    return name.empty() ? L"指定程序" : name;
}

size_t InstallQueue::InstallingPosition() const {
    const auto at = std::find(batch_.begin(), batch_.end(), installingId_);
    return at == batch_.end() ? 0 : static_cast<size_t>(at - batch_.begin()) + 1;
}

}  // namespace ui
