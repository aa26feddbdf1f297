#pragma once
// The install batch of the main window: ids for dropped APK files, the batch handed to the engine,
// and the count of results that decides when the batch is complete.
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace ui {

constexpr size_t kMaxDroppedFiles = 100;

// The file-name part of a path (after the last "\", "/" or ":").
std::wstring FileNamePart(const std::wstring& path);
// Whether the file name ends in ".apk", in any letter case.
bool IsApkName(const std::wstring& path);

class InstallQueue {
public:
    // Starts a new batch from the names of one drop (the first kMaxDroppedFiles are looked at);
    // false when none of them is an APK. The previous batch is forgotten either way.
    bool AcceptDrop(const std::vector<std::wstring>& names);
    // Makes the failed APKs of the batch a new batch; false when none failed.
    bool TakeFailedAgain();
    // The (path, id) pairs of the batch, in order.
    std::vector<std::pair<std::wstring, int32_t>> Batch() const;

    void OnStarted(int32_t id) { installingId_ = id; }
    void OnResult(int32_t id, int32_t code);
    // Every APK of the batch has its result.
    bool Complete() const { return failedIds_.size() + static_cast<size_t>(successCount_) == installQueue_.size(); }

    // "指定程序" when the id has no name.
    std::wstring ApkName(int32_t id) const;
    int32_t InstallingId() const { return installingId_; }
    size_t Total() const { return installQueue_.size(); }
    size_t Failed() const { return failedIds_.size(); }

private:
    int32_t nextApkId_ = 0;  // never reset: ids stay unique for the life of the window
    std::vector<int32_t> installQueue_;
    std::map<int32_t, std::wstring> apkFiles_;
    int32_t installingId_ = 0;
    int32_t successCount_ = 0;
    std::vector<int32_t> failedIds_;
};

}  // namespace ui
