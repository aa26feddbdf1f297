#include "adb/app_failure_text.h"

#include "adb/command_set.h"
#include "adb/failure_reason.h"

namespace adb {

namespace {

struct KnownFailure {
    const wchar_t* said;  // what the box or the client says, any case
    const wchar_t* reason;
};

// What only an app's actions meet, before the reasons every command on a box shares: the package
// manager's refusals to uninstall, an app with nothing to open, and the files of an export (a full
// disk here is this computer's, not the box's).
constexpr KnownFailure kAppFailures[] = {
    {L"DELETE_FAILED_DEVICE_POLICY_MANAGER", L"盒子的管理策略不允许卸载此应用"},
    {L"DELETE_FAILED_OWNER_BLOCKED", L"盒子的管理策略不允许卸载此应用"},
    {L"DELETE_FAILED_USER_RESTRICTED", L"盒子的管理策略不允许卸载此应用"},
    {L"DELETE_FAILED_INTERNAL_ERROR", L"盒子不允许卸载此应用（系统自带或正在使用）"},
    {L"Unknown package", L"盒子上已没有此应用"},
    {L"No activities found to run", L"此应用没有可在电视上打开的界面"},
    {L"No space left on device", L"电脑的磁盘空间不足"},
    {L"does not exist", L"盒子上已找不到此应用的文件"},
    {L"Permission denied", L"没有权限读写所需的文件"},
};

}  // namespace

std::wstring AppFailureText(std::wstring_view output) {
    for (const KnownFailure& known : kAppFailures)
        if (ContainsNoCase(output, known.said)) return known.reason;
    const FailureReason reason = ClassifyFailure(output, ChildEnd::Exited);
    if (reason == FailureReason::Other && LastOutputLine(output).empty()) return L"未知原因";
    return FailureText(reason, output);
}

}  // namespace adb
