#include "app/argument_text.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace app {

namespace {

wchar_t FoldCase(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

size_t FindIgnoreCase(const std::wstring& text, const std::wstring& what) {
    if (what.empty()) return std::wstring::npos;
    auto it = std::search(text.begin(), text.end(), what.begin(), what.end(),
                          [](wchar_t a, wchar_t b) { return FoldCase(a) == FoldCase(b); });
    return it == text.end() ? std::wstring::npos : static_cast<size_t>(it - text.begin());
}

bool IsBlank(wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

void Trim(std::wstring& s) {
    size_t begin = 0;
    while (begin < s.size() && IsBlank(s[begin])) ++begin;
    size_t end = s.size();
    while (end > begin && IsBlank(s[end - 1])) --end;
    s = s.substr(begin, end - begin);
}

}  // namespace

std::wstring ExtractArgumentText(const std::wstring& commandLine, const std::wstring& longModulePath) {
    const size_t slash = longModulePath.rfind(L'\\');
    const std::wstring tail = slash == std::wstring::npos ? longModulePath : longModulePath.substr(slash);
    const std::wstring line = commandLine.substr(0, kArgumentTextCapacity);

    size_t cursor = FindIgnoreCase(line, tail);
    if (cursor != std::wstring::npos) {
        cursor += tail.size();
    } else if (tail.size() > 1 && tail[0] == L'\\') {
        const std::wstring bare = tail.substr(1);
        cursor = FindIgnoreCase(line, bare);
        if (cursor == std::wstring::npos) return {};
        cursor += bare.size();
    } else {
        return {};
    }

    // A quoted program path is followed by its closing quote; quoted arguments open with one.
    size_t start = line.find(L"\" \"", cursor);
    if (start != std::wstring::npos) {
        start += 3;
    } else if (line.compare(cursor, 2, L"\" ") == 0) {
        start = cursor + 2;
    } else {
        start = cursor;
    }

    std::wstring text = line.substr(std::min(start, line.size()));
    if (text.empty()) return {};
    Trim(text);
    if (!text.empty() && text.front() == L'"') text.erase(0, 1);
    if (!text.empty() && text.back() == L'"') text.pop_back();
    return text;
}

int FindOptionValue(const std::wstring& argumentText, const std::wstring& key, bool& found) {
    found = false;
    const size_t at = key.empty() ? std::wstring::npos : argumentText.find(key);
    if (at == std::wstring::npos) return 0;
    found = true;

    const std::wstring rest = argumentText.substr(at + key.size());
    std::wstring value;
    const size_t closing = rest.empty() || rest[0] != L'"' ? std::wstring::npos : rest.find(L'"', 1);
    if (closing != std::wstring::npos) {
        value = rest.substr(1, closing - 1);
    } else {
        const size_t from = !rest.empty() && rest[0] == L'"' ? 1 : 0;
        const size_t blank = rest.find(L' ', from);
        value = rest.substr(0, blank);
    }
    value = value.substr(0, 258);

    const long parsed = std::wcstol(value.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(parsed, INT32_MIN, INT32_MAX));
}

bool WantsCommandLog(const std::wstring& argumentText) {
    return argumentText.find(L"-adblog") != std::wstring::npos;
}

}  // namespace app
