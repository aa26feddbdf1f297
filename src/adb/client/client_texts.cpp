#include "adb/client/client_texts.h"

#include "adb/client/time_limits.h"

namespace adb::client::texts {

namespace {

std::string Seconds(uint32_t milliseconds) { return std::to_string(milliseconds / 1000) + " s"; }

// value / 10^decimals as a decimal fraction with that many digits.
std::string Fixed(uint64_t value, int decimals) {
    uint64_t scale = 1;
    for (int i = 0; i < decimals; ++i) scale *= 10;
    std::string fraction = std::to_string(value % scale);
    fraction.insert(0, static_cast<size_t>(decimals) - fraction.size(), '0');
    return std::to_string(value / scale) + "." + fraction;
}

// "1 file pushed, 0 skipped. 12.3 MB/s (12345 bytes in 1.000s)", as Google's client sums a transfer up.
std::string TransferSummary(const std::string& files, uint64_t bytes, uint64_t milliseconds) {
    const uint64_t elapsed = milliseconds ? milliseconds : 1;
    const uint64_t tenthsMegabytePerSecond = bytes * 10 * 1000 / elapsed / (1024 * 1024);
    return files + ", 0 skipped. " + Fixed(tenthsMegabytePerSecond, 1) + " MB/s (" + std::to_string(bytes) +
           " bytes in " + Fixed(milliseconds, 3) + "s)\n";
}

}  // namespace

std::string ConnectedTo(const std::string& serial) { return "connected to " + serial + "\n"; }
std::string AlreadyConnectedTo(const std::string& serial) { return "already connected to " + serial + "\n"; }
std::string FailedToAuthenticate(const std::string& serial) { return "failed to authenticate to " + serial + "\n"; }
std::string FailedToConnect(const std::string& serial, const std::string& reason) {
    return "failed to connect to " + serial + ": " + reason + "\n";
}
std::string CannotConnect(const std::string& serial, const std::string& reason) {
    return "cannot connect to " + serial + ": " + reason + "\n";
}
std::string CannotResolve(const std::string& host, const std::string& reason) {
    return "failed to resolve host: '" + host + "': " + reason + "\n";
}
std::string BadAddress(const std::string& text) { return "adb: bad address '" + text + "' (HOST or HOST:PORT)\n"; }

std::string Disconnected(const std::string& what) { return "disconnected " + what + "\n"; }
std::string DisconnectedEverything() { return "disconnected everything\n"; }
std::string NoSuchDevice(const std::string& serial) { return "error: no such device '" + serial + "'\n"; }

std::string DeviceListHeader() { return "List of devices attached\n"; }
std::string DeviceListLine(const std::string& serial, const std::string& state) {
    return serial + "\t" + state + "\n";
}
std::string DeviceListEnd() { return "\n"; }

std::string DeviceUnauthorized() {
    return "error: device unauthorized.\n"
           "This adb server's $ADB_VENDOR_KEYS is not set\n"
           "Try 'adb kill-server' if that seems wrong.\n"
           "Otherwise check for a confirmation dialog on your device.\n";
}
std::string DeviceOffline(const std::string& serial, const std::string& reason) {
    return "error: device '" + serial + "' offline: " + reason + "\n";
}
std::string DeviceUnreachable(const std::string& serial, const std::string& reason) {
    return "error: cannot connect to " + serial + ": " + reason + "\n";
}
std::string DeviceNotFound(const std::string& serial) { return "error: device '" + serial + "' not found\n"; }
std::string NoDevices() { return "error: no devices/emulators found\n"; }
std::string MoreThanOneDevice() { return "error: more than one device/emulator\n"; }
std::string CommandFailed(const std::string& reason) { return "error: " + reason + "\n"; }

std::string PerformingStreamedInstall() { return "Performing Streamed Install\n"; }
std::string PerformingPushInstall() { return "Performing Push Install\n"; }
std::string FailedToStat(const std::string& path, const std::string& reason) {
    return "adb: failed to stat " + path + ": " + reason + "\n";
}
std::string NotAnApk(const std::string& path) { return "adb: filename doesn't end .apk: " + path + "\n"; }
std::string FailedToInstall(const std::string& path, const std::string& detail) {
    return "adb: failed to install " + path + ": " + detail + "\n";
}
std::string FailedToCopy(const std::string& local, const std::string& remote, const std::string& reason) {
    return "adb: error: failed to copy '" + local + "' to '" + remote + "': " + reason + "\n";
}
std::string Pushed(const std::string& local, uint64_t bytes, uint64_t milliseconds) {
    return local + ": " + TransferSummary("1 file pushed", bytes, milliseconds);
}

std::string Pulled(const std::string& remote, uint64_t bytes, uint64_t milliseconds) {
    return remote + ": " + TransferSummary("1 file pulled", bytes, milliseconds);
}

std::string PulledAll(size_t files, uint64_t bytes, uint64_t milliseconds) {
    return TransferSummary(std::to_string(files) + " files pulled", bytes, milliseconds);
}

std::string RemoteObjectMissing(const std::string& remote) {
    return "adb: error: remote object '" + remote + "' does not exist\n";
}
std::string RemoteObjectNotAFile(const std::string& remote) {
    return "adb: error: remote object '" + remote + "' is not a file (this client pulls files only)\n";
}
std::string TargetNotAFolder(const std::string& local) {
    return "adb: error: target '" + local + "' is not a directory\n";
}
std::string CannotCreate(const std::string& local, const std::string& reason) {
    return "adb: error: cannot create file/directory '" + local + "': " + reason + "\n";
}
std::string CannotWrite(const std::string& local, const std::string& reason) {
    return "adb: error: cannot write '" + local + "': " + reason + "\n";
}
std::string FailedToPull(const std::string& remote, const std::string& reason) {
    return "adb: error: failed to pull '" + remote + "': " + reason + "\n";
}

std::string UploadProgress(uint64_t sent, uint64_t total) {
    return "progress: " + std::to_string(sent) + "/" + std::to_string(total) + "\n";
}

std::string Version(const std::string& version, const std::string& location) {
    return "Android Debug Bridge version 1.0.41\nVersion " + version + "-mivora\nInstalled as " + location + "\n";
}

std::string Help() {
    return "Android Debug Bridge client of Mivora Box Assistant: talks to each box over TCP itself,\n"
           "without a background server.\n"
           "\n"
           " connect HOST[:PORT]           connect to a box (port 5555 unless given); 'devices' lists it\n"
           " disconnect [HOST[:PORT]]      forget a box, or every box\n"
           " devices                       the boxes connected before, in their state now\n"
           " -s HOST:PORT shell COMMAND... run a command on a box\n"
           " -s HOST:PORT install [-r] FILE.apk\n"
           "                               install an APK (-r: old boxes replace an installed package)\n"
           " -s HOST:PORT uninstall PACKAGE\n"
           "                               remove a package\n"
           " -s HOST:PORT pull REMOTE... LOCAL\n"
           "                               copy files from the box (several: into the folder LOCAL)\n"
           " start-server, kill-server     nothing to do: there is no server\n"
           " version, help\n"
           "\n"
           "Without -s, a command goes to the one box connected before.\n"
           "With MIVORA_ADB_PROGRESS set, install prints lines \"progress: SENT/TOTAL\" (bytes) while it\n"
           "uploads the APK: one when the upload starts, one each time another hundredth of it has gone,\n"
           "one at its end. Each line is written out at once, also into a pipe.\n"
           "Keys: %USERPROFILE%\\.android\\adbkey (made on first use) and adbkey.pub, as Google's client\n"
           "keeps them. Boxes connected before: adb_devices.txt beside this program.\n"
           "\n"
           "Time limits: " + Seconds(kConnectLimitMs) + " to reach a box, " + Seconds(kHandshakeLimitMs) +
           " for each of its answers while connecting,\n" + Seconds(kUserLimitMs) +
           " for its user to allow this computer's key, " + Seconds(kTransferLimitMs) +
           " for each step of a transfer,\n" + Seconds(kResultLimitMs) +
           " for the whole result of a command (of an install: once it is uploaded).\n";
}

std::string LinkReason(const LinkStatus& status) {
    switch (status.kind) {
        case LinkStatus::kOk: return "no error";
        case LinkStatus::kClosed: return "the box closed the connection";
        case LinkStatus::kTimedOut: return "the box did not answer within " + Seconds(status.detail);
        case LinkStatus::kNetworkError: return SocketErrorText(status.detail);
        case LinkStatus::kNotAdb: return "the host does not speak the ADB protocol";
        case LinkStatus::kRefused: return "the box refused the request";
        case LinkStatus::kStreamEnded: return "the box ended the transfer early";
        case LinkStatus::kTooMuchData: return "the box sent more data than the client keeps";
    }
    return "unknown error";
}

std::string SocketErrorText(uint32_t code) {
    struct Known {
        uint32_t code;
        const char* text;
    };
    static constexpr Known kKnown[] = {
        {10049, "The requested address is not valid in its context."},
        {10050, "A socket operation encountered a dead network."},
        {10051, "A socket operation was attempted to an unreachable network."},
        {10053, "An established connection was aborted by the software in your host machine."},
        {10054, "An existing connection was forcibly closed by the remote host."},
        {10060, "The host did not answer in time."},
        {10061, "No connection could be made because the target machine actively refused it."},
        {10064, "The remote host is down."},
        {10065, "A socket operation was attempted to an unreachable host."},
        {11001, "No such host is known."},
        {11004, "The requested name is valid, but no data of the requested type was found."},
    };
    for (const Known& known : kKnown) {
        if (known.code == code) return std::string(known.text) + " (" + std::to_string(code) + ")";
    }
    return "Windows socket error " + std::to_string(code);
}

std::string FileErrorText(uint32_t code) {
    switch (code) {
        case 2:    // ERROR_FILE_NOT_FOUND
        case 3:    // ERROR_PATH_NOT_FOUND
        case 123:  // ERROR_INVALID_NAME
            return "No such file or directory";
        case 5: return "Permission denied";                       // ERROR_ACCESS_DENIED
        case 32: return "The file is in use by another program";  // ERROR_SHARING_VIOLATION
        case 39:                                                   // ERROR_HANDLE_DISK_FULL
        case 112: return "No space left on device";                // ERROR_DISK_FULL
        default: return "Windows error " + std::to_string(code);
    }
}

}  // namespace adb::client::texts
