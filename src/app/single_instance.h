#pragma once
#include <windows.h>

namespace app {

// The name the first instance holds for the life of its process.
inline constexpr const wchar_t* kSingleInstanceMutexName = L"Local\\ClientFrameWndClass";

// Takes the named mutex for this process. Null when another instance holds it or it cannot be made.
HANDLE AcquireSingleInstance(const wchar_t* mutexName);

}  // namespace app
