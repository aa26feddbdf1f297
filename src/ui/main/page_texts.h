#pragma once
// The main window's captions, in the skin's markup. Where they stand is the pages' business
// (page_descriptions.h).
#include <cstddef>
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

// The result lines of page state 5.
std::wstring AllInstalled();
std::wstring ContinueLink();
std::wstring SomeInstalled();
std::wstring InstalledCount(size_t count);
// The failure count with the links to install again and to go on with other applications.
std::wstring FailedCountWithLinks(size_t count);
std::wstring NothingInstalled();
std::wstring InstallAgainLink();
std::wstring ContinueWithOthersLink();

}  // namespace ui::texts
