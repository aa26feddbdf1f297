#pragma once
// What the engine makes of an HTTP answer, apart from the platform that delivered it.
#include <cstdint>
#include <string>

#include "update/download_segment.h"

namespace update {

// The facts of a response that decide how it may be used.
struct AnswerFacts {
    int status = 0;
    int64_t contentLength = -1;  // -1: none given
    bool http11 = false;         // the response's version is "HTTP/1.1"
    bool acceptRanges = false;   // it has an Accept-Ranges header, whatever its value
    // It carries a Content-Encoding the client decodes: its length is then not the file's, and
    // byte ranges of it are not ranges of the file.
    bool encoded = false;
    std::wstring contentRange;   // the Content-Range header, empty when none
};

// The size of the file as far as a 200 tells it: its content length, unless it is encoded.
int64_t AnsweredSize(const AnswerFacts& answer);

// Whether the file can be fetched in byte ranges: its size is known, and the server speaks
// HTTP/1.1 and says it accepts ranges, for a file that is not encoded on the way.
bool RangesSupported(int64_t total, const AnswerFacts& answer);

// A first response (a 200) is used when it is as long as the download (both unknown counts as
// equal) and, while mirrors of a metalink descriptor are fetched, when it allows ranges.
bool FirstAnswerAccepted(const AnswerFacts& answer, int64_t total, bool metalinkMode, bool rangesSupported);

// What a connection does with the answer to its ranged request (from start to the end).
enum class RangedVerdict {
    kRead,           // a 206 for exactly the bytes asked for
    kRetryLater,     // a 500: ask again in a while
    kAddressFailed,  // a 404: this address is gone
    kClose,          // anything else, a 200 above all: never written at the segment's offset
};
RangedVerdict JudgeRangedAnswer(const AnswerFacts& answer, int64_t start, int64_t total);

// "bytes <first>-<last>/<length>" (the length may be "*"); false when it is not of that form.
struct ContentRange {
    int64_t first = -1, last = -1, length = -1;  // length -1: "*"
};
bool ParseContentRange(const std::wstring& text, ContentRange& range);

// Bytes to ask for in one read: a full buffer, or fewer when the segment (or, without segments,
// the file of known size) misses fewer.
constexpr uint32_t kReadBufferSize = 32768;
uint32_t ReadSize(const DownloadSegment* segment, int64_t total, int64_t downloaded);

}  // namespace update
