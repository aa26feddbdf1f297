#pragma once
// The version a program file's version block says, and the running program's own file.
#include <string>

namespace update {

// "a.b.c.d" from the file's fixed file-version record; empty when the file has no version block
// that can be read (or one larger than 16,383 bytes).
std::wstring FileVersionText(const std::wstring& path);

// The running program's file, by its long path.
std::wstring ProgramPath();

// FileVersionText of the running program.
std::wstring ProgramVersionText();

}  // namespace update
