#include "app/process_arguments.h"

#include <windows.h>

#include "app/argument_text.h"

namespace app {

const std::wstring& GetArgumentText() {
    static const std::wstring text = [] {
        wchar_t path[MAX_PATH] = {};
        wchar_t longPath[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, path, MAX_PATH - 1);
        if (!GetLongPathNameW(path, longPath, MAX_PATH - 1)) lstrcpynW(longPath, path, MAX_PATH);
        return ExtractArgumentText(GetCommandLineW(), longPath);
    }();
    return text;
}

}  // namespace app
