#pragma once
// Download addresses as the platform's URL cracker splits them.
#include <string>

#include "update/download_url.h"

namespace update {

// False unless the address cracks into an FTP, HTTP or HTTPS address. decode: with the cracker's
// decoding of escapes, as FTP paths need it.
bool CrackDownloadUrl(const std::wstring& address, DownloadUrl& url, bool decode = false);

// The object a request asks for: the path followed by the query.
std::wstring RequestObject(const DownloadUrl& url);

}  // namespace update
