// The names of a drop as Windows hands them over: a DROPFILES block in global memory, names
// one after the other, each ended by a NUL, the list by a second one.
#include "win/dropped_files.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

namespace {

HDROP MakeDrop(const std::vector<std::wstring>& names) {
    std::wstring list;
    for (const std::wstring& name : names) list += name + L'\0';
    list += L'\0';
    const size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    std::memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}

TEST(DroppedFiles, NamesOfAnyLengthComeWholeInDropOrder) {
    const std::wstring deep = L"C:\\" + std::wstring(120, L'文') + L"\\" + std::wstring(200, L'x') + L"\\应用.apk";
    ASSERT_GT(deep.size(), static_cast<size_t>(MAX_PATH));
    const std::vector<std::wstring> names{L"C:\\a.apk", deep, L"D:\\b c.apk"};
    HDROP drop = MakeDrop(names);
    EXPECT_EQ(win::DroppedFileNames(drop, 100), names);
    // Only the first names are looked at.
    EXPECT_EQ(win::DroppedFileNames(drop, 2), (std::vector<std::wstring>{L"C:\\a.apk", deep}));
    GlobalFree(drop);
}

}  // namespace
