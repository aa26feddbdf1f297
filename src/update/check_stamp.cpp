#include "update/check_stamp.h"

#include <optional>

#include "update/update_rules.h"

namespace update {

namespace {

std::optional<uint32_t> ReadStamp(HKEY root, const wchar_t* key) {
    DWORD stamp = 0, type = 0, size = sizeof(stamp);
    if (RegGetValueW(root, key, kCheckStampValue, RRF_RT_REG_DWORD, &type, &stamp, &size) != ERROR_SUCCESS ||
        size != sizeof(stamp))
        return std::nullopt;
    return stamp;
}

void WriteStamp(HKEY root, const wchar_t* key, uint32_t stamp) {
    HKEY opened = nullptr;
    if (RegCreateKeyExW(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS) return;
    const DWORD value = stamp;
    RegSetValueExW(opened, kCheckStampValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    RegCloseKey(opened);
}

}  // namespace

int64_t SecondsSince1970() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (uint64_t{now.dwHighDateTime} << 32) | now.dwLowDateTime;
    constexpr uint64_t kTicksTo1970 = 116444736000000000ull, kTicksPerSecond = 10000000;
    return static_cast<int64_t>((ticks - kTicksTo1970) / kTicksPerSecond);
}

bool TakeDailyCheck(HKEY root, const wchar_t* key) {
    const int64_t now = SecondsSince1970();
    if (!IsCheckDue(now, ReadStamp(root, key))) return false;
    WriteStamp(root, key, static_cast<uint32_t>(now));
    return true;
}

}  // namespace update
