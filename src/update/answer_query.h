#pragma once
// Reading an HTTP response's status and headers from the platform's request handle.
#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <optional>
#include <string>

#include "update/response_rules.h"

namespace update {

// A header's text (info: an HTTP_QUERY_ value), at most capacity characters; empty when absent.
std::wstring QueryHeader(HINTERNET request, DWORD info, size_t capacity = 2084);

// Status, length, version, ranges, encoding and content range of the response.
AnswerFacts QueryAnswer(HINTERNET request);

// The Last-Modified time as a file time.
std::optional<uint64_t> QueryLastModified(HINTERNET request);

}  // namespace update
