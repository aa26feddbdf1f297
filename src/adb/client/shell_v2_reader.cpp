#include "adb/client/shell_v2_reader.h"

#include <algorithm>

namespace adb::client {

ShellV2Reader::Output ShellV2Reader::Feed(std::span<const uint8_t> bytes) {
    Output output;
    while (!bytes.empty()) {
        if (remaining_ == 0 && headerFill_ < header_.size()) {
            const size_t take = std::min(header_.size() - headerFill_, bytes.size());
            std::copy_n(bytes.begin(), take, header_.begin() + headerFill_);
            headerFill_ += take;
            bytes = bytes.subspan(take);
            if (headerFill_ < header_.size()) break;
            id_ = header_[0];
            remaining_ = GetLe32(header_.data() + 1);
            headerFill_ = remaining_ ? header_.size() : 0;
            continue;
        }
        const size_t take = std::min<size_t>(remaining_, bytes.size());
        const std::string_view data = AsText(bytes.first(take));
        if (id_ == kStdout) output.out += data;
        if (id_ == kStderr) output.err += data;
        // The status is the packet's first byte, wherever the network cut the packet.
        if (id_ == kExit && take && remaining_ == GetLe32(header_.data() + 1)) exitStatus_ = bytes[0];
        remaining_ -= static_cast<uint32_t>(take);
        bytes = bytes.subspan(take);
        if (remaining_ == 0) headerFill_ = 0;
    }
    return output;
}

}  // namespace adb::client
