#include "adb/client/base64.h"

#include <algorithm>

namespace adb::client {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int DigitValue(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::string Base64Encode(std::span<const uint8_t> data) {
    std::string text;
    text.reserve((data.size() + 2) / 3 * 4);
    for (size_t i = 0; i < data.size(); i += 3) {
        const size_t count = std::min<size_t>(3, data.size() - i);
        uint32_t group = static_cast<uint32_t>(data[i]) << 16;
        if (count > 1) group |= static_cast<uint32_t>(data[i + 1]) << 8;
        if (count > 2) group |= data[i + 2];
        for (size_t digit = 0; digit < 4; ++digit) {
            text += digit <= count ? kAlphabet[(group >> (18 - 6 * digit)) & 63] : '=';
        }
    }
    return text;
}

std::optional<Bytes> Base64Decode(std::string_view text) {
    Bytes data;
    uint32_t group = 0;
    int digits = 0;
    int padding = 0;
    for (char c : text) {
        if (IsSpace(c)) continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = DigitValue(c);
        if (value < 0 || padding) return std::nullopt;
        group = group << 6 | static_cast<uint32_t>(value);
        if (++digits == 4) {
            data.push_back(static_cast<uint8_t>(group >> 16));
            data.push_back(static_cast<uint8_t>(group >> 8));
            data.push_back(static_cast<uint8_t>(group));
            group = 0;
            digits = 0;
        }
    }
    // A final group of two or three digits carries one or two bytes; one digit carries nothing.
    if (digits == 1 || (digits && digits + padding != 4) || (!digits && padding)) return std::nullopt;
    if (digits >= 2) data.push_back(static_cast<uint8_t>(group >> (digits * 6 - 8)));
    if (digits == 3) data.push_back(static_cast<uint8_t>(group >> 2));
    return data;
}

}  // namespace adb::client
