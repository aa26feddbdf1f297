#pragma once
// What the main window knows of the boxes: which accepted a debug-bridge connection (in order of
// arrival), their display names, and the current box, the target of every install.
#include <map>
#include <string>
#include <vector>

#include "base/box_address.h"

namespace ui {

class BoxRegistry {
public:
    // A new search: no box found, none current.
    void Reset();
    // A box accepted the connection; true when it is the second one found (the panel's badge).
    bool AddConnected(base::BoxAddress box);
    void SetName(base::BoxAddress box, const std::wstring& name) { boxNames_[box] = name; }
    void SetCurrent(base::BoxAddress box) { currentBox_ = box; }

    base::BoxAddress Current() const { return currentBox_; }
    bool HasCurrent() const { return currentBox_ != base::kNoBox; }
    // Its name from the model query, or "智能电视盒" while none is known.
    std::wstring DisplayName(base::BoxAddress box) const;
    // The name alone: empty while unknown.
    std::wstring KnownName(base::BoxAddress box) const;
    // Every found box other than the current one, in order (a box found twice is listed twice).
    std::vector<base::BoxAddress> Others() const;

private:
    std::vector<base::BoxAddress> foundBoxes_;
    std::map<base::BoxAddress, std::wstring> boxNames_;
    base::BoxAddress currentBox_ = base::kNoBox;
};

}  // namespace ui
