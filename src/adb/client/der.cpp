#include "adb/client/der.h"

namespace adb::client::der {

Bytes Element(Tag tag, std::span<const uint8_t> contents) {
    Bytes out{tag};
    const size_t size = contents.size();
    if (size < 0x80) {
        out.push_back(static_cast<uint8_t>(size));
    } else {
        int octets = 0;
        for (size_t rest = size; rest; rest >>= 8) ++octets;
        out.push_back(static_cast<uint8_t>(0x80 | octets));
        for (int i = octets - 1; i >= 0; --i) out.push_back(static_cast<uint8_t>(size >> (8 * i)));
    }
    out.insert(out.end(), contents.begin(), contents.end());
    return out;
}

Bytes UnsignedInteger(std::span<const uint8_t> magnitude) {
    while (!magnitude.empty() && magnitude.front() == 0) magnitude = magnitude.subspan(1);
    Bytes contents;
    if (magnitude.empty() || (magnitude.front() & 0x80)) contents.push_back(0);
    contents.insert(contents.end(), magnitude.begin(), magnitude.end());
    return Element(kInteger, contents);
}

Bytes Concat(std::initializer_list<std::span<const uint8_t>> parts) {
    Bytes out;
    for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::optional<std::span<const uint8_t>> Reader::Next(Tag tag) {
    if (data_.size() < 2 || data_[0] != tag) return std::nullopt;
    size_t length = data_[1];
    size_t headerSize = 2;
    if (length & 0x80) {
        const size_t octets = length & 0x7f;
        // Four octets describe far more than any key file holds.
        if (octets == 0 || octets > 4 || data_.size() < 2 + octets) return std::nullopt;
        length = 0;
        for (size_t i = 0; i < octets; ++i) length = length << 8 | data_[2 + i];
        headerSize += octets;
    }
    if (data_.size() - headerSize < length) return std::nullopt;
    const auto contents = data_.subspan(headerSize, length);
    data_ = data_.subspan(headerSize + length);
    return contents;
}

std::optional<Bytes> Reader::NextUnsignedInteger() {
    const auto contents = Next(kInteger);
    if (!contents || contents->empty() || ((*contents)[0] & 0x80)) return std::nullopt;
    auto magnitude = *contents;
    while (!magnitude.empty() && magnitude.front() == 0) magnitude = magnitude.subspan(1);
    return Bytes(magnitude.begin(), magnitude.end());
}

}  // namespace adb::client::der
