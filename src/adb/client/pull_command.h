#pragma once
// Copying files from a box over its sync service: for each file a STAT (it must exist and be a
// file), then a RECV written to the computer as it arrives. A file that cannot be had whole is
// not left behind half written.
#include <string>
#include <vector>

#include "adb/client/transport.h"

namespace adb::client {

// paths: the files on the box, then where they go: a file's new path, or a folder that exists
// (several files always go into a folder).
int PullFiles(Transport& transport, const std::vector<std::string>& paths);

}  // namespace adb::client
