// adb.exe: the Android Debug Bridge client the program carries. No server: every command opens
// its own connection to the box.
#include <windows.h>

#include <string>
#include <vector>

#include "adb/client/client_texts.h"
#include "adb/client/commands.h"
#include "adb/client/console.h"
#include "adb/client/socket_channel.h"
#include "adb/client/text_encoding.h"

using namespace adb::client;

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(Utf8(argv[i]));
    const ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.error.empty()) return Fail(parsed.error + "\n");
    const ClientCommand& command = parsed.command;
    WinsockSession winsock;
    switch (command.kind) {
        case CommandKind::kHelp: Print(texts::Help()); return 0;
        case CommandKind::kVersion: {
            wchar_t self[MAX_PATH] = {};
            GetModuleFileNameW(nullptr, self, MAX_PATH);
            Print(texts::Version(MIVORA_CLIENT_VERSION, Utf8(self)));
            return 0;
        }
        // Nothing runs in the background, so there is nothing to start or stop.
        case CommandKind::kStartServer:
        case CommandKind::kKillServer: return 0;
        case CommandKind::kConnect: return RunConnect(command.argument);
        case CommandKind::kDisconnect: return RunDisconnect(command.argument);
        case CommandKind::kDevices: return RunDevices();
        case CommandKind::kShell:
        case CommandKind::kInstall:
        case CommandKind::kUninstall:
        case CommandKind::kPull: return RunBoxCommand(command);
    }
    return 1;
}
