#include "app/single_instance.h"

namespace app {

HANDLE AcquireSingleInstance(const wchar_t* mutexName) {
    HANDLE mutex = CreateMutexW(nullptr, TRUE, mutexName);
    if (!mutex) return nullptr;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
        return nullptr;
    }
    return mutex;
}

HANDLE TakeOverSingleInstance(const wchar_t* mutexName, DWORD timeoutMs) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, mutexName);
    if (!mutex) return nullptr;
    // The old instance never releases the mutex: it is abandoned when its process ends.
    const DWORD waited = WaitForSingleObject(mutex, timeoutMs);
    if (waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED) return mutex;
    CloseHandle(mutex);
    return nullptr;
}

}  // namespace app
