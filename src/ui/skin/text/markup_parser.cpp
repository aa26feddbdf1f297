#include "ui/skin/text/markup_parser.h"

#include <string_view>

#include "base/ascii_text.h"
#include "ui/skin/text/markup_numbers.h"

namespace skin {

namespace {

// A stack whose bottom entry is the default and survives every pop.
template <class T>
class StyleStack {
public:
    explicit StyleStack(T bottom) : entries_{std::move(bottom)} {}
    void Push(T value) { entries_.push_back(std::move(value)); }
    void Pop() {
        if (entries_.size() > 1) entries_.pop_back();
    }
    T Top() const { return entries_.back(); }

private:
    std::vector<T> entries_;
};

class MarkupParser {
public:
    explicit MarkupParser(const IFontTable& fonts) : fonts_(fonts) {}

    std::vector<TextRun> Parse(std::wstring_view text) {
        size_t nextClose = 0;  // position of the first "}" at or after the last search start
        bool closeSearched = false;
        for (size_t i = 0; i < text.size();) {
            if (text.substr(i, 3) == L"{&#") {
                if (!closeSearched || (nextClose != std::wstring_view::npos && nextClose < i + 3)) {
                    nextClose = text.find(L'}', i + 3);
                    closeSearched = true;
                }
                if (nextClose != std::wstring_view::npos) {
                    CutRun();
                    ApplyTag(text.substr(i + 3, nextClose - i - 3));
                    i = nextClose + 1;
                    continue;
                }
            }
            pending_ += text[i++];
        }
        CutRun();
        return std::move(runs_);
    }

private:
    void CutRun() {
        if (pending_.empty()) return;
        TextRun run;
        run.text = std::move(pending_);
        run.font = fontStack_.Top();
        run.link = linkStack_.Top();
        run.color = run.link.empty() ? colorStack_.Top() : linkColorStack_.Top();
        run.underline = underlineStack_.Top();
        runs_.push_back(std::move(run));
        pending_.clear();
    }

    // The first keyword that prefixes the body decides; the order matters ("/acolor" before "/a").
    void ApplyTag(std::wstring_view body) {
        auto rest = [&](std::wstring_view keyword) { return body.substr(keyword.size()); };
        if (base::StartsWithNoCase(body, L"a=")) {
            linkStack_.Push(std::wstring(rest(L"a=")));
        } else if (base::StartsWithNoCase(body, L"underline")) {
            underlineStack_.Push(true);
        } else if (base::StartsWithNoCase(body, L"/underline")) {
            underlineStack_.Pop();
        } else if (base::StartsWithNoCase(body, L"acolor=")) {
            linkColorStack_.Push(ReadColorValue(rest(L"acolor=")));
        } else if (base::StartsWithNoCase(body, L"/acolor")) {
            linkColorStack_.Pop();
        } else if (base::StartsWithNoCase(body, L"/a")) {
            linkStack_.Pop();
        } else if (base::StartsWithNoCase(body, L"font=")) {
            const int32_t number = ReadInteger(rest(L"font="), 10);
            if (number >= 1 && number <= 10) fontStack_.Push(fonts_.SlotFont(number - 1));
        } else if (base::StartsWithNoCase(body, L"/font")) {
            fontStack_.Pop();
        } else if (base::StartsWithNoCase(body, L"color=")) {
            colorStack_.Push(ReadColorValue(rest(L"color=")));
        } else if (base::StartsWithNoCase(body, L"/color")) {
            colorStack_.Pop();
        }
    }

    const IFontTable& fonts_;
    StyleStack<FontHandle> fontStack_{nullptr};
    StyleStack<int32_t> colorStack_{-1};
    StyleStack<int32_t> linkColorStack_{-1};
    StyleStack<std::wstring> linkStack_{std::wstring()};
    StyleStack<bool> underlineStack_{false};
    std::wstring pending_;
    std::vector<TextRun> runs_;
};

}  // namespace

std::vector<TextRun> ParseMarkup(const wchar_t* markup, const IFontTable& fonts) {
    return MarkupParser(fonts).Parse(markup ? std::wstring_view(markup) : std::wstring_view());
}

}  // namespace skin
