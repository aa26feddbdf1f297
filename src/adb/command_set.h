#pragma once
// The conversation with the ADB client: command templates, how a box is written into them, and how
// the client's text output and exit code are recognised. The tests on the text are case-insensitive
// (ASCII letters).
#include <cstdint>
#include <string>

#include "base/ascii_text.h"
#include "base/box_address.h"

namespace adb {

using base::BoxAddress;
using base::BoxText;
using base::ContainsNoCase;
using base::kNoBox;

enum ShellTaskKind : int32_t {
    Connect = 0,       // connect and disconnect
    Install = 1,
    Uninstall = 2,     // its results are classified as installs are
    QueryModel = 3,    // build host and product model
    ListDevices = 4,
    ListPackages = 5,
    ListApps = 6,      // the apps of a box, with what it tells of each (app_commands.h)
    OpenApp = 7,       // an app started on the TV's screen
    ExportApp = 8,     // an app's APK files copied to the computer
};

// Result codes of kind Connect.
enum ConnectCode : int32_t { NotConnected = 0, Connected = 1 };
// Result codes of kind Install. Started and Progress come while an APK is being installed (Progress
// with how far its upload has come); the others end it.
enum InstallCode : int32_t { Started = 1, Success = 2, AlreadyExists = 3, Failed = 4, InvalidUri = 5, Progress = 6 };

namespace templates {
inline constexpr const wchar_t* kStartServer = L"$adb$ start-server";
inline constexpr const wchar_t* kKillServer = L"$adb$ kill-server";
inline constexpr const wchar_t* kConnect = L"$adb$ connect %s";
inline constexpr const wchar_t* kDisconnect = L"$adb$ disconnect %s";
inline constexpr const wchar_t* kListDevices = L"$adb$ devices\r\n$adb$ devices\r\n";
inline constexpr const wchar_t* kQueryModel =
    L"$adb$ -s $ip$:5555 shell getprop ro.build.host;getprop ro.product.model";
inline constexpr const wchar_t* kListPackages = L"$adb$ -s $ip$:5555 shell pm list packages -f";
inline constexpr const wchar_t* kInstall = L"$adb$ -s %s:5555 install \"%s\"";
inline constexpr const wchar_t* kUninstall = L"$adb$ -s %s:5555 uninstall %s";
}  // namespace templates

// Fills the template's "%s" markers, in order, with the given texts; text is inserted as it is.
std::wstring FormatTemplate(const wchar_t* pattern, const std::wstring& first, const std::wstring& second = {});

// Connected (1) when the output holds "connected" anywhere, else NotConnected (0).
int32_t ClassifyConnect(const std::wstring& output);

// Success only for a line that begins with "Success" from a client that ended with exit code 0:
// the text alone cannot tell, since a failure names the staged path, and a folder called
// "Successor" would make it a success. Otherwise AlreadyExists or InvalidUri by their words
// anywhere in the output, else Failed.
int32_t ClassifyInstall(const std::wstring& output, uint32_t exitCode);

}  // namespace adb
