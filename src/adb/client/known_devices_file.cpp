#include "adb/client/known_devices_file.h"

#include <windows.h>

#include "adb/client/local_file.h"

namespace adb::client {

namespace {

std::wstring KnownDevicesPath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return FolderOf(self) + L"\\adb_devices.txt";
}

}  // namespace

KnownDevices LoadKnownDevices() {
    uint32_t ignored = 0;
    const auto text = ReadSmallFile(KnownDevicesPath(), ignored);
    return KnownDevices::FromText(text ? *text : std::string());
}

void SaveKnownDevices(const KnownDevices& devices) { ReplaceFileText(KnownDevicesPath(), devices.Text()); }

}  // namespace adb::client
