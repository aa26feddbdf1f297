#include "update/answer_query.h"

#include <cwchar>
#include <vector>

namespace update {

namespace {

int64_t ParseLength(const std::wstring& text) {
    if (text.empty()) return -1;
    int64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9' || value > (INT64_MAX - 9) / 10) return -1;
        value = value * 10 + (c - L'0');
    }
    return value;
}

}  // namespace

std::wstring QueryHeader(HINTERNET request, DWORD info, size_t capacity) {
    std::vector<wchar_t> text(capacity, L'\0');
    DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    DWORD index = 0;
    if (!HttpQueryInfoW(request, info, text.data(), &size, &index)) return {};
    return std::wstring(text.data(), wcsnlen(text.data(), text.size()));
}

AnswerFacts QueryAnswer(HINTERNET request) {
    AnswerFacts answer;
    DWORD status = 0, size = sizeof(status), index = 0;
    if (HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, &index))
        answer.status = static_cast<int>(status);
    // As text: the numeric form of the query holds only 32 bits.
    answer.contentLength = ParseLength(QueryHeader(request, HTTP_QUERY_CONTENT_LENGTH, 32));
    answer.http11 = QueryHeader(request, HTTP_QUERY_VERSION, 32) == L"HTTP/1.1";
    answer.acceptRanges = !QueryHeader(request, HTTP_QUERY_ACCEPT_RANGES).empty();
    const std::wstring encoding = QueryHeader(request, HTTP_QUERY_CONTENT_ENCODING);
    answer.encoded = !encoding.empty() && _wcsicmp(encoding.c_str(), L"identity") != 0;
    answer.contentRange = QueryHeader(request, HTTP_QUERY_CONTENT_RANGE);
    return answer;
}

std::optional<uint64_t> QueryLastModified(HINTERNET request) {
    SYSTEMTIME time{};
    DWORD size = sizeof(time), index = 0;
    if (!HttpQueryInfoW(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &time, &size, &index))
        return std::nullopt;
    FILETIME file{};
    if (!SystemTimeToFileTime(&time, &file)) return std::nullopt;
    return (uint64_t{file.dwHighDateTime} << 32) | file.dwLowDateTime;
}

}  // namespace update
