#pragma once
// A dialog template built at run time: a window with no controls and no title, whose size is
// given in dialog units of the template's font.
#include <windows.h>

#include <vector>

namespace win {

class DialogTemplate {
public:
    // With a face name, the font (DS_SETFONT) that the dialog units refer to.
    DialogTemplate(DWORD style, DWORD exStyle, RECT unitRect, const wchar_t* face = nullptr,
                   WORD pointSize = 8);

    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Append(const wchar_t* text);

    // The platform wants the template DWORD-aligned; the vector's storage comes from operator
    // new, which aligns far more than that.
    std::vector<WORD> words_;
};

}  // namespace win
