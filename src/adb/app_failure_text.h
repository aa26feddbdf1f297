#pragma once
// Why an action on a box's app (start, uninstall, export) failed, in plain Chinese, from what the
// client printed. Kept to one function so that the app page can read the install page's reason
// table instead once both exist side by side.
#include <string>
#include <string_view>

namespace adb {

// The reason of the failure; when nothing is recognised, the client's last line that says
// anything (at most kMaxAppFailureLine characters), or a plain "未知原因" when it said nothing.
std::wstring AppFailureText(std::wstring_view output);
inline constexpr size_t kMaxAppFailureLine = 160;

}  // namespace adb
