#include <cwchar>

#include "adb/apk_staging.h"

namespace adb {

std::wstring StagedFileName(int32_t cookie) {
    wchar_t name[40];
    std::swprintf(name, 40, L"mivora_apk_%04d.apk", static_cast<int>(cookie));
    return name;
}

}  // namespace adb
