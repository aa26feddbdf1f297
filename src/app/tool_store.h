#pragma once
// The ADB client and its two libraries travel inside the program as tool images and are written to
// "%TEMP%\adb_local", where later runs find them. A file found there is used only when it is byte
// for byte its image: an older client left by an earlier version, a copy cut short by a run that
// was killed while writing, or a program someone else put there is replaced. A replacement is
// written under a temporary name and moved into place, so no reader ever sees half a client.
#include <string>
#include <vector>

namespace app {

// The tool images are resources of this type: the client, then its two libraries.
inline constexpr const wchar_t* kToolResourceType = L"FILE";
inline constexpr unsigned kAdbTool = 20001, kAdbWinApiTool = 20002, kAdbWinUsbApiTool = 20003;

struct ToolFile {
    unsigned resourceId;     // a tool image of kToolResourceType
    const wchar_t* fileName;
};

// Folders tried in turn: "adb_local", then "adb_local.1" and so on. A folder is passed over only
// while one of its files differs from its image and cannot be replaced (an older client from it
// still runs, or someone holds it open); ten leave room for as many such runs at once.
constexpr int kMaxToolFolders = 10;

// Places every tool in the first tools folder that can hold them all as their images, and returns
// their full paths in order: the client finds its libraries beside it. A tool without a usable
// image (no resource, a corrupt one) gets the empty string and does not make a folder unusable.
std::vector<std::wstring> ExtractTools(const std::vector<ToolFile>& tools);

enum class ToolPlacement { Placed, NoImage, CannotReplace };

// Makes folder\fileName hold the tool image resource (type, id): kept when it already does,
// written anew when it is missing or differs. path receives the file's full path when Placed.
ToolPlacement ExtractTool(const wchar_t* resourceType, unsigned resourceId, const std::wstring& folder,
                          const wchar_t* fileName, std::wstring& path);

}  // namespace app
