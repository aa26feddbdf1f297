#pragma once
// The client's commands, each printing its own results and returning the process exit code.
#include <memory>
#include <string>

#include "adb/client/client_arguments.h"
#include "adb/client/user_key.h"

namespace adb::client {

int RunConnect(const std::string& address);
int RunDisconnect(const std::string& address);
int RunDevices();
// shell, install, uninstall and pull: the commands that talk to one box.
int RunBoxCommand(const ClientCommand& command);

// The user's key; when it cannot be had, a warning and nothing (boxes that want a key then
// refuse this client).
std::unique_ptr<UserKey> LoadUserKey();

}  // namespace adb::client
