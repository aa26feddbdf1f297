#include "ui/main/page_texts.h"

#include "ui/main/commands.h"
#include "ui/skin/text/markup_parser.h"

namespace ui::texts {

namespace {

using skin::EscapeMarkupText;

std::wstring Link(int command, const wchar_t* label) {
    return L"{&#font=5}{&#a=button:" + std::to_wstring(command) + L"}" + label + L"{&#/a}";
}

std::wstring PlainReason(const FailedApk& apk) { return apk.name + L"：" + apk.reason; }

}  // namespace

std::wstring StatusTitle(int pageState) {
    const wchar_t* text = pageState == 0 ? L"没有找到盒子" : pageState == 1 ? L"正在寻找盒子" : L"获取盒子信息";
    return std::wstring(L"{&#font=8}{&#color=0xffffff}") + text + L"{&#/color}{&#/font}";
}

std::wstring StatusAddress(const std::wstring& address) {
    return L"{&#font=3}{&#color=0xffffff}" + EscapeMarkupText(address) + L"{&#/color}{&#/font}";
}

std::wstring DropHintWaiting() { return L"{&#font=10}{&#color=0xb0b0b0}拖拽APK文件到此区域可安装到智能电视盒"; }

std::wstring DropHintReady(const std::wstring& displayName) {
    return L"{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到" + EscapeMarkupText(displayName);
}

std::wstring SearchAgainLink() { return Link(cmd::kSearchAgain, L"重新扫描联网的智能电视盒"); }

std::wstring Installing(const std::wstring& apkName) {
    return L"{&#font=10}{&#color=0x808080}正在安装" + EscapeMarkupText(apkName) + L"，请稍候...";
}

std::wstring Construction() { return L"{&#font=10}{&#color=0x808080}功能建设中，请持续关注......"; }

std::wstring AllInstalled() { return L"{&#font=10}{&#color=0x808080}恭喜，全部安装完成！"; }

std::wstring ContinueLink() { return Link(cmd::kContinue, L"继续安装"); }

std::wstring SomeInstalled() { return L"{&#font=10}{&#color=0x808080}恭喜，安装完成！"; }

std::wstring InstalledCount(size_t count) {
    return L"{&#font=5}{&#color=0x808080}安装成功 {&#color=0x009000}" + std::to_wstring(count) + L"{&#/color} 个";
}

std::wstring FailedCountWithLinks(size_t count) {
    return L"{&#font=5}{&#color=0x808080}安装失败 {&#color=0x0000ff}" + std::to_wstring(count) + L"{&#/color} 个    {&#a=button:" +
           std::to_wstring(cmd::kInstallAgain) + L"}重新安装{&#/a}    " + ContinueWithOthersLink();
}

std::wstring NothingInstalled() { return L"{&#font=10}{&#color=0x808080}安装失败，无效的安装包或者网络故障！"; }

std::wstring InstallAgainLink() { return Link(cmd::kInstallAgain, L"重新安装"); }

std::wstring ContinueWithOthersLink() { return Link(cmd::kContinue, L"继续安装其他应用"); }

std::wstring InstallProgress(size_t position, size_t count, int32_t percent) {
    std::wstring text = L"{&#font=5}{&#color=0x808080}第 " + std::to_wstring(position) + L" 个，共 " +
                        std::to_wstring(count) + L" 个";
    if (percent >= 0) text += L" · " + std::to_wstring(percent) + L"%";
    return text;
}

std::wstring CancelLink() { return Link(cmd::kCancelInstall, L"取消安装"); }

std::wstring Cancelling() { return L"{&#font=5}{&#color=0x808080}正在取消..."; }

std::wstring ReasonsLink(bool shown) { return Link(cmd::kShowReasons, shown ? L"收起原因" : L"查看原因"); }

std::wstring ReasonLine(const FailedApk& apk) {
    return L"{&#font=3}{&#color=0x808080}" + EscapeMarkupText(apk.name) + L"：{&#color=0x0000ff}" +
           EscapeMarkupText(apk.reason) + L"{&#/color}";
}

std::wstring MoreReasons(size_t count) {
    return L"{&#font=3}{&#color=0x808080}…… 还有 " + std::to_wstring(count) + L" 个";
}

std::wstring ReasonsTip(const std::vector<FailedApk>& failed) {
    std::wstring tip;
    for (size_t i = 0; i < failed.size() && i < kMaxTipReasons; ++i) {
        if (!tip.empty()) tip += L"\r\n";
        tip += PlainReason(failed[i]);
    }
    if (failed.size() > kMaxTipReasons) tip += L"\r\n…… 还有 " + std::to_wstring(failed.size() - kMaxTipReasons) + L" 个";
    return tip;
}

std::wstring PickerName(const std::wstring& name) { return L"{&#font=8}{&#color=0xffffff}" + EscapeMarkupText(name); }

std::wstring PickerAddress(const std::wstring& address) {
    return L"{&#font=3}{&#color=0xffffff}" + EscapeMarkupText(address);
}

std::wstring PickerSearchAgain() { return L"{&#font=8}{&#color=0xffffff}重新搜索盒子"; }

}  // namespace ui::texts
