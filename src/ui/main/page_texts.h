#pragma once
// The main window's captions, in the skin's markup. Where they stand is the pages' business
// (page_descriptions.h). Names, addresses and reasons go in escaped: they come from outside.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ui/main/install_queue.h"

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

// Under the installing line: "第 2 个，共 5 个 · 45%" (the percent only when known).
std::wstring InstallProgress(size_t position, size_t count, int32_t percent);
std::wstring CancelLink();
std::wstring Cancelling();
// The link under the results that shows the reasons, or hides them again.
std::wstring ReasonsLink(bool shown);
// One failed APK with its reason.
std::wstring ReasonLine(const FailedApk& apk);
// In place of the last reason line when more failed than there are lines.
std::wstring MoreReasons(size_t count);
// The tooltip over the failure count: one line per failed APK, as plain text.
std::wstring ReasonsTip(const std::vector<FailedApk>& failed);
constexpr size_t kMaxTipReasons = 20;

// The picker's rows: a box's name over its address, and the last row, a search again.
std::wstring PickerName(const std::wstring& name);
std::wstring PickerAddress(const std::wstring& address);
std::wstring PickerSearchAgain();

}  // namespace ui::texts
