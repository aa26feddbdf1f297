// libFuzzer target for what download servers answer that the engine reads itself: the
// Content-Range header, and the verdict on a ranged answer built from it. A server may send
// anything; a range the engine accepts must be one it asked for, within the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_check.h"
#include "update/request_text.h"
#include "update/response_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    std::wstring text;
    for (size_t i = 3; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | (data[i + 1] << 8));

    update::ContentRange range;
    if (update::ParseContentRange(text, range)) {
        FUZZ_CHECK(range.first >= 0 && range.first <= range.last && range.length >= -1);
    }

    // The same header on a 206 for a segment of a file whose size is in the range's own numbers.
    update::AnswerFacts answer;
    answer.status = data[0] % 2 ? 206 : 200 + data[0] % 300;
    answer.contentRange = text;
    answer.http11 = data[1] & 1;
    answer.acceptRanges = data[1] & 2;
    answer.contentLength = data[1] & 4 ? -1 : range.last - range.first + 1;
    const int64_t total = range.length > 0 ? range.length : range.last + 1 + data[2] % 3;
    const int64_t start = data[2] & 4 ? range.first : range.first + 1;
    if (total > 0 && start >= 0 && start < total &&
        update::JudgeRangedAnswer(answer, start, total) == update::RangedVerdict::kRead) {
        FUZZ_CHECK(answer.status == 206 && answer.contentLength + start == total);
        update::ContentRange accepted;
        FUZZ_CHECK(text.empty() ||
              (update::ParseContentRange(text, accepted) && accepted.first == start && accepted.last == total - 1));
    }
    update::AnsweredSize(answer);
    update::RangesSupported(total, answer);

    const update::MetalinkAddress address = update::SplitMetalinkSuffix(text);
    FUZZ_CHECK(address.fileIndex >= 0 && address.address.size() <= text.size());
    return 0;
}
