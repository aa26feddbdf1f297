#include "win/dropped_files.h"

namespace win {

std::vector<std::wstring> DroppedFileNames(HDROP drop, size_t most) {
    std::vector<std::wstring> names;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count && names.size() < most; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring name(length, L'\0');
        if (DragQueryFileW(drop, i, name.data(), length + 1) == length) names.push_back(std::move(name));
    }
    return names;
}

}  // namespace win
