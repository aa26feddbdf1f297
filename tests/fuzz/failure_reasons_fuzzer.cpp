// libFuzzer target for what the engine makes of a client's output: the install's upload progress
// lines (read as the output arrives, cut anywhere) and the reason of a failure with its Chinese
// text. A box's words reach both, so any text can; the percent stays within 0-100 and does not
// depend on where the pipe cut the output, and every failure has a text to show.
#include <cstddef>
#include <cstdint>
#include <string>

#include "adb/failure_reason.h"
#include "adb/progress_lines.h"
#include "fuzz/fuzz_check.h"

namespace {

std::optional<int32_t> LastPercent(std::string_view bytes, size_t piece) {
    adb::ProgressLines lines;
    std::optional<int32_t> last;
    for (size_t at = 0; at < bytes.size(); at += piece) {
        if (const auto percent = lines.Feed(bytes.substr(at, piece))) last = percent;
    }
    return last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto whole = LastPercent(bytes, bytes.size() ? bytes.size() : 1);
    FUZZ_CHECK(!whole || (*whole >= 0 && *whole <= 100));
    FUZZ_CHECK(LastPercent(bytes, 1 + data[0] % 7) == whole);

    std::wstring output;
    for (const char c : bytes) output += static_cast<wchar_t>(static_cast<unsigned char>(c));
    const std::wstring kept = adb::WithoutProgressLines(output);
    FUZZ_CHECK(kept.size() <= output.size());

    const auto end = static_cast<adb::ChildEnd>(data[0] % 6);
    const adb::FailureReason reason = adb::ClassifyFailure(kept, end);
    FUZZ_CHECK(reason != adb::FailureReason::None);
    FUZZ_CHECK(!adb::FailureText(reason, kept).empty());
    FUZZ_CHECK(adb::LastOutputLine(kept).size() <= adb::kMaxLastLine);
    return 0;
}
