#pragma once
// The app-management tab's captions in the skin's markup. None holds text from a box: app names
// are drawn as plain text by the rows and the confirmation (plain_text_wnd.h).
#include <cstddef>
#include <string>

#include "ui/main/apps_model.h"

namespace ui::texts {

std::wstring AppsLoading();
// Why there is no list: no box yet, or the box went away; with the search-again link.
std::wstring AppsNoBox();
std::wstring AppsBoxGone();
// The empty list's caption (plain text): with a search text, that nothing matches it.
std::wstring AppsEmpty(bool filtered);
// The links over the list: the system toggle, refresh, and the actions on the selected rows.
std::wstring AppsToolbar(bool showsSystem, size_t selected);
// A row's links; "打开" only for an app a launcher can start (or that may be one).
std::wstring AppRowLinks(bool openable);
// Where a click's actions stand: "正在卸载 2/5" while working, then the counts.
std::wstring AppsProgressLine(AppAction action, const AppsProgress& progress);
// A row's outcome as plain text: "正在导出...", "已导出", "失败：<reason>".
std::wstring AppOutcomeText(const AppOutcome& outcome);
// The confirmation's question about count apps (the name of one is drawn apart, as plain text).
std::wstring UninstallQuestion(size_t count);

}  // namespace ui::texts
