// Looks at and closes top-level windows by class name from outside the program under test.
//   wintool count <class>   prints how many top-level windows of that class exist
//   wintool close <class>   posts WM_CLOSE to each of them
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Query {
    const wchar_t* className;
    bool close;
    int count;
};

BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    auto* query = reinterpret_cast<Query*>(param);
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    if (!wcscmp(name, query->className)) {
        ++query->count;
        if (query->close) PostMessageW(hwnd, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 || (wcscmp(argv[1], L"count") && wcscmp(argv[1], L"close"))) {
        std::fprintf(stderr, "usage: wintool count|close <class>\n");
        return 2;
    }
    Query query{argv[2], !wcscmp(argv[1], L"close"), 0};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&query));
    std::printf("%d\n", query.count);
    return 0;
}
