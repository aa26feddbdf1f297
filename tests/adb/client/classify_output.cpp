// Classifies a client's output the way the program's engine does, for tests that compare clients:
//   classify_output connect|install EXIT_CODE < output    prints the engine's result code
#include <iostream>
#include <iterator>
#include <string>

#include "adb/command_set.h"

int main(int argc, char** argv) {
    const std::string kind = argc == 3 ? argv[1] : "";
    if (kind != "connect" && kind != "install") {
        std::cerr << "usage: classify_output connect|install EXIT_CODE < output\n";
        return 2;
    }
    const uint32_t exitCode = static_cast<uint32_t>(std::stoul(argv[2]));
    const std::string bytes{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    // The engine decodes the output from UTF-8; the words it looks for are ASCII, so taking each
    // byte as a character is enough here.
    std::wstring text;
    for (unsigned char byte : bytes) text += static_cast<wchar_t>(byte);
    std::cout << (kind == "connect" ? adb::ClassifyConnect(text) : adb::ClassifyInstall(text, exitCode)) << "\n";
    return 0;
}
