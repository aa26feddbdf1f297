#include "ui/main/box_registry.h"

namespace ui {

void BoxRegistry::Reset() {
    foundBoxes_.clear();
    currentBox_ = adb::kNoBox;
}

bool BoxRegistry::AddConnected(adb::BoxAddress box) {
    foundBoxes_.push_back(box);
    if (currentBox_ == adb::kNoBox) currentBox_ = box;
    return foundBoxes_.size() == 2;
}

std::wstring BoxRegistry::KnownName(adb::BoxAddress box) const {
    const auto name = boxNames_.find(box);
    return name == boxNames_.end() ? std::wstring() : name->second;
}

std::wstring BoxRegistry::DisplayName(adb::BoxAddress box) const {
    const std::wstring name = KnownName(box);
    return name.empty() ? L"智能电视盒" : name;
}

std::vector<adb::BoxAddress> BoxRegistry::Others() const {
    std::vector<adb::BoxAddress> others;
    for (adb::BoxAddress box : foundBoxes_)
        if (box != currentBox_) others.push_back(box);
    return others;
}

}  // namespace ui
