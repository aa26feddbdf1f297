#pragma once
// Renders a window's client area as its own paint code draws it (WM_PRINTCLIENT) into a PNG file,
// or copies what the screen shows in a rectangle (child windows and pop-ups included), and writes
// text files as UTF-8.
#include <windows.h>

#include <string>
#include <vector>

namespace gallery {

bool SaveClientAsPng(HWND window, const std::wstring& path);
bool SaveScreenAsPng(const RECT& area, const std::wstring& path);
bool WriteLines(const std::wstring& path, const std::vector<std::string>& lines);

}  // namespace gallery
