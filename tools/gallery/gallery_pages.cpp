// What the two pages show and where.
#include <algorithm>
#include <set>
#include <string>

#include "gallery_controls.h"
#include "gallery_window.h"
#include "ui/skin/paint/skin_resources.h"

namespace gallery {

namespace {

// White or pale pictures made for the blue title band and panels.
const std::set<int> kOnBlue = {10006, 10012, 10014, 10015, 10016, 10017, 10019,
                               10011, 10022, 10023, 10024, 10025, 10034};

std::string Number(int value) { return std::to_string(value); }

std::wstring Label(int resource, skin::CSomBitmap& bitmap) {
    return L"{&#font=1}{&#color=0x505050}" + std::to_wstring(resource) + L"  " +
           std::to_wstring(bitmap.GetFrameWidth()) + L"×" + std::to_wstring(bitmap.GetFrameHeight()) +
           L" ×" + std::to_wstring(bitmap.GetFrameCount());
}

}  // namespace

// Every picture of the skin except the window background (the captions page stretches that one),
// each frame at its natural size on a plain backdrop, in rows of falling height so they fit.
void GalleryWindow::BuildPictures() {
    manager_.background = [](HDC dc) {
        const RECT all{0, 0, kWidth, kHeight};
        FillRect(dc, &all, skin::Skin()->lightBrush);
    };
    struct Tile {
        int resource;
        FrameStrip* strip;
        skin::CSomTextWnd* caption;
        SIZE size;  // label and strip
    };
    const int margin = 10, labelHeight = 18, gap = 12;
    std::vector<Tile> tiles;
    for (const auto& [resource, bitmap] : skin::Skin()->bitmaps) {
        if (resource == 10001) continue;
        auto& strip = Add<FrameStrip>(bitmap.get(), kOnBlue.count(resource) ? kBlueBackdrop : RGB(255, 255, 255));
        const std::wstring label = Label(resource, *bitmap);
        auto& caption = AddText(0, 0, label.c_str());
        const SIZE extent = strip.Extent();
        tiles.push_back({resource, &strip, &caption,
                         {std::max<LONG>(extent.cx, caption.Width()), labelHeight + extent.cy}});
    }
    std::stable_sort(tiles.begin(), tiles.end(), [](const Tile& a, const Tile& b) { return a.size.cy > b.size.cy; });
    int x = margin, y = margin, rowHeight = 0;
    for (const Tile& tile : tiles) {
        if (x + tile.size.cx > kWidth - margin) {
            x = margin;
            y += rowHeight + gap;
            rowHeight = 0;
        }
        tile.caption->SetWndPos(x, y);
        const SIZE extent = tile.strip->Extent();
        tile.strip->Create(&manager_, nullptr, 0, x, y + labelHeight, extent.cx, extent.cy, tile.resource,
                           skin::kSomVisible);
        NoteInk(*tile.caption, 0);
        skin::CSomBitmap* bitmap = skin::Skin()->Bitmap(tile.resource);
        for (int frame = 0; frame < bitmap->GetFrameCount(); ++frame) {
            const POINT at = tile.strip->FrameOrigin(frame);
            Note({"frame", Number(tile.resource), Number(frame), Number(at.x), Number(at.y),
                  Number(bitmap->GetFrameWidth()), Number(bitmap->GetFrameHeight()),
                  Number(tile.strip->Backdrop())});
        }
        x += tile.size.cx + gap;
        rowHeight = std::max<int>(rowHeight, tile.size.cy);
    }
}

// The window background stretched nine-part over the page; on its blue band the device area's
// panels with their white captions and stretches at several sizes; on the light part the install
// page's captions with their links; at the bottom a glyph check. Nothing covers the background's
// top-left, top-right and bottom-left corners, which the picture check compares with the art.
void GalleryWindow::BuildCaptions() {
    manager_.background = [](HDC dc) {
        skin::Skin()->Bitmap(10001)->Draw(dc, 0, 0, kWidth, kHeight, 0);
        // The device area's status lines stand on the panel picture, as on the main window.
        for (int panel = 0; panel < 4; ++panel)
            skin::Skin()->Bitmap(10022)->DrawStretchWidth(dc, 40 + panel * 300, 70, 280, panel == 3 ? 1 : 0);
    };
    Note({"nine", "10001", "0", "0", Number(kWidth), Number(kHeight)});
    NoteInk(AddText(40, 42, L"{&#font=4}{&#color=0xffffff}Mivora Box Assistant 皮肤画廊"), 0);
    AddStatusPanels();
    AddStretches();
    AddPageCaptions();
    AddGlyphProbes();
}

void GalleryWindow::AddStatusPanels() {
    const wchar_t* titles[] = {L"{&#font=8}{&#color=0xffffff}正在寻找盒子{&#/color}{&#/font}",
                               L"{&#font=8}{&#color=0xffffff}没有找到盒子{&#/color}{&#/font}",
                               L"{&#font=8}{&#color=0xffffff}获取盒子信息{&#/color}{&#/font}",
                               L"{&#font=8}{&#color=0xffffff}客厅的盒子"};
    const POINT titleOffsets[] = {{60, 23}, {60, 23}, {60, 15}, {12, 15}};
    for (int panel = 0; panel < 4; ++panel) {
        const int left = 40 + panel * 300;
        NoteInk(AddText(left + titleOffsets[panel].x, 70 + titleOffsets[panel].y, titles[panel]), 0);
        if (panel < 2) continue;
        auto& address = AddText(left + titleOffsets[panel].x, 70 + 40, nullptr);
        address.SetTextFormat(L"{&#font=3}{&#color=0xffffff}%s{&#/color}{&#/font}", L"192.168.1.20");
        NoteInk(address, 0);
    }
}

void GalleryWindow::AddStretches() {
    const wchar_t* labels[] = {L"{&#font=1}{&#color=0xffffff}10004 三段：宽 3、4、20、60、150",
                               L"{&#font=1}{&#color=0xffffff}10022 拉伸到 100",
                               L"{&#font=1}{&#color=0xffffff}10001 九段：比固定部分小"};
    const int labelLeft[] = {40, 340, 700};
    for (int i = 0; i < 3; ++i) NoteInk(AddText(labelLeft[i], 142, labels[i]), 0);
    skin::CSomBitmap* header = skin::Skin()->Bitmap(10004);
    const int widths[] = {3, 4, 20, 60, 150};
    int x = 40;
    for (int width : widths) {
        for (int frame = 0; frame < 4; ++frame) {
            const int y = 160 + frame * 30;
            Add<StretchTile>(header, frame, false)
                .Create(&manager_, nullptr, 0, x, y, width, header->GetFrameHeight(), 0, skin::kSomVisible);
            Note({"three", "10004", Number(frame), Number(x), Number(y), Number(width)});
        }
        x += width + 12;
    }
    skin::CSomBitmap* panel = skin::Skin()->Bitmap(10022);
    for (int frame = 0; frame < 3; ++frame) {
        Add<StretchTile>(panel, frame, false)
            .Create(&manager_, nullptr, 0, 340 + frame * 112, 160, 100, panel->GetFrameHeight(), 0, skin::kSomVisible);
    }
    // Smaller than the background's fixed parts: only their outer ends show.
    skin::CSomBitmap* background = skin::Skin()->Bitmap(10001);
    const SIZE sizes[] = {{220, 110}, {120, 80}, {50, 40}};
    x = 700;
    for (const SIZE& size : sizes) {
        Add<StretchTile>(background, 0, true)
            .Create(&manager_, nullptr, 0, x, 160, size.cx, size.cy, 0, skin::kSomVisible);
        x += size.cx + 12;
    }
}

void GalleryWindow::AddPageCaptions() {
    const wchar_t* captions[] = {
        L"{&#font=5}{&#a=button:307}重新扫描联网的智能电视盒{&#/a}",
        L"{&#font=10}{&#color=0xb0b0b0}拖拽APK文件到此区域可安装到智能电视盒",
        L"{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到小米盒子",
        L"{&#font=10}{&#color=0x808080}拖拽APK文件到此区域可安装到192.168.1.20的盒子",
        L"{&#font=10}{&#color=0x808080}正在安装video.apk，请稍候...",
        L"{&#font=10}{&#color=0x808080}恭喜，全部安装完成！",
        L"{&#font=5}{&#a=button:305}继续安装{&#/a}",
        L"{&#font=10}{&#color=0x808080}恭喜，安装完成！",
        L"{&#font=5}{&#color=0x808080}安装成功 {&#color=0x009000}2{&#/color} 个",
        L"{&#font=5}{&#color=0x808080}安装失败 {&#color=0x0000ff}1{&#/color} 个    {&#a=button:306}重新安装{&#/a}    {&#font=5}{&#a=button:305}继续安装其他应用{&#/a}",
        L"{&#font=10}{&#color=0x808080}安装失败，无效的安装包或者网络故障！",
        L"{&#font=5}{&#a=button:306}重新安装{&#/a}",
        L"{&#font=5}{&#a=button:305}继续安装其他应用{&#/a}",
        L"{&#font=10}{&#color=0x808080}功能建设中，请持续关注......",
    };
    const int top = 300, step = 36, perColumn = 8;
    for (int i = 0; i < static_cast<int>(std::size(captions)); ++i)
        NoteInk(AddText(40 + i / perColumn * 620, top + i % perColumn * step, captions[i]), 0);
    // A link as the pointer shows it, and a caption of a disabled control.
    const int y = top + 6 * step;
    auto& hovered = AddText(660, y, L"{&#font=5}{&#color=0x808080}悬停：{&#underline}{&#a=button:305}继续安装其他应用{&#/a}");
    const skin::RunRect& link = hovered.Runs()[1].bounds;
    hovered.OnMouseMove({link.left + 2, link.top + 2});
    NoteInk(hovered, 0);
    NoteInk(AddText(660, y + step, L"{&#font=5}{&#color=0x808080}停用：{&#a=button:306}重新安装{&#/a}", skin::kSomDisabled), 0);
}

// Each character of a caption in a cell of its own, next to a character no font has: Chinese
// glyphs must not look like that one.
void GalleryWindow::AddGlyphProbes() {
    NoteInk(AddText(40, 696, L"{&#font=1}{&#color=0x808080}字形检查（最后一个字哪个字体都没有）"), 0);
    const std::wstring probes = L"正在寻找盒子没有安装\x0378";
    int x = 40;
    for (wchar_t probe : probes) {
        const std::wstring markup = std::wstring(L"{&#font=8}{&#color=0x303030}") + probe;
        auto& cell = AddText(x, 720, markup.c_str());
        Note({"glyph", Number(probe), Number(x), "720", Number(cell.Width()), Number(cell.Height())});
        x += 30;
    }
}

}  // namespace gallery
