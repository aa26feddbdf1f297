#pragma once
// The client the program carries (src/adb/client) is told apart from Google's by a resource of
// its own. It has no server: every command reaches its box by itself, so a connect line before
// it only costs one more process and handshake. And it starts no program of its own, so it needs
// no console, whose making costs a process of its own under Wine.
#include <string>

namespace adb {

// The name of that resource (of type RCDATA) in the client's file.
inline constexpr const wchar_t* kCarriedClientMark = L"MIVORA_CARRIED_CLIENT";

// Whether the program file at path has the mark; false for a file that cannot be read.
bool IsCarriedClient(const std::wstring& path);

}  // namespace adb
