#pragma once
// What the main window knows of the boxes: which accepted a debug-bridge connection (in order of
// arrival), their display names, and the current box, the target of every install.
#include <map>
#include <string>
#include <vector>

#include "adb/command_set.h"

namespace ui {

class BoxRegistry {
public:
    // A new search: no box found, none current.
    void Reset();
    // A box accepted the connection; true when it is the second one found (the panel's badge).
    bool AddConnected(adb::BoxAddress box);
    void SetName(adb::BoxAddress box, const std::wstring& name) { boxNames_[box] = name; }
    void SetCurrent(adb::BoxAddress box) { currentBox_ = box; }

    adb::BoxAddress Current() const { return currentBox_; }
    bool HasCurrent() const { return currentBox_ != adb::kNoBox; }
    // Its name from the model query, or "智能电视盒" while none is known.
    std::wstring DisplayName(adb::BoxAddress box) const;
    // The name alone: empty while unknown.
    std::wstring KnownName(adb::BoxAddress box) const;
    // Every found box other than the current one, in order (a box found twice is listed twice).
    std::vector<adb::BoxAddress> Others() const;

private:
    std::vector<adb::BoxAddress> foundBoxes_;
    std::map<adb::BoxAddress, std::wstring> boxNames_;
    adb::BoxAddress currentBox_ = adb::kNoBox;
};

}  // namespace ui
