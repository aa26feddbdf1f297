#pragma once
// Command identifiers that the main window's controls and links report.
namespace ui::cmd {

constexpr int kClose = 2;
constexpr int kDevicePanel = 301;
constexpr int kMinimize = 303;
constexpr int kAbout = 304;
constexpr int kContinue = 305;      // links "继续安装" and "继续安装其他应用"
constexpr int kInstallAgain = 306;  // links "重新安装"
constexpr int kSearchAgain = 307;   // link "重新扫描联网的智能电视盒" and the picker's row "重新搜索盒子"
constexpr int kShowReasons = 308;   // link "查看原因" (and "收起原因") under the results
constexpr int kCancelInstall = 309; // link "取消安装" while installing
constexpr int kTabInstall = 1001;
constexpr int kTabApps = 1002;
constexpr int kTabTasks = 1003;

}  // namespace ui::cmd
