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

}  // namespace app
