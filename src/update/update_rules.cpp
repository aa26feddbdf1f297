#include "update/update_rules.h"

#include "update/version_number.h"

namespace update {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr size_t kLongestAddress = 2083;
constexpr wchar_t kDescriptorPath[] = L"/update/checkupdate.ini?ver=";

}  // namespace

bool IsCheckDue(int64_t now, std::optional<uint32_t> stored) {
    const int64_t since = now - static_cast<int64_t>(stored.value_or(0));
    return since < 0 || since > kSecondsPerDay;
}

std::wstring DescriptorAddress(const std::wstring& server, const std::wstring& localVersion) {
    std::wstring address = server + kDescriptorPath + localVersion;
    if (address.size() > kLongestAddress) return {};
    return address;
}

bool OffersUpgrade(const UpdateDescriptor& descriptor, const std::wstring& localVersion) {
    return !descriptor.url.empty() && IsNewerVersion(descriptor.version, localVersion);
}

std::optional<int> ProgressPercent(int64_t total, int64_t downloaded) {
    const bool known = total != -1 && total != 0 && downloaded != -1 && downloaded != 0;
    if (!known) return 0;
    const double percent = static_cast<double>(downloaded) / static_cast<double>(total) * 100.0;
    if (percent < 0.0 || percent > 100.0) return std::nullopt;
    return static_cast<int>(percent);
}

std::wstring BackupPath(const std::wstring& programPath) {
    const size_t name = programPath.find_last_of(L"\\/");
    const size_t dot = programPath.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && (name == std::wstring::npos || dot > name);
    return (hasExtension ? programPath.substr(0, dot) : programPath) + L".bak";
}

}  // namespace update
