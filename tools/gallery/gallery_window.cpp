#include "gallery_window.h"

#include "ui/skin/text/run_layout.h"

namespace gallery {

HWND GalleryWindow::Create() {
    RECT frame{10, 10, 10 + kWidth, 10 + kHeight};
    AdjustWindowRectEx(&frame, WS_POPUP, FALSE, 0);
    return WindowImpl::Create(nullptr, frame, L"Mivora 皮肤画廊", WS_POPUP, 0);
}

GalleryWindow::~GalleryWindow() {
    // Children and pop-ups go before the controls and the window they refer to.
    for (auto& window : windows_) {
        if (window->IsWindow()) DestroyWindow(window->Handle());
    }
    windows_.clear();
    if (IsWindow()) DestroyWindow(hwnd_);
}

LRESULT GalleryWindow::OnCreate(UINT, WPARAM, LPARAM, bool&) {
    if (page_ == Page::Pictures)
        BuildPictures();
    else if (page_ == Page::Captions)
        BuildCaptions();
    else
        BuildControls();
    return 0;
}

LRESULT GalleryWindow::OnDestroy(UINT, WPARAM, LPARAM, bool&) {
    PostQuitMessage(0);
    return 0;
}

skin::CSomTextWnd& GalleryWindow::AddText(int x, int y, const wchar_t* markup, uint32_t extraFlags) {
    auto& text = Add<skin::CSomTextWnd>();
    text.Create(&manager_, nullptr, 0, x, y, 0, 0, 0, skin::kSomVisible | skin::kSomAutoSize | extraFlags);
    text.SetText(markup);
    return text;
}

void GalleryWindow::NoteInk(const skin::CSomTextWnd& text, COLORREF defaultColor) {
    for (size_t i = 0; i < text.Runs().size(); ++i) {
        const skin::TextRun& run = text.Runs()[i];
        if (run.text.find_first_not_of(L' ') == std::wstring::npos) continue;  // no ink in blanks
        const COLORREF color = skin::RunDrawColor(run, static_cast<int>(i) == text.HoverRun(),
                                                  !text.IsEnabled(), defaultColor);
        Note({"ink", std::to_string(text.Bounds().left + run.bounds.left),
              std::to_string(text.Bounds().top + run.bounds.top),
              std::to_string(run.bounds.right - run.bounds.left),
              std::to_string(run.bounds.bottom - run.bounds.top), std::to_string(color)});
    }
}

void GalleryWindow::Note(std::initializer_list<std::string> fields) {
    std::string line;
    for (const std::string& field : fields) line += (line.empty() ? "" : "\t") + field;
    manifest_.push_back(line);
}

}  // namespace gallery
