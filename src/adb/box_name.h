#pragma once
// The friendly Chinese name of a box's make, from its build host and product model.
#include <string>

namespace adb {

// First matching fragment of the make table (letters compared without case) gives the name;
// "智能机顶盒" when none matches; empty for empty output.
std::wstring BoxDisplayName(const std::wstring& queryOutput);

}  // namespace adb
