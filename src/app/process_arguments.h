#pragma once
#include <string>

namespace app {

// This process's argument text, computed on first use from its command line and program path.
const std::wstring& GetArgumentText();

}  // namespace app
