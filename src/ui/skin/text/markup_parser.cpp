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

    enum class Style { Link, Underline, LinkColor, Font, Color };
    struct Tag {
        std::wstring_view keyword;
        Style style;
        bool opens;
    };
    // The first keyword that prefixes the body decides, so the order matters: "/acolor" comes
    // before "/a", and a body that matches none only splits the text.
    static constexpr Tag kTags[] = {
        {L"a=", Style::Link, true},       {L"underline", Style::Underline, true},
        {L"/underline", Style::Underline, false}, {L"acolor=", Style::LinkColor, true},
        {L"/acolor", Style::LinkColor, false},    {L"/a", Style::Link, false},
        {L"font=", Style::Font, true},    {L"/font", Style::Font, false},
        {L"color=", Style::Color, true},  {L"/color", Style::Color, false},
    };

    void ApplyTag(std::wstring_view body) {
        for (const Tag& tag : kTags) {
            if (!base::StartsWithNoCase(body, tag.keyword)) continue;
            if (tag.opens)
                Open(tag.style, body.substr(tag.keyword.size()));
            else
                Close(tag.style);
            return;
        }
    }

    void Open(Style style, std::wstring_view value) {
        switch (style) {
        case Style::Link:
            linkStack_.Push(std::wstring(value));
            break;
        case Style::Underline:
            underlineStack_.Push(true);
            break;
        case Style::LinkColor:
            linkColorStack_.Push(ReadColorValue(value));
            break;
        case Style::Font:
            // Numbers outside the table push nothing.
            if (const int32_t number = ReadInteger(value, 10); number >= 1 && number <= 10)
                fontStack_.Push(fonts_.SlotFont(number - 1));
            break;
        case Style::Color:
            colorStack_.Push(ReadColorValue(value));
            break;
        }
    }

    void Close(Style style) {
        switch (style) {
        case Style::Link: linkStack_.Pop(); break;
        case Style::Underline: underlineStack_.Pop(); break;
        case Style::LinkColor: linkColorStack_.Pop(); break;
        case Style::Font: fontStack_.Pop(); break;
        case Style::Color: colorStack_.Pop(); break;
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

std::wstring EscapeMarkupText(std::wstring_view text) {
    std::wstring escaped;
    for (const wchar_t c : text) {
        escaped += c;
        if (c == L'{') escaped += L"{&#}";
    }
    return escaped;
}

}  // namespace skin
