// Drives the download engine as the upgrade does and prints what happened, for the lab tests and
// the benchmark (the servers it talks to exist only inside a lab).
//   download_probe --url U --out FILE [--connections N] [--timeout MS] [--mirror U]...
//                  [--stop-after-ms MS] [--refuse CODE] [--metalink]
//       prints "notify <code> <downloaded> <total> <ms>" for every notification, then
//       "result <code> <downloaded> <total> <ms>". --refuse makes the callback refuse that code;
//       --metalink installs a descriptor reader that takes the <url> texts of the selected <file>.
//   download_probe --fetch U [--timeout MS]   prints "fetch <ok> <result> <ms> <file>"
//   download_probe --user-agent               prints "agent <text>"
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "update/download.h"
#include "update/user_agent.h"

namespace {

DWORD g_start = 0;
int g_refused = 0;

DWORD Elapsed() { return GetTickCount() - g_start; }

int OnNotification(update::CDownload* download, int code, void*) {
    std::printf("notify %d %lld %lld %lu\n", code, static_cast<long long>(download->Downloaded()),
                static_cast<long long>(download->TotalSize()), Elapsed());
    std::fflush(stdout);
    return code == g_refused ? 0 : 1;
}

// Stands in for the program's descriptor reader: the texts of the <url> elements of the selected
// <file>, in order.
bool ReadTestDescriptor(update::CDownload& download) {
    std::string xml;
    {
        std::ifstream in(std::filesystem::path(download.TargetPath()), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        xml = text.str();
    }
    DeleteFileW(download.TargetPath().c_str());
    size_t at = 0;
    for (int i = 0; i <= download.MetalinkFileIndex(); ++i) {
        at = xml.find("<file ", at);
        if (at == std::string::npos) return false;
        at += 6;
    }
    const size_t end = xml.find("</file>", at);
    int added = 0;
    for (size_t url = xml.find("<url", at); url < end; url = xml.find("<url", url + 1)) {
        const size_t open = xml.find('>', url) + 1, close = xml.find("</url>", open);
        const std::string address = xml.substr(open, close - open);
        added += download.AddMirror(std::wstring(address.begin(), address.end()));
    }
    std::printf("metalink %d %d\n", download.MetalinkFileIndex(), added);
    std::fflush(stdout);
    return added > 0;
}

int Fetch(const wchar_t* url, DWORD timeout) {
    wchar_t path[MAX_PATH] = L"";
    int result = 0;
    const bool ok = update::FetchUrlToFile(url, timeout, path, MAX_PATH, &result);
    std::printf("fetch %d %d %lu %ls\n", ok ? 1 : 0, result, Elapsed(), path);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    g_start = GetTickCount();
    update::CDownload download;
    DWORD timeout = 0, stopAfter = 0;
    const wchar_t* fetch = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::wstring option = argv[i];
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : L"";
        if (option == L"--user-agent") {
            std::printf("agent %ls\n", update::DownloadUserAgent().c_str());
            return 0;
        }
        if (option == L"--metalink") {
            update::SetMetalinkReader(&ReadTestDescriptor);
            continue;
        }
        ++i;
        if (option == L"--url") download.SetUrl(value);
        else if (option == L"--out") download.SetTargetPath(value);
        else if (option == L"--connections") download.SetConnectionCount(_wtoi(value));
        else if (option == L"--timeout") timeout = static_cast<DWORD>(_wtoi(value));
        else if (option == L"--mirror") download.AddMirror(value);
        else if (option == L"--stop-after-ms") stopAfter = static_cast<DWORD>(_wtoi(value));
        else if (option == L"--refuse") g_refused = _wtoi(value);
        else if (option == L"--fetch") fetch = value;
    }
    if (fetch) return Fetch(fetch, timeout);

    download.SetTimeout(timeout);
    download.SetCallback(&OnNotification);
    if (!download.StartDownload()) {
        std::printf("not started\n");
        return 1;
    }
    if (stopAfter) {
        Sleep(stopAfter);
        download.StopDownload();
    }
    download.WaitDownload();
    std::printf("result %d %lld %lld %lu\n", download.Result(), static_cast<long long>(download.Downloaded()),
                static_cast<long long>(download.TotalSize()), Elapsed());
    return 0;
}
