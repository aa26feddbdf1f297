#include "update/request_text.h"

#include <cwctype>

namespace update {

namespace {

constexpr wchar_t kProductToken[] = L"MivoraBox";
constexpr wchar_t kMetalinkSuffix[] = L"#MetalinkFile";

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

}  // namespace

std::wstring RequestHeaders(int64_t rangeStart, bool decoding) {
    std::wstring headers;
    if (rangeStart >= 0) headers += L"Range: bytes=" + std::to_wstring(rangeStart) + L"-\r\n";
    headers += L"Pragma: no-cache\r\nCache-Control: no-cache\r\nConnection: close\r\n";
    if (decoding) headers += L"Accept-Encoding: gzip, deflate\r\n";
    return headers;
}

std::wstring ComposeUserAgent(const std::wstring& browserAgent) {
    if (Lower(browserAgent).find(Lower(kProductToken)) != std::wstring::npos) return browserAgent;
    if (browserAgent.empty() || browserAgent.back() != L')') return {};
    return browserAgent.substr(0, browserAgent.size() - 1) + L"; " + kProductToken + L")";
}

MetalinkAddress SplitMetalinkSuffix(const std::wstring& address) {
    MetalinkAddress split{address, 0};
    const size_t at = address.find(kMetalinkSuffix);
    if (at == std::wstring::npos) return split;
    split.address = address.substr(0, at);
    // ASCII digits up to the first other character, as far as an int holds them (Windows' iswdigit
    // also takes other scripts' digits, whose values are no single decimal digit).
    for (size_t i = at + std::wstring(kMetalinkSuffix).size();
         i < address.size() && address[i] >= L'0' && address[i] <= L'9'; ++i) {
        if (split.fileIndex > (0x7FFFFFFF - 9) / 10) break;
        split.fileIndex = split.fileIndex * 10 + (address[i] - L'0');
    }
    return split;
}

}  // namespace update
