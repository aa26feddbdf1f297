#pragma once
// Metalink 3.0 descriptors, read with the platform's XML document object (MSXML): the mirror
// addresses of one file of the descriptor, for the download engine.
#include <string>
#include <vector>

namespace update {

class CDownload;

// The texts of the `url` elements of type "http" or "ftp" (in any letter case) under `resources`
// of the fileIndex-th child of `files` of `metalink`, in document order, with the blanks around
// them taken off; element names in any letter case. Nothing when the file cannot be loaded as
// XML, when an element is missing, or when that child is not a `file`.
std::vector<std::wstring> ReadMetalinkMirrors(const std::wstring& path, int fileIndex);

// The engine's descriptor reader (SetMetalinkReader): adds the mirrors of the descriptor the
// download received into its target path, for the file its address selected; deletes the
// descriptor; true when the download has mirrors afterwards.
bool ParseMetalink(CDownload& download);

}  // namespace update
