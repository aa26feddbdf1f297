#include "adb/client/pem.h"

#include "adb/client/base64.h"

namespace adb::client {

namespace {

constexpr std::string_view kBegin = "-----BEGIN ";
constexpr std::string_view kEnd = "-----END ";
constexpr std::string_view kDashes = "-----";
constexpr size_t kLineLength = 64;

}  // namespace

std::string PemEncode(std::string_view label, std::span<const uint8_t> der) {
    const std::string body = Base64Encode(der);
    std::string text = std::string(kBegin) + std::string(label) + std::string(kDashes) + "\n";
    for (size_t at = 0; at < body.size(); at += kLineLength) text += body.substr(at, kLineLength) + "\n";
    text += std::string(kEnd) + std::string(label) + std::string(kDashes) + "\n";
    return text;
}

std::optional<PemBlock> PemDecode(std::string_view text) {
    const size_t begin = text.find(kBegin);
    if (begin == std::string_view::npos) return std::nullopt;
    const size_t labelStart = begin + kBegin.size();
    const size_t labelEnd = text.find(kDashes, labelStart);
    if (labelEnd == std::string_view::npos) return std::nullopt;
    const std::string_view label = text.substr(labelStart, labelEnd - labelStart);
    const size_t bodyStart = labelEnd + kDashes.size();
    const std::string end = std::string(kEnd) + std::string(label) + std::string(kDashes);
    const size_t bodyEnd = text.find(end, bodyStart);
    if (bodyEnd == std::string_view::npos) return std::nullopt;
    auto der = Base64Decode(text.substr(bodyStart, bodyEnd - bodyStart));
    if (!der || der->empty()) return std::nullopt;
    return PemBlock{std::string(label), std::move(*der)};
}

}  // namespace adb::client
