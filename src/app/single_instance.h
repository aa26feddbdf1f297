#pragma once
#include <windows.h>

namespace app {

// The name the first instance holds for the life of its process.
inline constexpr const wchar_t* kSingleInstanceMutexName = L"Local\\ClientFrameWndClass";

// Takes the named mutex for this process. Null when another instance holds it or it cannot be made.
HANDLE AcquireSingleInstance(const wchar_t* mutexName);

// For the instance that a self-update starts while the old one closes: waits, at most timeoutMs,
// until the instance that holds the mutex has ended (its process holds the mutex until it exits),
// and then holds it itself. Null when the old instance is still there after the wait, or the
// mutex cannot be had.
HANDLE TakeOverSingleInstance(const wchar_t* mutexName, DWORD timeoutMs);

}  // namespace app
