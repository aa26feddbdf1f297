#include "update/url_cracking.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace update {

bool CrackDownloadUrl(const std::wstring& address, DownloadUrl& url, bool decode) {
    std::vector<wchar_t> scheme(32), host(256), user(128), password(128), path(2048), extra(2048);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszScheme = scheme.data();
    parts.dwSchemeLength = static_cast<DWORD>(scheme.size());
    parts.lpszHostName = host.data();
    parts.dwHostNameLength = static_cast<DWORD>(host.size());
    parts.lpszUserName = user.data();
    parts.dwUserNameLength = static_cast<DWORD>(user.size());
    parts.lpszPassword = password.data();
    parts.dwPasswordLength = static_cast<DWORD>(password.size());
    parts.lpszUrlPath = path.data();
    parts.dwUrlPathLength = static_cast<DWORD>(path.size());
    parts.lpszExtraInfo = extra.data();
    parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
    if (address.empty() || !InternetCrackUrlW(address.c_str(), 0, decode ? ICU_DECODE : 0, &parts)) return false;
    if (!IsDownloadScheme(parts.nScheme)) return false;
    url.text = address;
    url.port = parts.nPort;
    url.scheme = parts.nScheme;
    url.schemeText.assign(parts.lpszScheme, parts.dwSchemeLength);
    url.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    url.user.assign(parts.lpszUserName, parts.dwUserNameLength);
    url.password.assign(parts.lpszPassword, parts.dwPasswordLength);
    url.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    url.extra.assign(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    return true;
}

std::wstring RequestObject(const DownloadUrl& url) { return url.path + url.extra; }

}  // namespace update
