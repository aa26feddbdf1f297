#pragma once
// What a box tells about its installed apps, read from the client's output: the package list
// ("pm list packages" in its variants), the package manager's dump ("dumpsys package"), its
// launcher entries ("cmd package query-activities"), the APK files of one package ("pm path") and
// their sizes ("ls -l"). Boxes word these differently from one Android version to the next; every
// reader takes what it recognises and passes over the rest, and nothing a box says can make it
// read out of bounds or keep more than the text holds.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adb {

struct InstalledApp {
    std::wstring package;
    std::wstring label;        // as the box tells it; empty when it cannot
    std::wstring versionName;
    int64_t versionCode = 0;
    uint64_t bytes = 0;        // of its APK files on the box; 0 while unknown
    std::wstring updated;      // its last install, "YYYY-MM-DD HH:MM:SS" in the box's time; empty: unknown
    bool system = false;       // one of the system's own
    // Whether a launcher can start it; unknown on boxes that cannot be asked (before Android 7).
    std::optional<bool> launchable;
    std::vector<std::wstring> apkPaths;  // base APK first, then the splits
};

// One line of "pm list packages": "package:NAME", "package:PATH=NAME", either followed by
// " versionCode:N" or " uid:N" (newer boxes, when asked).
struct ListedPackage {
    std::wstring name;
    std::wstring path;  // empty without -f
};
std::vector<ListedPackage> ParsePackageList(std::wstring_view text);

// One "Package [NAME] (...):" block of "dumpsys package".
struct PackageDetails {
    int64_t versionCode = 0;
    std::wstring versionName;
    std::wstring codePath;      // the APK (before Android 5) or its folder
    std::wstring lastUpdate;    // lastUpdateTime=
    bool system = false;        // SYSTEM among its package flags
    bool installed = true;      // false when user 0 has it uninstalled (a kept system package)
    std::vector<std::wstring> splits;  // from "splits=[base, NAME, ...]", without base
};
std::map<std::wstring, PackageDetails> ParsePackageDump(std::wstring_view text);

// "cmd package query-activities": each package with a launcher activity, with the label that
// the activity or else its application declares as plain text (empty when it is a resource,
// which the box does not spell out).
std::map<std::wstring, std::wstring> ParseLauncherActivities(std::wstring_view text);

// "pm path NAME": the package's APK files, base first.
std::vector<std::wstring> ParsePackagePaths(std::wstring_view text);

// The listing the engine asks for in one shell command: its four parts, split at kSectionMark
// lines: the package list, the dump, and the launcher queries of the TV's and a phone's launcher.
inline constexpr std::wstring_view kSectionMark = L"@@@@";
std::vector<std::wstring_view> SplitSections(std::wstring_view text);

// Every listed package (with its path) and what the dump and the launchers tell of it. A package
// whose name or path is not safe to pass on (IsPackageName, IsSafeRemotePath) is left out; so is
// one that user 0 does not have.
std::vector<InstalledApp> MergeListing(const std::vector<ListedPackage>& packages,
                                       const std::map<std::wstring, PackageDetails>& details,
                                       const std::map<std::wstring, std::wstring>& tvLauncher,
                                       const std::map<std::wstring, std::wstring>& phoneLauncher,
                                       bool launchersKnown);

// The whole listing command's output read at once; launchers are known when the box answered
// its launcher queries at all (it has "cmd").
std::vector<InstalledApp> ReadListing(std::wstring_view output);

// Shell commands that print the sizes of the apps' APK files, each at most maxLength characters:
// "echo =NAME;ls -l 'PATH' ...;" per app.
std::vector<std::wstring> SizeCommands(const std::vector<InstalledApp>& apps, size_t maxLength);
// Their output: the total of each app's regular files.
std::map<std::wstring, uint64_t> ParseSizes(std::wstring_view text);

// Java package names: letters, digits, '_' and '.', at most 255 characters.
bool IsPackageName(std::wstring_view name);
// An absolute path on the box that survives a shell's single quotes and a Windows command line's
// double quotes unchanged: no quotes, backslashes or control characters.
bool IsSafeRemotePath(std::wstring_view path);

}  // namespace adb
