#pragma once
// The little of ASN.1 DER that RSA private key files need: INTEGER, OCTET STRING, NULL, OBJECT
// IDENTIFIER and SEQUENCE, written and read with definite lengths.
#include <optional>

#include "adb/client/bytes.h"

namespace adb::client::der {

enum Tag : uint8_t { kInteger = 0x02, kOctetString = 0x04, kNull = 0x05, kObjectId = 0x06, kSequence = 0x30 };

// One element: tag, length, contents.
Bytes Element(Tag tag, std::span<const uint8_t> contents);
// An unsigned INTEGER from its big-endian magnitude (leading zeros dropped, a sign byte added
// where the top bit is set).
Bytes UnsignedInteger(std::span<const uint8_t> magnitude);
Bytes Concat(std::initializer_list<std::span<const uint8_t>> parts);

// Reads elements one after the other from a buffer.
class Reader {
public:
    explicit Reader(std::span<const uint8_t> data) : data_(data) {}

    // The contents of the next element if it has this tag; nothing (and no progress) otherwise.
    std::optional<std::span<const uint8_t>> Next(Tag tag);
    // The next INTEGER's magnitude, without the sign byte; nothing for a negative one.
    std::optional<Bytes> NextUnsignedInteger();
    bool AtEnd() const { return data_.empty(); }

private:
    std::span<const uint8_t> data_;
};

}  // namespace adb::client::der
