#pragma once
// The list of boxes connected before, in adb_devices.txt beside the client's own file.
#include "adb/client/known_devices.h"

namespace adb::client {

KnownDevices LoadKnownDevices();
void SaveKnownDevices(const KnownDevices& devices);

}  // namespace adb::client
