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
// The app-management tab: its controls, its links and the links of its rows.
constexpr int kAppsFirst = 320;
constexpr int kAppsSearch = 320;           // the search field
constexpr int kAppsList = 321;
constexpr int kAppsHeader = 322;
constexpr int kAppsShowSystem = 323;       // link "显示系统应用" / "隐藏系统应用"
constexpr int kAppsRefresh = 324;          // link "刷新"
constexpr int kAppsUninstallSelected = 325;
constexpr int kAppsExportSelected = 326;
constexpr int kAppOpen = 327;              // a row's links
constexpr int kAppUninstall = 328;
constexpr int kAppExport = 329;
constexpr int kAppsLast = 329;
constexpr int kTabInstall = 1001;
constexpr int kTabApps = 1002;
constexpr int kTabTasks = 1003;

}  // namespace ui::cmd
