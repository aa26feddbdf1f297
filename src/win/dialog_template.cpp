#include "win/dialog_template.h"

namespace win {

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, RECT unitRect, const wchar_t* face,
                               WORD pointSize) {
    if (face) style |= DS_SETFONT;
    DLGTEMPLATE head{};
    head.style = style;
    head.dwExtendedStyle = exStyle;
    head.cdit = 0;
    head.x = static_cast<short>(unitRect.left);
    head.y = static_cast<short>(unitRect.top);
    head.cx = static_cast<short>(unitRect.right - unitRect.left);
    head.cy = static_cast<short>(unitRect.bottom - unitRect.top);
    static_assert(sizeof(head) % sizeof(WORD) == 0);
    const WORD* raw = reinterpret_cast<const WORD*>(&head);
    words_.assign(raw, raw + sizeof(head) / sizeof(WORD));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the system's dialog class
    words_.push_back(0);  // no title
    if (face) {
        words_.push_back(pointSize);
        Append(face);
    }
}

void DialogTemplate::Append(const wchar_t* text) {
    do {
        words_.push_back(static_cast<WORD>(*text));
    } while (*text++);
}

}  // namespace win
