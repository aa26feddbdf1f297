// Looks at and closes top-level windows by class name from outside the program under test.
//   wintool count <class>   prints how many top-level windows of that class exist
//   wintool close <class>   posts WM_CLOSE to each of them
//   wintool title <class>   prints the title of each of them (UTF-8), one a line
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

struct Query {
    const wchar_t* className;
    const wchar_t* action;
    int count;
};

void PrintTitle(HWND hwnd) {
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, 512);
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("%s\n", utf8);
}

BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    auto* query = reinterpret_cast<Query*>(param);
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    if (!wcscmp(name, query->className)) {
        ++query->count;
        if (!wcscmp(query->action, L"close")) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        if (!wcscmp(query->action, L"title")) PrintTitle(hwnd);
    }
    return TRUE;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3 || (wcscmp(argv[1], L"count") && wcscmp(argv[1], L"close") && wcscmp(argv[1], L"title"))) {
        std::fprintf(stderr, "usage: wintool count|close|title <class>\n");
        return 2;
    }
    Query query{argv[2], argv[1], 0};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&query));
    if (wcscmp(argv[1], L"title")) std::printf("%d\n", query.count);
    return 0;
}
