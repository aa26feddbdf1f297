#pragma once
// The install batches of the main window: ids for dropped APK files, the batch handed to the
// engine, the results that belong to it, and what the last finished batch came to. Each APK of a
// batch is counted once, by the first result the engine gives for it; results of APKs that are not
// (or no longer) waited for change nothing.
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ui {

constexpr size_t kMaxDroppedFiles = 100;

// The file-name part of a path (after the last "\", "/" or ":").
std::wstring FileNamePart(const std::wstring& path);
// Whether the file name ends in ".apk", in any letter case.
bool IsApkName(const std::wstring& path);

// (path, id) pairs, as the engine is given them.
using InstallItems = std::vector<std::pair<std::wstring, int32_t>>;

struct FailedApk {
    int32_t id = 0;
    std::wstring name;    // as the installing line names it
    std::wstring reason;  // in Chinese
    friend bool operator==(const FailedApk&, const FailedApk&) = default;
};

// What a finished batch came to: its size and its failures in the order they came.
struct FinishedBatch {
    size_t total = 0;
    std::vector<FailedApk> failed;
};

class InstallQueue {
public:
    // A new batch of the drop's APKs (the first kMaxDroppedFiles names are looked at), replacing
    // the paths of the last one. Returns its items; none, and nothing changes, when no name is an
    // APK's or a batch is still running.
    InstallItems StartBatch(const std::vector<std::wstring>& names);
    // The drop's APKs join the running batch; the items they add.
    InstallItems JoinBatch(const std::vector<std::wstring>& names);
    // The failed APKs of the last finished batch as a new batch; none when none failed or a batch
    // is still running.
    InstallItems StartFailedAgain();

    // An APK of the running batch started; false for any other id.
    bool OnStarted(int32_t id);
    void OnProgress(int32_t id, int32_t percent);
    // The result of an APK of the running batch that has none yet; false for any other result
    // (then nothing changed). A failure brings its reason.
    bool OnResult(int32_t id, int32_t code, const std::wstring& reason);

    // A batch some of whose APKs have no result yet.
    bool Running() const { return !waiting_.empty(); }
    // "指定程序" when the id has no name.
    std::wstring ApkName(int32_t id) const;
    int32_t InstallingId() const { return installingId_; }
    // Of the running batch: where the APK being installed stands (from 1), how many it holds,
    // and how much of the APK has gone to the box (-1: not known).
    size_t InstallingPosition() const;
    size_t BatchSize() const { return batch_.size(); }
    int32_t Percent() const { return percent_; }
    const FinishedBatch& Finished() const { return finished_; }

private:
    InstallItems Begin(std::vector<int32_t> ids);

    int32_t nextApkId_ = 0;  // never reset: ids stay unique for the life of the window
    std::map<int32_t, std::wstring> apkFiles_;  // the paths of the last batch dropped
    std::vector<int32_t> batch_;                // the running (or last) batch, in order
    std::set<int32_t> waiting_;                 // its APKs without a result
    std::vector<FailedApk> failed_;             // its failures so far
    int32_t installingId_ = 0;
    int32_t percent_ = -1;
    FinishedBatch finished_;
};

}  // namespace ui
