// Turns files into tool images and back: the build packs the ADB client with it.
//   toolpack pack <file>     writes <file>.zlib
//   toolpack unpack <image>  writes <image>.unzlib
#include <cstdio>
#include <cstring>

#include "app/tool_image.h"

int main(int argc, char** argv) {
    if (argc != 3 || (std::strcmp(argv[1], "pack") != 0 && std::strcmp(argv[1], "unpack") != 0)) {
        std::fprintf(stderr, "usage: toolpack pack|unpack <file>\n");
        return 2;
    }
    const bool pack = std::strcmp(argv[1], "pack") == 0;
    const std::filesystem::path result = pack ? app::PackFile(argv[2]) : app::UnpackFile(argv[2]);
    if (result.empty()) {
        std::fprintf(stderr, "toolpack: cannot %s %s\n", argv[1], argv[2]);
        return 1;
    }
    std::printf("%s\n", result.string().c_str());
    return 0;
}
