// Classifies a client's output the way the program's engine does, for tests that compare clients:
//   classify_output connect|install < output    prints the engine's result code
#include <iostream>
#include <iterator>
#include <string>

#include "adb/command_set.h"

int main(int argc, char** argv) {
    const std::string kind = argc == 2 ? argv[1] : "";
    if (kind != "connect" && kind != "install") {
        std::cerr << "usage: classify_output connect|install < output\n";
        return 2;
    }
    const std::string bytes{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    // The engine reads the output in the system's code page; the words it looks for are ASCII, which
    // every code page keeps, so taking each byte as a character is enough here.
    std::wstring text;
    for (unsigned char byte : bytes) text += static_cast<wchar_t>(byte);
    std::cout << (kind == "connect" ? adb::ClassifyConnect(text) : adb::ClassifyInstall(text)) << "\n";
    return 0;
}
