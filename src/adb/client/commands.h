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

// The user's key, read (LoadUserKey) only once a box asks for it: a box that lets any computer
// in, as many TV boxes do, then costs no key file and no cryptography at each command.
class KeyOnDemand : public AuthKey {
public:
    std::optional<Bytes> Sign(std::span<const uint8_t> token) override;
    // Empty when there is no key.
    std::string PublicKeyLine() const override;

private:
    UserKey* Key() const;
    mutable std::unique_ptr<UserKey> key_;
    mutable bool read_ = false;
};

}  // namespace adb::client
