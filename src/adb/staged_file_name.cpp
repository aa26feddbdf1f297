#include <cwchar>
#include <cwctype>

#include "adb/apk_staging.h"

namespace adb {

namespace {

constexpr wchar_t kPrefix[] = L"mivora_apk_";
constexpr wchar_t kSuffix[] = L".apk";

bool AllDigits(const std::wstring& text, int base) {
    for (wchar_t c : text) {
        if (base == 10 ? !std::iswdigit(c) : !std::iswxdigit(c)) return false;
    }
    return !text.empty();
}

}  // namespace

std::wstring StagedFileName(int32_t number) {
    wchar_t name[40];
    std::swprintf(name, 40, L"mivora_apk_%04d.apk", static_cast<int>(number));
    return name;
}

bool IsStagedFileName(const std::wstring& name) {
    const size_t prefix = std::wcslen(kPrefix), suffix = std::wcslen(kSuffix);
    return name.size() > prefix + suffix && name.compare(0, prefix, kPrefix) == 0 &&
           name.compare(name.size() - suffix, suffix, kSuffix) == 0 &&
           AllDigits(name.substr(prefix, name.size() - prefix - suffix), 10);
}

std::wstring RunFolderName(uint32_t processId, uint64_t startTime) {
    wchar_t name[48];
    std::swprintf(name, 48, L"run-%lu-%016llx", static_cast<unsigned long>(processId),
                  static_cast<unsigned long long>(startTime));
    return name;
}

bool ParseRunFolderName(const std::wstring& name, uint32_t& processId, uint64_t& startTime) {
    const size_t dash = name.find(L'-', 4);
    if (name.compare(0, 4, L"run-") != 0 || dash == std::wstring::npos) return false;
    const std::wstring id = name.substr(4, dash - 4), time = name.substr(dash + 1);
    if (!AllDigits(id, 10) || id.size() > 10 || !AllDigits(time, 16) || time.size() != 16) return false;
    const unsigned long long parsedId = std::wcstoull(id.c_str(), nullptr, 10);
    if (parsedId > UINT32_MAX) return false;
    processId = static_cast<uint32_t>(parsedId);
    startTime = std::wcstoull(time.c_str(), nullptr, 16);
    return true;
}

}  // namespace adb
