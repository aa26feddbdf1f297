#pragma once
// Texts the engine sends or takes apart before a download runs: the request headers, the user
// agent, the metalink file index at the end of a download address.
#include <cstdint>
#include <string>

namespace update {

// The headers of a GET, each ending in CR LF: "Range: bytes=<start>-" for a segment (rangeStart
// >= 0), the no-cache block, and the accepted encodings when the client decodes them.
std::wstring RequestHeaders(int64_t rangeStart, bool decoding);

// The agent the engine announces, from the system browser's: as it is when it already names the
// product (in any letter case); with the product added inside its closing parenthesis when it
// ends in one; otherwise empty, and requests go without an agent.
std::wstring ComposeUserAgent(const std::wstring& browserAgent);

// An address may end in "#MetalinkFile<n>": which file of a metalink descriptor to fetch.
struct MetalinkAddress {
    std::wstring address;  // the address without the suffix
    int fileIndex = 0;     // the decimal number after it (0 when none)
};
MetalinkAddress SplitMetalinkSuffix(const std::wstring& address);

}  // namespace update
