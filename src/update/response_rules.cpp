#include "update/response_rules.h"

#include <algorithm>
#include <cwctype>
#include <limits>

namespace update {

namespace {

// Reads a decimal number at text[at...]; false when there is none or it does not fit.
bool ReadNumber(const std::wstring& text, size_t& at, int64_t& value) {
    const size_t begin = at;
    value = 0;
    while (at < text.size() && std::iswdigit(text[at])) {
        const int digit = text[at] - L'0';
        if (value > (std::numeric_limits<int64_t>::max() - digit) / 10) return false;
        value = value * 10 + digit;
        ++at;
    }
    return at > begin;
}

void SkipBlanks(const std::wstring& text, size_t& at) {
    while (at < text.size() && (text[at] == L' ' || text[at] == L'\t')) ++at;
}

bool Expect(const std::wstring& text, size_t& at, wchar_t c) {
    if (at >= text.size() || text[at] != c) return false;
    ++at;
    return true;
}

}  // namespace

int64_t AnsweredSize(const AnswerFacts& answer) { return answer.encoded ? -1 : answer.contentLength; }

bool RangesSupported(int64_t total, const AnswerFacts& answer) {
    return total >= 0 && answer.http11 && answer.acceptRanges && !answer.encoded;
}

bool FirstAnswerAccepted(const AnswerFacts& answer, int64_t total, bool metalinkMode, bool rangesSupported) {
    return AnsweredSize(answer) == total && (!metalinkMode || rangesSupported);
}

RangedVerdict JudgeRangedAnswer(const AnswerFacts& answer, int64_t start, int64_t total) {
    if (answer.status == 500) return RangedVerdict::kRetryLater;
    if (answer.status == 404) return RangedVerdict::kAddressFailed;
    if (answer.status != 206 || total < 0 || answer.encoded) return RangedVerdict::kClose;
    if (answer.contentLength < 0 || answer.contentLength + start != total) return RangedVerdict::kClose;
    if (!answer.contentRange.empty()) {
        ContentRange range;
        if (!ParseContentRange(answer.contentRange, range) || range.first != start || range.last != total - 1 ||
            (range.length != -1 && range.length != total))
            return RangedVerdict::kClose;
    }
    return RangedVerdict::kRead;
}

bool ParseContentRange(const std::wstring& text, ContentRange& range) {
    size_t at = 0;
    SkipBlanks(text, at);
    static const std::wstring unit = L"bytes";
    for (wchar_t c : unit) {
        if (at >= text.size() || std::towlower(text[at]) != static_cast<wint_t>(c)) return false;
        ++at;
    }
    SkipBlanks(text, at);
    if (!ReadNumber(text, at, range.first) || !Expect(text, at, L'-') || !ReadNumber(text, at, range.last) ||
        !Expect(text, at, L'/'))
        return false;
    if (at < text.size() && text[at] == L'*') {
        ++at;
        range.length = -1;
    } else if (!ReadNumber(text, at, range.length)) {
        return false;
    }
    SkipBlanks(text, at);
    return at == text.size() && range.first <= range.last;
}

uint32_t ReadSize(const DownloadSegment* segment, int64_t total, int64_t downloaded) {
    int64_t wanted = kReadBufferSize;
    if (segment) wanted = std::min(wanted, segment->Missing());
    else if (total >= 0) wanted = std::min(wanted, total - downloaded);
    return static_cast<uint32_t>(std::max<int64_t>(wanted, 0));
}

}  // namespace update
