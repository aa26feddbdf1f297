// Looks at and closes top-level windows from outside the program under test.
//   wintool count <class>    prints how many top-level windows of that class exist
//   wintool shown <class>    prints how many of them are visible
//   wintool close <class>    posts WM_CLOSE to each of them
//   wintool title <class>    prints the title of each of them (UTF-8), one a line
//   wintool text <class>     prints what each visible one answers to WM_GETTEXT (UTF-8), each
//                            followed by an empty line: a tooltip's shown tip, which no title holds
//   wintool dialog <title>   describes the first dialog with that title, one fact a line (UTF-8):
//                              dialog <visible 0|1>
//                              control <id> <visible 0|1> <enabled 0|1> <x> <y> <text>
//                              progress <id> <position>
//                            with x, y the centre of the control on the screen; nothing when there
//                            is no such dialog
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

struct Query {
    const wchar_t* className;
    const wchar_t* action;
    bool shownOnly;
    int count;
};

void PrintTitle(HWND hwnd) {
    wchar_t title[512] = {};
    GetWindowTextW(hwnd, title, 512);
    char utf8[2048] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("%s\n", utf8);
}

void PrintUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

// Asked of the window itself: GetWindowText of another process's window reads only its title.
void PrintText(HWND hwnd) {
    wchar_t text[4096] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied))
        return;
    PrintUtf8(text);
    std::printf("\n\n");
}

BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    auto* query = reinterpret_cast<Query*>(param);
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    if (!wcscmp(name, query->className) && (!query->shownOnly || IsWindowVisible(hwnd))) {
        ++query->count;
        if (!wcscmp(query->action, L"close")) PostMessageW(hwnd, WM_CLOSE, 0, 0);
        if (!wcscmp(query->action, L"title")) PrintTitle(hwnd);
        if (!wcscmp(query->action, L"text")) PrintText(hwnd);
    }
    return TRUE;
}


BOOL CALLBACK DescribeControl(HWND control, LPARAM) {
    wchar_t text[512] = {}, name[64] = {};
    GetWindowTextW(control, text, 512);
    GetClassNameW(control, name, 64);
    RECT rect{};
    GetWindowRect(control, &rect);
    const int id = GetDlgCtrlID(control);
    std::printf("control %d %d %d %ld %ld ", id, IsWindowVisible(control) ? 1 : 0, IsWindowEnabled(control) ? 1 : 0,
                (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PrintUtf8(text);
    std::printf("\n");
    if (!_wcsicmp(name, PROGRESS_CLASSW))
        std::printf("progress %d %ld\n", id, static_cast<long>(SendMessageW(control, PBM_GETPOS, 0, 0)));
    return TRUE;
}

int DescribeDialog(const wchar_t* title) {
    HWND dialog = FindWindowW(L"#32770", title);
    if (!dialog) return 0;
    std::printf("dialog %d\n", IsWindowVisible(dialog) ? 1 : 0);
    EnumChildWindows(dialog, &DescribeControl, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc == 3 ? argv[1] : L"";
    if (command == L"dialog") return DescribeDialog(argv[2]);
    if (command != L"count" && command != L"shown" && command != L"close" && command != L"title" && command != L"text") {
        std::fprintf(stderr, "usage: wintool count|shown|close|title|text <class> | dialog <title>\n");
        return 2;
    }
    Query query{argv[2], argv[1], command == L"shown" || command == L"text", 0};
    EnumWindows(&Visit, reinterpret_cast<LPARAM>(&query));
    if (command != L"title" && command != L"text") std::printf("%d\n", query.count);
    return 0;
}
