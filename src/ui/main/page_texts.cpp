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

ResultLines Results(size_t total, size_t failed) {
    ResultLines lines;
    if (failed == 0 && total > 0) {
        lines.showDonePicture = true;
        lines.line1 = L"{&#font=10}{&#color=0x808080}恭喜，全部安装完成！";
        lines.y1 = 340;
        lines.line2 = Link(cmd::kContinue, L"继续安装");
        lines.y2 = 390;
    } else if (failed > 0 && failed < total) {
        lines.showDonePicture = true;
        lines.alignToFirst = true;
        lines.line1 = L"{&#font=10}{&#color=0x808080}恭喜，安装完成！";
        lines.y1 = 320;
        lines.line2 = L"{&#font=5}{&#color=0x808080}安装成功 {&#color=0x009000}" + std::to_wstring(total - failed) +
                      L"{&#/color} 个";
        lines.y2 = 360;
        lines.line3 = L"{&#font=5}{&#color=0x808080}安装失败 {&#color=0x0000ff}" + std::to_wstring(failed) +
                      L"{&#/color} 个    {&#a=button:" + std::to_wstring(cmd::kInstallAgain) +
                      L"}重新安装{&#/a}    " + Link(cmd::kContinue, L"继续安装其他应用");
        lines.y3 = 390;
    } else {
        lines.line1 = L"{&#font=10}{&#color=0x808080}安装失败，无效的安装包或者网络故障！";
        lines.y1 = 300;
        lines.line3 = Link(cmd::kInstallAgain, L"重新安装");
        lines.y3 = 360;
        lines.line2 = Link(cmd::kContinue, L"继续安装其他应用");
        lines.y2 = 390;
    }
    return lines;
}

}  // namespace ui::texts
