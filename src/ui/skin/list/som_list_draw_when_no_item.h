#pragma once
// An empty list that says so: an optional icon and a caption, centred as a pair in the list.
#include <windows.h>

#include <string>

#include "ui/skin/list/list_arithmetic.h"
#include "ui/skin/paint/caption_text.h"
#include "ui/skin/paint/gdi_objects.h"
#include "ui/skin/paint/skin_resources.h"
#include "ui/skin/picture/som_bitmap.h"
#include "win/window.h"

namespace skin {

template <class T>
class CSomListDrawWhenNoItem : public T {
public:
    // Replaces icon (none: null), caption (empty: none), its font (null: the skin's 12 px font)
    // and colour, and places them again for the list's size.
    void SetEmptyContent(CSomBitmap* icon, std::wstring caption, HFONT font, COLORREF color, int iconFrame = 0) {
        icon_ = icon;
        iconFrame_ = iconFrame;
        caption_ = std::move(caption);
        font_ = font;
        color_ = color;
        RECT client{};
        if (this->Handle()) GetClientRect(this->Handle(), &client);
        Place(client.right, client.bottom);
        if (this->Handle()) InvalidateRect(this->Handle(), nullptr, FALSE);
    }
    const EmptyListPlaces& EmptyPlaces() const { return places_; }
    SIZE CaptionSize() const { return captionSize_; }

    void DrawEmpty(HDC dc) override {
        if (icon_) icon_->DrawFrame(dc, places_.iconX, places_.iconY, iconFrame_);
        if (caption_.empty()) return;
        const int x = places_.captionX, y = places_.captionY;
        DrawCaption(dc, caption_, Font(), color_, {x, y, x + captionSize_.cx, y + captionSize_.cy},
                    DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }

    WIN_BEGIN_MSG_MAP()
        WIN_MESSAGE_HANDLER(WM_SIZE, OnSize)
        WIN_CHAIN_MSG_MAP(T)
    WIN_END_MSG_MAP()

private:
    LRESULT OnSize(UINT, WPARAM wParam, LPARAM lParam, bool& handled) {
        if (wParam != SIZE_MINIMIZED) Place(LOWORD(lParam), HIWORD(lParam));
        handled = false;  // the list lays its columns out too
        return 0;
    }

    HFONT Font() const { return font_ ? font_ : (Skin() ? Skin()->fonts.Handle(0) : nullptr); }

    void Place(int width, int height) {
        captionSize_ = {};
        if (!caption_.empty()) {
            HDC dc = SharedMemoryDC();
            const GdiSelect selected(dc, Font());
            GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &captionSize_);
        }
        const int iconWidth = icon_ ? icon_->GetFrameWidth() : 0;
        const int iconHeight = icon_ ? icon_->GetFrameHeight() : 0;
        places_ = PlaceEmptyListContent(width, height, iconWidth, iconHeight, captionSize_.cx, captionSize_.cy);
    }

    CSomBitmap* icon_ = nullptr;
    int iconFrame_ = 0;
    std::wstring caption_;
    HFONT font_ = nullptr;
    COLORREF color_ = 0;
    SIZE captionSize_{};
    EmptyListPlaces places_;
};

}  // namespace skin
