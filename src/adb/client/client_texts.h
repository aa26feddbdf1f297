#pragma once
// Everything the client prints. Where Google's client has a text for the same event, it is that
// text: the program recognises results by substrings ("connected", "Success", ...). No failure
// text may contain "connected", which the program reads as success of a connect.
#include <cstdint>
#include <string>

#include "adb/client/link_status.h"

namespace adb::client::texts {

std::string ConnectedTo(const std::string& serial);
std::string AlreadyConnectedTo(const std::string& serial);
std::string FailedToAuthenticate(const std::string& serial);
std::string FailedToConnect(const std::string& serial, const std::string& reason);
std::string CannotConnect(const std::string& serial, const std::string& reason);
std::string CannotResolve(const std::string& host, const std::string& reason);
std::string BadAddress(const std::string& text);

std::string Disconnected(const std::string& what);
std::string DisconnectedEverything();
std::string NoSuchDevice(const std::string& serial);

std::string DeviceListHeader();
std::string DeviceListLine(const std::string& serial, const std::string& state);
std::string DeviceListEnd();

// Errors of commands that address a box.
std::string DeviceUnauthorized();
std::string DeviceOffline(const std::string& serial, const std::string& reason);
std::string DeviceUnreachable(const std::string& serial, const std::string& reason);
std::string DeviceNotFound(const std::string& serial);
std::string NoDevices();
std::string MoreThanOneDevice();
std::string CommandFailed(const std::string& reason);

std::string PerformingStreamedInstall();
std::string PerformingPushInstall();
std::string FailedToStat(const std::string& path, const std::string& reason);
std::string NotAnApk(const std::string& path);
std::string FailedToInstall(const std::string& path, const std::string& detail);
std::string FailedToCopy(const std::string& local, const std::string& remote, const std::string& reason);
std::string Pushed(const std::string& local, uint64_t bytes, uint64_t milliseconds);
// How much of an APK being installed has gone to the box: "progress: SENT/TOTAL" (bytes).
std::string UploadProgress(uint64_t sent, uint64_t total);

std::string Pulled(const std::string& remote, uint64_t bytes, uint64_t milliseconds);
// After several files.
std::string PulledAll(size_t files, uint64_t bytes, uint64_t milliseconds);
std::string RemoteObjectMissing(const std::string& remote);
std::string RemoteObjectNotAFile(const std::string& remote);
std::string TargetNotAFolder(const std::string& local);
std::string CannotCreate(const std::string& local, const std::string& reason);
std::string CannotWrite(const std::string& local, const std::string& reason);
std::string FailedToPull(const std::string& remote, const std::string& reason);

std::string Version(const std::string& version, const std::string& location);
std::string Help();

// Why an exchange failed, in words.
std::string LinkReason(const LinkStatus& status);
// A Winsock error: a fixed English text and the code, never the word "connected" (Windows' own
// text for a timeout has it).
std::string SocketErrorText(uint32_t code);
// A Windows file error, in the words of the POSIX errors Google's client shows.
std::string FileErrorText(uint32_t code);

}  // namespace adb::client::texts
