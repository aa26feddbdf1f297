#pragma once
// One address of a download as the platform's URL cracker splits it, with what the engine learns
// about it while it downloads: how fast it answered first, and whether it is gone (a 404).
#include <cstdint>
#include <string>
#include <vector>

namespace update {

// The platform's scheme numbers; no other scheme is downloaded from.
enum UrlScheme : int { kSchemeFtp = 1, kSchemeHttp = 3, kSchemeHttps = 4 };

struct DownloadUrl {
    std::wstring text;  // the address as it was given
    uint16_t port = 0;
    int scheme = 0;
    std::wstring schemeText;
    std::wstring host;
    std::wstring user;
    std::wstring password;
    std::wstring path;
    std::wstring extra;  // query and fragment

    // Milliseconds from opening a connection to its first response: 0 never tried, -1 being
    // measured.
    int32_t firstResponseMs = 0;
    bool failed = false;  // answered 404: never chosen again
};

bool IsDownloadScheme(int scheme);

// Where a new connection goes: the main address when there are no mirrors (unless it failed);
// otherwise the first mirror never tried (which is then being measured), and once every mirror
// has been tried, the one that answered first fastest. Mirrors that failed or are still being
// measured are passed over. Returns the mirror's index, kMainAddress, or kNoAddress.
constexpr int kMainAddress = -1;
constexpr int kNoAddress = -2;
int ChooseAddress(const DownloadUrl& main, std::vector<DownloadUrl>& mirrors);

// Records the time to first response of an address that is being measured.
void RecordFirstResponse(DownloadUrl& url, uint32_t elapsedMs);

}  // namespace update
