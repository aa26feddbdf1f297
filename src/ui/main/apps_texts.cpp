#include "ui/main/apps_texts.h"

#include "ui/main/commands.h"

namespace ui::texts {

namespace {

std::wstring Link(int command, const std::wstring& label) {
    return L"{&#a=button:" + std::to_wstring(command) + L"}" + label + L"{&#/a}";
}

const wchar_t* Verb(AppAction action) {
    switch (action) {
    case AppAction::Open: return L"打开";
    case AppAction::Uninstall: return L"卸载";
    case AppAction::Export: return L"导出";
    }
    return L"";
}

}  // namespace

std::wstring AppsLoading() { return L"{&#font=10}{&#color=0x808080}正在读取盒子上的应用，请稍候..."; }

std::wstring AppsNoBox() {
    return L"{&#font=10}{&#color=0x808080}还没有连接盒子    {&#font=5}" + Link(cmd::kSearchAgain, L"重新扫描联网的智能电视盒");
}

std::wstring AppsBoxGone() {
    return L"{&#font=10}{&#color=0x808080}盒子已断开，无法读取应用    {&#font=5}" +
           Link(cmd::kSearchAgain, L"重新扫描联网的智能电视盒");
}

std::wstring AppsEmpty(bool filtered) { return filtered ? L"没有与搜索相符的应用" : L"盒子上没有安装应用"; }

std::wstring AppsToolbar(bool showsSystem, size_t selected) {
    std::wstring bar = L"{&#font=5}" + Link(cmd::kAppsShowSystem, showsSystem ? L"隐藏系统应用" : L"显示系统应用") +
                       L"    " + Link(cmd::kAppsRefresh, L"刷新");
    if (selected == 0) return bar + L"    {&#color=0x808080}点击行可多选";
    return bar + L"    {&#color=0x808080}已选 " + std::to_wstring(selected) + L" 个：{&#/color}" +
           Link(cmd::kAppsUninstallSelected, L"卸载所选") + L"    " + Link(cmd::kAppsExportSelected, L"导出所选");
}

std::wstring AppRowLinks(bool openable) {
    std::wstring links = L"{&#font=5}";
    if (openable) links += Link(cmd::kAppOpen, L"打开") + L"    ";
    return links + Link(cmd::kAppUninstall, L"卸载") + L"    " + Link(cmd::kAppExport, L"导出");
}

std::wstring AppsProgressLine(AppAction action, const AppsProgress& progress) {
    if (progress.total == 0) return {};
    const std::wstring verb = Verb(action);
    if (!progress.Finished())
        return L"{&#font=5}{&#color=0x808080}正在" + verb + L" " + std::to_wstring(progress.done + progress.failed + 1) +
               L"/" + std::to_wstring(progress.total) + L"，请稍候...";
    std::wstring line = L"{&#font=5}{&#color=0x808080}" + verb + L"成功 {&#color=0x009000}" +
                        std::to_wstring(progress.done) + L"{&#/color} 个";
    if (progress.failed)
        line += L"，失败 {&#color=0x0000ff}" + std::to_wstring(progress.failed) + L"{&#/color} 个（原因见各行）";
    return line;
}

std::wstring AppOutcomeText(const AppOutcome& outcome) {
    const std::wstring verb = Verb(outcome.action);
    switch (outcome.kind) {
    case AppOutcome::Kind::Working: return L"正在" + verb + L"...";
    case AppOutcome::Kind::Done: return outcome.action == AppAction::Open ? L"已在电视上打开" : L"已" + verb;
    case AppOutcome::Kind::Failed: return verb + L"失败：" + outcome.detail;
    }
    return {};
}

std::wstring UninstallQuestion(size_t count) {
    if (count == 1) return L"{&#font=5}{&#color=0x404040}确定要从盒子上卸载这个应用吗？";
    return L"{&#font=5}{&#color=0x404040}确定要从盒子上卸载所选的 " + std::to_wstring(count) + L" 个应用吗？";
}

}  // namespace ui::texts
