#include "ui/main/page_texts.h"

#include "ui/main/commands.h"

namespace ui::texts {

namespace {

std::wstring Link(int command, const wchar_t* label) {
    return L"{&#font=5}{&#a=button:" + std::to_wstring(command) + L"}" + label + L"{&#/a}";
}

}  // namespace

std::wstring StatusTitle(int pageState) {
    const wchar_t* text = pageState == 0 ? L"没有找到盒子" : pageState == 1 ? L"正在寻找盒子" : L"获取盒子信息";
    return std::wstring(L"{&#font=8}{&#color=0xffffff}") + text + L"{&#/color}{&#/font}";
}

std::wstring StatusAddress(const std::wstring& address) {
    return L"{&#font=3}{&#color=0xffffff}" + address + L"{&#/color}{&#/font}";
}

std::wstring DropHintWaiting() { return L"{&#font=10}{&#color=0xb0b0b0}拖拽APK文件到此区域可安装到智能电视盒"; }

std::wstring DropHintReady(const std::wstring& displayName) {
    return L"{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到" + displayName;
}

std::wstring SearchAgainLink() { return Link(cmd::kSearchAgain, L"重新扫描联网的智能电视盒"); }

std::wstring Installing(const std::wstring& apkName) {
    return L"{&#font=10}{&#color=0x808080}正在安装" + apkName + L"，请稍候...";
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

}  // namespace ui::texts
