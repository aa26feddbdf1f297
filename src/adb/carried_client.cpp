#include "adb/carried_client.h"

#include <windows.h>

namespace adb {

bool IsCarriedClient(const std::wstring& path) {
    // As data: nothing of the file runs, and its imports are not loaded.
    const HMODULE file = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!file) return false;
    const bool marked = FindResourceW(file, kCarriedClientMark, MAKEINTRESOURCEW(10) /* RT_RCDATA */) != nullptr;
    FreeLibrary(file);
    return marked;
}

}  // namespace adb
