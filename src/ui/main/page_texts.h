#pragma once
// The install page's captions, in the skin's markup, and where the result lines stand.
#include <string>

namespace ui::texts {

// Status line of the device area in page states 0 (no box), 1 (searching) and 2 (identifying).
std::wstring StatusTitle(int pageState);
std::wstring StatusAddress(const std::wstring& address);

std::wstring DropHintWaiting();
// "拖拽APK文件到此区域可安装到<display name of the current box>".
std::wstring DropHintReady(const std::wstring& displayName);
std::wstring SearchAgainLink();
std::wstring Installing(const std::wstring& apkName);
std::wstring Construction();

// The result lines of page state 5. y < 0 means the line is hidden. When alignToFirst is set every
// line takes the x that centres the first; otherwise each line is centred on its own.
struct ResultLines {
    std::wstring line1, line2, line3;
    int y1 = -1, y2 = -1, y3 = -1;
    bool alignToFirst = false;
    bool showDonePicture = false;
};
ResultLines Results(size_t total, size_t failed);

}  // namespace ui::texts
