#pragma once
// UTF-8 inside the client, UTF-16 at the Windows API.
#include <string>
#include <string_view>

namespace adb::client {

std::string Utf8(std::wstring_view text);
std::wstring Wide(std::string_view utf8);

}  // namespace adb::client
