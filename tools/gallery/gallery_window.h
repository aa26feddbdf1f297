#pragma once
// The gallery: one window whose page shows every skin picture frame by frame, or the captions of
// the install page and the device picker with three-part and nine-part stretches, all drawn by the
// toolkit's windowless controls, or every control of the toolkit in every state, with lists, a
// header, a skinned dialog and the picker. It also lists where it drew what (Manifest) for the
// picture check.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ui/skin/dialog/menu_tip.h"
#include "ui/skin/host/som_wnd_manager.h"
#include "ui/skin/list/lf_list_box.h"
#include "ui/skin/text/som_text_wnd.h"
#include "win/reflection.h"
#include "win/window.h"

namespace gallery {

enum class Page { Pictures, Captions, Controls };

class GalleryDialog;

class GalleryWindow : public win::WindowImpl<GalleryWindow> {
public:
    static constexpr int kWidth = 1260;
    static constexpr int kHeight = 780;

    explicit GalleryWindow(Page page) : page_(page) {}
    HWND Create();  // hidden; the caller shows it or renders it

    ~GalleryWindow() override;

    // Tab-separated lines: what was drawn where, in client coordinates (UTF-8).
    const std::vector<std::string>& Manifest() const { return manifest_; }

    // The controls page: shows its dialog and its picker once the window is on the screen, and
    // says where the pointer shows a hovered list row and a tooltip (screen coordinates).
    void OpenPopups();
    POINT ListHoverPoint() const;
    POINT TooltipPoint() const;
    HWND ToolTip() const;
    // Notes where the tooltip shows now, for the picture check.
    void NoteToolTip();

    WIN_BEGIN_MSG_MAP()
        WIN_CHAIN_MSG_MAP_MEMBER(manager_)
        WIN_MESSAGE_HANDLER(WM_CREATE, OnCreate)
        WIN_MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
        WIN_REFLECT_NOTIFICATIONS()
    WIN_END_MSG_MAP()

private:
    class Manager : public skin::CSomWndManager {
    public:
        std::function<void(HDC)> background;
        // The controls page shows pressed buttons side by side: there a press takes no capture,
        // so that one button's press does not end another's.
        bool pinPresses = false;
        void PaintBackground(HDC dc, const RECT*) override {
            if (background) background(dc);
        }
        void SetCapture(skin::CSomWnd* wnd) override {
            if (!pinPresses) CSomWndManager::SetCapture(wnd);
        }
    };

    LRESULT OnCreate(UINT, WPARAM, LPARAM, bool&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, bool&);
    void BuildPictures();
    void BuildCaptions();
    void AddStatusPanels();
    void AddPageCaptions();
    void AddStretches();
    void AddGlyphProbes();
    void BuildControls();
    void AddImageButtons();
    void AddPanelsAndTabs();
    void AddPicturesAndAnimations();
    void AddLists();
    void AddEmptyLists();
    // Rows like the device picker's, with a state column when the list has one.
    void AddBoxRows(skin::CLFListBox& list, int count, bool withState);
    // Notes the frame a control shows over a plain backdrop, for the picture check.
    void NoteFrame(int resource, int frame, const skin::CSomWnd& wnd, COLORREF backdrop);

    template <class T, class... Args>
    T& Add(Args&&... args) {
        auto control = std::make_unique<T>(std::forward<Args>(args)...);
        T& made = *control;
        controls_.push_back(std::move(control));
        return made;
    }
    template <class T, class... Args>
    T& AddWindow(Args&&... args) {
        auto window = std::make_unique<T>(std::forward<Args>(args)...);
        T& made = *window;
        windows_.push_back(std::move(window));
        return made;
    }
    skin::CSomTextWnd& AddText(int x, int y, const wchar_t* markup, uint32_t extraFlags = 0);
    // Lists each run of a caption with the colour it is drawn in.
    void NoteInk(const skin::CSomTextWnd& text, COLORREF defaultColor);
    // One manifest line: the fields joined by tabs.
    void Note(std::initializer_list<std::string> fields);

    Page page_;
    Manager manager_;
    std::vector<std::unique_ptr<skin::CSomWnd>> controls_;
    std::vector<std::unique_ptr<win::WindowBase>> windows_;  // children and pop-ups
    skin::CLFListBox* boxList_ = nullptr;
    skin::CMenuTip* picker_ = nullptr;
    GalleryDialog* dialog_ = nullptr;
    std::vector<std::string> manifest_;
};

}  // namespace gallery
