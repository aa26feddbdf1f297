#pragma once
// Decoding skin pictures into device-independent bitmaps ready for AlphaBlend: 32-bit results carry
// pre-multiplied colour.
#include <windows.h>

#include <string>

namespace skin {

// A BMP resource of the program (path empty) or a BMP file, through LoadImageW.
HBITMAP LoadBmpPicture(int resource, const std::wstring& path);
// A resource of type "PNG" of the program, decoded by GDI+ (which must be started).
HBITMAP LoadPngResource(int resource);
// Any picture file GDI+ can decode.
HBITMAP LoadPictureFile(const std::wstring& path);

}  // namespace skin
