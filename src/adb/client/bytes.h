#pragma once
// Byte buffers and the little-endian integers every part of the debug bridge's wire format uses.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace adb::client {

using Bytes = std::vector<uint8_t>;

inline void PutLe32(uint8_t* out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

inline uint32_t GetLe32(const uint8_t* in) {
    return static_cast<uint32_t>(in[0]) | static_cast<uint32_t>(in[1]) << 8 | static_cast<uint32_t>(in[2]) << 16 |
           static_cast<uint32_t>(in[3]) << 24;
}

inline void AppendLe32(Bytes& out, uint32_t value) {
    const size_t at = out.size();
    out.resize(at + 4);
    PutLe32(out.data() + at, value);
}

inline std::span<const uint8_t> AsBytes(std::string_view text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

inline std::string_view AsText(std::span<const uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace adb::client
