// Stands in for the ADB client where a real one rarely misbehaves: it answers each command line
// from a rules file beside itself and records every call, so that engine tests control the exact
// bytes the engine reads (zero bytes, thousands of bytes, nothing at all) and see what it ran.
//
// fakeadb.rules, one rule per line:  <substring of the arguments>\t<output>[\t<delay ms>[\t<exit code>]]
//   The first rule whose substring occurs in the arguments answers, and the program ends with the
//   exit code (0 when not given). <output> uses the escapes ^n ^r ^t ^0 ^^, and ^| where the
//   program pauses for a second after writing out what came before; "@name" prints the bytes of
//   the file "name" beside the program instead.
// fakeadb.calls gets one line per call: the arguments, then " [file:<size>]" for every quoted
// argument that names an existing file at the moment of the call, then " [no console]" when the
// program was started without a console.
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::wstring Beside(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + name;
}

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 4 + 1, '\0');
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                      static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(n > 0 ? n : 0);
    return out;
}

std::wstring Arguments() {
    // Everything after the program name, as the engine wrote it.
    const wchar_t* line = GetCommandLineW();
    bool quoted = false;
    while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
        if (*line == L'"') quoted = !quoted;
        ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '^' && i + 1 < text.size()) {
            const char c = text[++i];
            out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c == '0' ? '\0' : c;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string ReadFileBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void RecordCall(const std::wstring& args) {
    std::string line = Utf8(args);
    for (size_t open = args.find(L'"'); open != std::wstring::npos; open = args.find(L'"', open + 1)) {
        const size_t close = args.find(L'"', open + 1);
        if (close == std::wstring::npos) break;
        const std::wstring path = args.substr(open + 1, close - open - 1);
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
            line += " [file:" + std::to_string(data.nFileSizeLow) + "]";
        open = close;
    }
    if (GetConsoleCP() == 0) line += " [no console]";
    std::ofstream(Beside(L"fakeadb.calls").c_str(), std::ios::binary | std::ios::app) << line << "\n";
}

void Write(const std::string& bytes) {
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

}  // namespace

int wmain() {
    const std::wstring args = Arguments();
    RecordCall(args);
    const std::string utf8Args = Utf8(args);

    std::ifstream rules(Beside(L"fakeadb.rules").c_str(), std::ios::binary);
    std::string rule;
    while (std::getline(rules, rule)) {
        if (!rule.empty() && rule.back() == '\r') rule.pop_back();
        std::vector<std::string> fields;
        std::stringstream split(rule);
        for (std::string field; std::getline(split, field, '\t');) fields.push_back(field);
        if (fields.size() < 2 || utf8Args.find(fields[0]) == std::string::npos) continue;
        if (fields.size() > 2) Sleep(static_cast<DWORD>(std::stoul(fields[2])));
        if (fields[1].rfind('@', 0) == 0) {
            Write(ReadFileBytes(Beside(std::wstring(fields[1].begin() + 1, fields[1].end()).c_str())));
        } else {
            size_t start = 0;
            for (size_t pause = fields[1].find("^|"); pause != std::string::npos; pause = fields[1].find("^|", start)) {
                Write(Unescape(fields[1].substr(start, pause - start)));
                Sleep(1000);
                start = pause + 2;
            }
            Write(Unescape(fields[1].substr(start)));
        }
        return fields.size() > 3 ? std::stoi(fields[3]) : 0;
    }
    return 0;
}
