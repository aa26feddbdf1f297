#include "update/user_agent.h"

#include <windows.h>

#include <mutex>
#include <vector>

#include "update/request_text.h"

namespace update {

namespace {

using ObtainUserAgentStringFn = HRESULT(WINAPI*)(DWORD option, LPSTR agent, DWORD* size);

// The browser's agent text, or nothing when the system does not give it.
bool BrowserAgent(std::wstring& agent) {
    HMODULE urlmon = LoadLibraryW(L"urlmon.dll");
    if (!urlmon) return false;
    const auto obtain = reinterpret_cast<ObtainUserAgentStringFn>(
        reinterpret_cast<void*>(GetProcAddress(urlmon, "ObtainUserAgentString")));
    char narrow[2084] = {};
    DWORD size = 2083;
    const bool got = obtain && SUCCEEDED(obtain(0, narrow, &size));
    FreeLibrary(urlmon);
    if (!got) return false;
    const int length = MultiByteToWideChar(CP_ACP, 0, narrow, -1, nullptr, 0);
    if (length <= 0) return false;
    std::vector<wchar_t> wide(length);
    MultiByteToWideChar(CP_ACP, 0, narrow, -1, wide.data(), length);
    agent = wide.data();
    return true;
}

}  // namespace

std::wstring DownloadUserAgent() {
    static std::mutex lock;
    static bool obtained = false;
    static std::wstring agent;
    std::lock_guard<std::mutex> guard(lock);
    if (!obtained) {
        std::wstring browser;
        if (BrowserAgent(browser)) {
            agent = ComposeUserAgent(browser);
            obtained = true;
        }
    }
    return agent;
}

}  // namespace update
