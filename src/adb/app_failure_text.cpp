#include "adb/app_failure_text.h"

#include "adb/command_set.h"

namespace adb {

namespace {

struct KnownFailure {
    const wchar_t* said;  // what the box or the client says, any case
    const wchar_t* reason;
};

// The first match wins: the package manager's own words before what the client says of the link.
constexpr KnownFailure kKnownFailures[] = {
    {L"DELETE_FAILED_DEVICE_POLICY_MANAGER", L"盒子的管理策略不允许卸载此应用"},
    {L"DELETE_FAILED_OWNER_BLOCKED", L"盒子的管理策略不允许卸载此应用"},
    {L"DELETE_FAILED_USER_RESTRICTED", L"盒子的管理策略不允许卸载此应用"},
    {L"DELETE_FAILED_INTERNAL_ERROR", L"盒子不允许卸载此应用（系统自带或正在使用）"},
    {L"Unknown package", L"盒子上已没有此应用"},
    {L"No activities found to run", L"此应用没有可在电视上打开的界面"},
    {L"No space left on device", L"电脑的磁盘空间不足"},
    {L"does not exist", L"盒子上已找不到此应用的文件"},
    {L"Permission denied", L"没有权限读写所需的文件"},
    {L"unauthorized", L"盒子尚未允许此电脑调试，请在电视上确认"},
    {L"closed the connection", L"与盒子的连接已断开"},
    {L"device offline", L"与盒子的连接已断开"},
    {L"cannot connect", L"无法连接盒子"},
    {L"failed to connect", L"无法连接盒子"},
    {L"did not answer", L"盒子没有响应"},
};

std::wstring_view Trimmed(std::wstring_view line) {
    const size_t first = line.find_first_not_of(L" \t\r");
    if (first == std::wstring_view::npos) return {};
    return line.substr(first, line.find_last_not_of(L" \t\r") - first + 1);
}

std::wstring LastLine(std::wstring_view output) {
    std::wstring_view last;
    while (!output.empty()) {
        const size_t end = output.find(L'\n');
        if (const std::wstring_view line = Trimmed(output.substr(0, end)); !line.empty()) last = line;
        if (end == std::wstring_view::npos) break;
        output.remove_prefix(end + 1);
    }
    return std::wstring(last.substr(0, kMaxAppFailureLine));
}

}  // namespace

std::wstring AppFailureText(std::wstring_view output) {
    for (const KnownFailure& known : kKnownFailures)
        if (ContainsNoCase(output, known.said)) return known.reason;
    std::wstring last = LastLine(output);
    return last.empty() ? L"未知原因" : last;
}

}  // namespace adb
