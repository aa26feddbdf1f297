#include "adb/failure_reason.h"

#include "base/ascii_text.h"

namespace adb {

namespace {

struct Sign {
    const wchar_t* words;  // found anywhere in the output, ASCII case ignored
    FailureReason reason;
};

// The package manager's verdicts, as Android's boxes write them from the oldest to the newest
// (older releases name some of them differently), and "No space left" of a push to a full box.
constexpr Sign kVerdicts[] = {
    {L"INSTALL_FAILED_INSUFFICIENT_STORAGE", FailureReason::StorageFull},
    {L"No space left on device", FailureReason::StorageFull},
    {L"INSTALL_FAILED_OLDER_SDK", FailureReason::AndroidTooOld},
    {L"INSTALL_FAILED_INVALID_APK", FailureReason::InvalidPackage},
    // Before Android 5 a replacement signed by another key was a package inconsistent with itself.
    {L"INSTALL_PARSE_FAILED_INCONSISTENT_CERTIFICATES", FailureReason::SignatureDiffers},
    {L"INSTALL_PARSE_FAILED_", FailureReason::InvalidPackage},
    {L"INSTALL_FAILED_VERSION_DOWNGRADE", FailureReason::NewerVersionInstalled},
    {L"INSTALL_FAILED_UPDATE_INCOMPATIBLE", FailureReason::SignatureDiffers},
    {L"INSTALL_FAILED_NO_MATCHING_ABIS", FailureReason::NoMatchingAbi},
    {L"INSTALL_FAILED_CPU_ABI_INCOMPATIBLE", FailureReason::NoMatchingAbi},
    {L"INSTALL_FAILED_DUPLICATE_PERMISSION", FailureReason::DuplicatePermission},
    {L"INSTALL_FAILED_INVALID_URI", FailureReason::NotReceived},
};

// What the clients say when the box is not there for them: our own client's words first, then
// Google's.
constexpr Sign kLinkSigns[] = {
    {L"unauthorized", FailureReason::Unauthorized},
    {L"did not answer", FailureReason::NoAnswer},
    {L"closed the connection", FailureReason::ConnectionLost},
    {L"ended the transfer early", FailureReason::ConnectionLost},
    {L"forcibly closed", FailureReason::ConnectionLost},
    {L"connection was aborted", FailureReason::ConnectionLost},
    {L"unreachable", FailureReason::ConnectionLost},
    {L"cannot connect to", FailureReason::ConnectionLost},
    {L"failed to connect", FailureReason::ConnectionLost},
    {L"offline", FailureReason::ConnectionLost},
    {L"connection reset", FailureReason::ConnectionLost},
    {L"broken pipe", FailureReason::ConnectionLost},
    {L"protocol fault", FailureReason::ConnectionLost},
    {L"error: closed", FailureReason::ConnectionLost},
    {L"' not found", FailureReason::ConnectionLost},
    {L"no devices/emulators found", FailureReason::ConnectionLost},
};

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

}  // namespace

FailureReason ClassifyFailure(std::wstring_view output, ChildEnd end) {
    if (end == ChildEnd::Cancelled) return FailureReason::Cancelled;
    for (const Sign& sign : kVerdicts)
        if (base::ContainsNoCase(output, sign.words)) return sign.reason;
    for (const Sign& sign : kLinkSigns)
        if (base::ContainsNoCase(output, sign.words)) return sign.reason;
    // Ended by its limits: the box went quiet (or would not stop talking) in the middle.
    if (end == ChildEnd::Silent || end == ChildEnd::Overran) return FailureReason::NoAnswer;
    return FailureReason::Other;
}

std::wstring FailureText(FailureReason reason, std::wstring_view output) {
    switch (reason) {
    case FailureReason::None: return {};
    case FailureReason::StorageFull: return L"盒子的存储空间不足";
    case FailureReason::AndroidTooOld: return L"盒子的安卓版本太低，这个应用需要更新的安卓系统";
    case FailureReason::InvalidPackage: return L"不是有效的安装包，文件可能已损坏或不完整";
    case FailureReason::NewerVersionInstalled: return L"盒子上已装有这个应用更新的版本";
    case FailureReason::SignatureDiffers: return L"盒子上已有签名不同的同名应用，请先卸载它";
    case FailureReason::NoMatchingAbi: return L"这个应用不支持盒子的处理器";
    case FailureReason::DuplicatePermission: return L"盒子上的另一个应用已声明了相同的权限";
    case FailureReason::Unauthorized: return L"盒子没有允许这台电脑调试，请在电视上选择“允许”";
    case FailureReason::ConnectionLost: return L"与盒子的连接断开了";
    case FailureReason::NoAnswer: return L"盒子长时间没有响应";
    case FailureReason::NotReceived: return L"盒子没有收到完整的安装包";
    case FailureReason::FileUnreadable: return L"读取不到电脑上的这个安装包";
    case FailureReason::Cancelled: return L"已取消";
    case FailureReason::Other: break;
    }
    const std::wstring line = LastOutputLine(output);
    return line.empty() ? L"安装程序没有说明原因" : line;
}

std::wstring LastOutputLine(std::wstring_view output) {
    size_t end = output.size();
    while (end > 0 && IsBlank(output[end - 1])) --end;
    size_t start = output.find_last_of(L"\r\n", end == 0 ? 0 : end - 1);
    start = start == std::wstring_view::npos || end == 0 ? 0 : start + 1;
    while (start < end && IsBlank(output[start])) ++start;
    std::wstring line(output.substr(start, end - start));
    if (line.size() > kMaxLastLine) line = line.substr(0, kMaxLastLine - 1) + L"…";
    return line;
}

}  // namespace adb
