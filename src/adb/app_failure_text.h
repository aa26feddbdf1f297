#pragma once
// Why an action on a box's app (start, uninstall, export) failed, in plain Chinese, from what the
// client printed: the app actions' own reasons, then those every command on a box shares.
#include <string>
#include <string_view>

namespace adb {

// The reason of the failure; when nothing is recognised, the client's last line that says
// anything (at most kMaxLastLine characters), or a plain "未知原因" when it said nothing.
std::wstring AppFailureText(std::wstring_view output);

}  // namespace adb
