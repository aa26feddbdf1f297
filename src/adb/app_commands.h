#pragma once
// The conversation about a box's apps: the command lines that list, start and copy them, how
// their outcomes are recognised, and the names exported files take on the computer.
#include <cstdint>
#include <string>
#include <vector>

namespace adb {

namespace templates {
// One client run tells the packages, what the package manager knows of each, and which ones the
// TV's launcher and a phone's launcher can start (boxes before Android 7 have no "cmd" and answer
// "not found" there). The parts are apart at kSectionMark lines (app_listing.h).
inline constexpr const wchar_t* kListApps =
    L"$adb$ -s $ip$:5555 shell pm list packages -f;echo @@@@;dumpsys package packages;echo @@@@;"
    L"cmd package query-activities -a android.intent.action.MAIN -c android.intent.category.LEANBACK_LAUNCHER;"
    L"echo @@@@;cmd package query-activities -a android.intent.action.MAIN -c android.intent.category.LAUNCHER";
inline constexpr const wchar_t* kShell = L"$adb$ -s $ip$:5555 shell %s";
// A main activity of the TV's launcher, else of a phone's, as one injected event.
inline constexpr const wchar_t* kOpenApp =
    L"$adb$ -s $ip$:5555 shell monkey -p %s -c android.intent.category.LEANBACK_LAUNCHER "
    L"-c android.intent.category.LAUNCHER 1";
inline constexpr const wchar_t* kApkPaths = L"$adb$ -s $ip$:5555 shell pm path %s";
}  // namespace templates

// The longest shell command sent to a box: boxes before Android 7 take requests of 4096 bytes at
// most, the service's name and its end included.
inline constexpr size_t kMaxShellCommand = 4000;
// Boxes with "cmd" (Android 7 and later) take requests as large as a message; what bounds a
// command then is the Windows command line of the client, 32767 characters with the client's path.
inline constexpr size_t kMaxLongShellCommand = 30000;

// Whether the client said it does not know the box: Google's knows only the boxes its server has
// connected, and forgets them when the server restarts (ours reaches the box -s names by itself).
bool ClientLacksBox(const std::wstring& output);
// Whether a pull failed because a file is not on the box (any more).
bool PullFoundNoFile(const std::wstring& output);

// The pull of the files on the box into a folder on the computer, every path quoted.
std::wstring PullCommand(const std::vector<std::wstring>& remotePaths, const std::wstring& folder);

// Codes of a ListApps result.
enum ListAppsCode : int32_t { NoListing = 0, AppsListed = 1, AppsSized = 2 };

// Success when the launcher started the app ("Events injected: 1"), else Failed.
int32_t ClassifyOpen(const std::wstring& output);
// Success when the client ended well and said it pulled, else Failed.
int32_t ClassifyPull(const std::wstring& output, uint32_t exitCode);

// What an exported app is called on the computer: its label (else its package) and its version,
// fit for a Windows file name: no characters Windows refuses, no device names, no trailing dots
// or blanks, at most kMaxExportName characters.
inline constexpr size_t kMaxExportName = 80;
std::wstring ExportName(const std::wstring& label, const std::wstring& package, const std::wstring& versionName);
// The n-th name to try when the first is taken: "NAME", "NAME (2)", "NAME (3)", ... with the
// extension (".apk", or none for a folder) after it.
std::wstring NumberedName(const std::wstring& name, int n, const std::wstring& extension);

}  // namespace adb
