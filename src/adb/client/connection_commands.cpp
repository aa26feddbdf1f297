// connect, disconnect and devices: the boxes the client knows, and their state.
#include "adb/client/box_connection.h"
#include "adb/client/client_texts.h"
#include "adb/client/commands.h"
#include "adb/client/console.h"
#include "adb/client/known_devices_file.h"

namespace adb::client {

namespace {

// What 'devices' says of a box: its kind when it lets us in ("device", "recovery", ...).
// Asking the box's user is left to connect: a listing must not put questions on screens.
std::string StateOf(const std::string& serial, AuthKey* key) {
    const auto endpoint = ParseEndpoint(serial);
    if (!endpoint) return "offline";
    BoxConnection box;
    const ReachResult reached = box.Reach(*endpoint, key, false);
    if (reached.stage == ReachResult::kUnauthorized) return "unauthorized";
    if (reached.stage != ReachResult::kOnline) return "offline";
    const std::string& kind = box.transport().Banner().kind;
    return kind.empty() ? "device" : kind;
}

}  // namespace

std::unique_ptr<UserKey> LoadUserKey() {
    std::string problem;
    auto key = UserKey::LoadOrCreate(DefaultKeyPath(), problem);
    if (!key) PrintError(problem);
    return key;
}

std::optional<Bytes> KeyOnDemand::Sign(std::span<const uint8_t> token) {
    UserKey* key = Key();
    return key ? key->Sign(token) : std::nullopt;
}

std::string KeyOnDemand::PublicKeyLine() const {
    const UserKey* key = Key();
    return key ? key->PublicKeyLine() : std::string();
}

UserKey* KeyOnDemand::Key() const {
    if (!read_) {
        key_ = LoadUserKey();
        read_ = true;
    }
    return key_.get();
}

// Connecting makes the key when there is none, whether the box asks for it or not: the first
// connect is where the user expects a new computer's key to appear.
int RunConnect(const std::string& address) {
    const auto endpoint = ParseEndpoint(address);
    if (!endpoint) return Fail(texts::BadAddress(address));
    const std::string serial = endpoint->Serial();
    const auto key = LoadUserKey();
    BoxConnection box;
    const ReachResult reached = box.Reach(*endpoint, key.get(), true);
    KnownDevices known = LoadKnownDevices();
    switch (reached.stage) {
        case ReachResult::kOnline: {
            const bool listed = !known.Add(serial);
            SaveKnownDevices(known);
            Print(listed ? texts::AlreadyConnectedTo(serial) : texts::ConnectedTo(serial));
            break;
        }
        case ReachResult::kUnauthorized:
            // Listed as Google's client lists it, so that 'devices' shows it waiting for its user.
            if (known.Add(serial)) SaveKnownDevices(known);
            Print(texts::FailedToAuthenticate(serial));
            break;
        case ReachResult::kNoAddress: Print(texts::CannotResolve(endpoint->host, reached.reason)); break;
        case ReachResult::kNoConnection: Print(texts::CannotConnect(serial, reached.reason)); break;
        case ReachResult::kNoHandshake: Print(texts::FailedToConnect(serial, reached.reason)); break;
    }
    // Google's client ends connect with 0 whatever happened; callers read the text.
    return 0;
}

int RunDisconnect(const std::string& address) {
    KnownDevices known = LoadKnownDevices();
    if (address.empty()) {
        known.Clear();
        SaveKnownDevices(known);
        Print(texts::DisconnectedEverything());
        return 0;
    }
    const auto endpoint = ParseEndpoint(address);
    const std::string serial = endpoint ? endpoint->Serial() : address;
    if (!known.Remove(serial)) return Fail(texts::NoSuchDevice(serial));
    SaveKnownDevices(known);
    Print(texts::Disconnected(address));
    return 0;
}

int RunDevices() {
    const KnownDevices known = LoadKnownDevices();
    KeyOnDemand key;
    Print(texts::DeviceListHeader());
    for (const std::string& serial : known.Serials()) Print(texts::DeviceListLine(serial, StateOf(serial, &key)));
    Print(texts::DeviceListEnd());
    return 0;
}

}  // namespace adb::client
