#pragma once
#include <string>

namespace update {

// The agent every download announces (see ComposeUserAgent), from the system browser's, asked for
// once and kept for the rest of the process once the system gave it; empty: none.
std::wstring DownloadUserAgent();

}  // namespace update
