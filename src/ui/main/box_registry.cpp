#include "ui/main/box_registry.h"

namespace ui {

void BoxRegistry::Reset() {
    foundBoxes_.clear();
    currentBox_ = base::kNoBox;
}

bool BoxRegistry::AddConnected(base::BoxAddress box) {
    foundBoxes_.push_back(box);
    if (currentBox_ == base::kNoBox) currentBox_ = box;
    return foundBoxes_.size() == 2;
}

std::wstring BoxRegistry::KnownName(base::BoxAddress box) const {
    const auto name = boxNames_.find(box);
    return name == boxNames_.end() ? std::wstring() : name->second;
}

std::wstring BoxRegistry::DisplayName(base::BoxAddress box) const {
    const std::wstring name = KnownName(box);
    return name.empty() ? L"智能电视盒" : name;
}

std::vector<base::BoxAddress> BoxRegistry::Others() const {
    std::vector<base::BoxAddress> others;
    for (base::BoxAddress box : foundBoxes_)
        if (box != currentBox_) others.push_back(box);
    return others;
}

}  // namespace ui
