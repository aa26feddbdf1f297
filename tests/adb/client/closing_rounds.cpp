// Opens and ends connection after connection to a host that closes as soon as our side has shut
// down, as a box does after every command, so that a close that lands in the middle of the
// client's last wait happens many times over. Usage: closing_rounds <address:port> <rounds>
#include <cstdio>
#include <cstdlib>

#include "adb/client/endpoint.h"
#include "adb/client/socket_channel.h"

using namespace adb::client;

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const auto endpoint = ParseEndpoint(argv[1]);
    const int rounds = std::atoi(argv[2]);
    if (!endpoint || rounds <= 0) return 2;
    WinsockSession winsock;
    uint32_t error = 0;
    const auto address = Resolve(*endpoint, error);
    if (!address) return 2;
    for (int round = 0; round < rounds; ++round) {
        SocketChannel channel;
        if (LinkStatus connected = channel.Connect(*address, 10'000); !connected) {
            std::printf("round %d: no connection (%u)\n", round, static_cast<unsigned>(connected.detail));
            return 1;
        }
    }
    std::printf("%d connections ended\n", rounds);
    return 0;
}
