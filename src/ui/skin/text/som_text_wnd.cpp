#include "ui/skin/text/som_text_wnd.h"

#include <cstdarg>
#include <cstdio>
#include <utility>

#include "ui/skin/paint/gdi_objects.h"
#include "ui/skin/paint/skin_resources.h"
#include "ui/skin/text/markup_numbers.h"
#include "ui/skin/text/markup_parser.h"
#include "ui/skin/text/run_layout.h"

namespace skin {

namespace {

class NoFonts : public IFontTable {
public:
    FontHandle SlotFont(int) const override { return nullptr; }
};

const IFontTable& CaptionFonts() {
    static const NoFonts none;
    if (SkinResources* skin = Skin()) return skin->fonts;
    return none;
}

}  // namespace

CSomTextWnd::CSomTextWnd()
    : defaultFont_(Skin() ? Skin()->fonts.Handle(0) : nullptr) {}

void CSomTextWnd::SetText(const wchar_t* markup) {
    std::wstring text = markup ? markup : L"";
    if (text == text_) return;
    if (pressedRun_ >= 0) {
        // The press ends without a click: the button was not released over this text.
        hoverRun_ = -1;
        Manager()->ReleaseCapture(this);
    }
    hoverRun_ = pressedRun_ = -1;
    text_ = std::move(text);
    runs_ = ParseMarkup(text_.c_str(), CaptionFonts());
    Layout();
    Invalidate();
}

void CSomTextWnd::SetTextFormat(const wchar_t* format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    va_list measuring;
    va_copy(measuring, args);
    const int length = _vscwprintf(format, measuring);
    va_end(measuring);
    std::wstring text(length > 0 ? length : 0, L'\0');
    if (length > 0) _vsnwprintf(text.data(), text.size(), format, args);
    va_end(args);
    SetText(text.c_str());
}

void CSomTextWnd::SetDefaultColor(COLORREF color) {
    if (color == defaultColor_) return;
    defaultColor_ = color;
    Invalidate();
}

void CSomTextWnd::SetMaxWidth(int width) {
    maxWidth_ = width;
    Layout();
    Invalidate();
}

void CSomTextWnd::OnCreate() {
    flags_ |= kSomTransparent;
    hoverRun_ = pressedRun_ = -1;
    Layout();
}

HFONT CSomTextWnd::RunFont(const TextRun& run) const {
    return run.font ? static_cast<HFONT>(run.font) : defaultFont_;
}

void CSomTextWnd::Layout() {
    HDC dc = SharedMemoryDC();
    std::vector<RunExtent> extents;
    for (const TextRun& run : runs_) {
        const GdiSelect font(dc, RunFont(run));
        SIZE size{};
        GetTextExtentPoint32W(dc, run.text.c_str(), static_cast<int>(run.text.size()), &size);
        extents.push_back({size.cx, size.cy});
    }
    const RunExtent line = PlaceRunsOnLine(runs_, extents);
    if (!IsAutoSize()) return;
    SetWndSize(maxWidth_ != -1 && maxWidth_ < line.cx ? maxWidth_ : line.cx, line.cy);
}

void CSomTextWnd::Paint(HDC dc, int limit, int part) {
    SetBkMode(dc, TRANSPARENT);
    const COLORREF savedColor = GetTextColor(dc);
    if (limit == -1) limit = maxWidth_;
    if (part != 0) {
        if (part > 0 && part <= static_cast<int>(runs_.size())) DrawRun(dc, part - 1, limit);
    } else {
        RECT clip{};
        GetClipBox(dc, &clip);
        for (size_t i = 0; i < runs_.size(); ++i) {
            const RunRect& b = runs_[i].bounds;
            const RECT bounds{b.left, b.top, b.right, b.bottom};
            RECT overlap{};
            if (IntersectRect(&overlap, &bounds, &clip)) DrawRun(dc, static_cast<int>(i), limit);
        }
    }
    SetTextColor(dc, savedColor);
}

void CSomTextWnd::DrawRun(HDC dc, int index, int limit) const {
    const TextRun& run = runs_[index];
    RunRect cut = run.bounds;
    if (!CutRunAtLimit(cut, limit)) return;
    const bool hovered = index == hoverRun_;
    SetTextColor(dc, RunDrawColor(run, hovered, !IsEnabled(), defaultColor_));
    // The skin keeps an underlined copy of each font once it has been wanted.
    HFONT underlined = hovered && run.underline && Skin() ? Skin()->fonts.Underlined(RunFont(run)) : nullptr;
    const GdiSelect font(dc, underlined ? underlined : RunFont(run));
    RECT rect{cut.left, cut.top, cut.right, cut.bottom};
    DrawTextW(dc, run.text.c_str(), static_cast<int>(run.text.size()), &rect,
              DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void CSomTextWnd::RepaintRun(int index) {
    const RunRect& b = runs_[index].bounds;
    const RECT bounds{b.left, b.top, b.right, b.bottom};
    Invalidate(&bounds, index + 1);
}

int CSomTextWnd::RunAt(POINT point) const { return RunIndexAt(runs_, point.x, point.y); }

bool CSomTextWnd::MarkRunAt(int& mark, POINT point) {
    const int index = RunAt(point);
    if (index < 0) return false;  // between runs the mark stays
    const int previous = mark;
    mark = runs_[index].link.empty() ? -1 : index;
    if (mark == previous) return false;
    if (mark >= 0) RepaintRun(mark);
    if (previous >= 0) RepaintRun(previous);
    return mark >= 0;
}

LRESULT CSomTextWnd::OnMouseMove(POINT point) {
    MarkRunAt(hoverRun_, point);
    return 0;
}

void CSomTextWnd::OnMouseLeave() {
    if (hoverRun_ >= 0) RepaintRun(std::exchange(hoverRun_, -1));
}

bool CSomTextWnd::OnSetCursor(POINT point) {
    const int index = RunAt(point);
    if (index < 0 || runs_[index].link.empty()) return false;
    // A link is pointed at with the hand, as everywhere links are clicked.
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

bool CSomTextWnd::OnLButtonDown(POINT point) {
    // The pointer is where it is pressed, even when no move has said so since the text changed.
    MarkRunAt(hoverRun_, point);
    if (MarkRunAt(pressedRun_, point)) Manager()->SetCapture(this);
    return pressedRun_ >= 0;
}

bool CSomTextWnd::OnLButtonUp(POINT) {
    if (pressedRun_ < 0) return false;
    Manager()->ReleaseCapture(this);
    return true;
}

void CSomTextWnd::OnCaptureLost() {
    if (pressedRun_ < 0) return;
    RepaintRun(std::exchange(pressedRun_, -1));
    // The click belongs to the link under the pointer now, which need not be the one pressed.
    if (hoverRun_ < 0) return;
    if (const auto command = ButtonLinkCommand(runs_[hoverRun_].link)) Manager()->Notify(this, 0, *command);
}

}  // namespace skin
