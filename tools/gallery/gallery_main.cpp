// The skin gallery: shows a page of the toolkit's controls in a window, or, with --save, renders
// the page into a PNG file (and what was drawn where into <file>.tsv) and exits. The controls
// page is taken from the screen, with its child windows and pop-ups, and with a second picture
// that shows a tooltip (<file>-tooltip.png).
//   gallery.exe [--page pictures|captions|controls] [--save <file.png>]
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#include <shellapi.h>

#include <string>

#include "controls_shots.h"
#include "gallery_window.h"
#include "snapshot.h"
#include "ui/skin/paint/skin_resources.h"

namespace {

struct Options {
    gallery::Page page = gallery::Page::Pictures;
    std::wstring savePath;
};

Options ParseOptions() {
    Options options;
    int count = 0;
    wchar_t** args = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; i + 1 < count; i += 2) {
        const std::wstring name = args[i], value = args[i + 1];
        if (name == L"--page") {
            options.page = value == L"captions"   ? gallery::Page::Captions
                           : value == L"controls" ? gallery::Page::Controls
                                                  : gallery::Page::Pictures;
        }
        if (name == L"--save") options.savePath = value;
    }
    LocalFree(args);
    return options;
}

int Run(const Options& options) {
    gallery::GalleryWindow window(options.page);
    if (!window.Create()) return 2;
    if (!options.savePath.empty()) {
        const bool drawn = options.page == gallery::Page::Controls
                               ? gallery::SaveControlsShots(window, options.savePath)
                               : gallery::SaveClientAsPng(window.Handle(), options.savePath);
        const bool saved = drawn && gallery::WriteLines(options.savePath + L".tsv", window.Manifest());
        DestroyWindow(window.Handle());
        return saved ? 0 : 1;
    }
    ShowWindow(window.Handle(), SW_SHOW);
    window.OpenPopups();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const Options options = ParseOptions();
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    skin::CreateSkinResources();
    const int exitCode = Run(options);
    skin::DestroySkinResources();
    Gdiplus::GdiplusShutdown(token);
    return exitCode;
}
