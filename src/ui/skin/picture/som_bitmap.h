#pragma once
// A skin picture: loaded on first use, cut into equal frames (side by side or stacked), drawn whole,
// scaled, or at its natural size. Subclasses draw with fixed borders (som_bitmap_parts.h).
#include <windows.h>

#include <cstdint>
#include <string>

namespace skin {

struct Span;

class CSomBitmap {
public:
    enum SourceKind : uint8_t { kIconHandle = 0, kBmp = 1, kPng = 2 };

    // A picture among the program's resources.
    CSomBitmap(int resource, SourceKind kind, uint16_t frameCount = 1, bool verticalFrames = false);
    // A picture file: BMP through the platform, any other kind through GDI+.
    CSomBitmap(std::wstring path, SourceKind kind, uint16_t frameCount = 1, bool verticalFrames = false);
    // An icon that its owner keeps; only DrawFrame draws it.
    CSomBitmap(HICON icon, int width, int height);
    virtual ~CSomBitmap();
    CSomBitmap(const CSomBitmap&) = delete;
    CSomBitmap& operator=(const CSomBitmap&) = delete;

    // The frame scaled to (x, y, w, h).
    virtual void Draw(HDC dc, int x, int y, int w, int h, int frame);
    // The frame scaled to width w at its own height.
    virtual void DrawStretchWidth(HDC dc, int x, int y, int w, int frame);
    // The frame at its natural size.
    void DrawFrame(HDC dc, int x, int y, int frame);

    // Each query loads the picture first; a picture that cannot be loaded measures 0 x 0.
    int GetFrameWidth();
    int GetFrameHeight();
    int GetFrameCount();
    bool HasAlpha();

protected:
    // The loaded picture selected into the shared memory DC for one drawing call.
    class Source {
    public:
        explicit Source(const CSomBitmap& bitmap);
        ~Source();
        Source(const Source&) = delete;
        Source& operator=(const Source&) = delete;

        void Copy(HDC dc, int x, int y, int w, int h, int sx, int sy) const;
        void Stretch(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh) const;
        // One cell of a part drawing: plain copy when neither axis stretches.
        void Part(HDC dc, int x, int y, const Span& across, const Span& down, int frameLeft) const;

    private:
        HDC memory_;
        HGDIOBJ previous_;
        bool alpha_;
    };

    bool EnsureLoaded();
    POINT FrameOrigin(int frame) const;

    int frameWidth_ = 0;
    int frameHeight_ = 0;

private:
    HBITMAP LoadPicture() const;

    int resource_ = 0;
    std::wstring path_;
    HBITMAP bitmap_ = nullptr;
    HICON icon_ = nullptr;
    uint16_t frameCount_;
    bool hasAlpha_ = false;
    SourceKind kind_;
    bool verticalFrames_;
};

}  // namespace skin
