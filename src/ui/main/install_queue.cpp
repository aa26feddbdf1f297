#include "ui/main/install_queue.h"

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

bool InstallQueue::AcceptDrop(const std::vector<std::wstring>& names) {
    installQueue_.clear();
    apkFiles_.clear();
    failedIds_.clear();
    successCount_ = 0;
    for (size_t i = 0; i < names.size() && i < kMaxDroppedFiles; ++i) {
        if (names[i].empty() || !IsApkName(names[i])) continue;
        ++nextApkId_;
        installQueue_.push_back(nextApkId_);
        apkFiles_[nextApkId_] = names[i];
    }
    return !apkFiles_.empty();
}

bool InstallQueue::TakeFailedAgain() {
    installQueue_ = failedIds_;
    failedIds_.clear();
    successCount_ = 0;
    return !installQueue_.empty();
}

std::vector<std::pair<std::wstring, int32_t>> InstallQueue::Batch() const {
    std::vector<std::pair<std::wstring, int32_t>> batch;
    for (int32_t id : installQueue_) {
        const auto file = apkFiles_.find(id);
        batch.emplace_back(file == apkFiles_.end() ? std::wstring() : file->second, id);
    }
    return batch;
}

void InstallQueue::OnResult(int32_t id, int32_t code) {
    switch (code) {
    case adb::Success:
    case adb::AlreadyExists:  // an application already on the box counts as installed
        ++successCount_;
        break;
    case adb::Failed:
    case adb::InvalidUri:
        failedIds_.push_back(id);
        break;
    default:
        break;
    }
}

std::wstring InstallQueue::ApkName(int32_t id) const {
    const auto file = apkFiles_.find(id);
    const std::wstring name = file == apkFiles_.end() ? std::wstring() : FileNamePart(file->second);
    return name.empty() ? L"指定程序" : name;
}

}  // namespace ui
