// The library's picture: one GDI+ bitmap with a draw mode, a colour painted
// around it and a colour key. Reads and writes pictures through GDI+, draws them
// into rectangles and offers a few pixel filters. GDI+ must be started first.
#pragma once
#include "SPlatform.h"
#include <commctrl.h>
#include <gdiplus.h>
#include "SString.h"

class SVirtualFile;

class SImage
{
public:
    // Formats of Save; any other value writes a BMP.
    enum SaveFormat
    {
        FORMAT_JPEG = 1,
        FORMAT_PNG = 2,
        FORMAT_GIF = 3,
        FORMAT_BMP = 4
    };
    // Draw modes: 0-8 natural size placed in the rectangle, then stretch, tile, fit.
    enum DrawMode
    {
        DRAW_TOPLEFT = 0,
        DRAW_TOP = 1,
        DRAW_TOPRIGHT = 2,
        DRAW_LEFT = 3,
        DRAW_RIGHT = 4,
        DRAW_BOTTOMLEFT = 5,
        DRAW_BOTTOM = 6,
        DRAW_BOTTOMRIGHT = 7,
        DRAW_CENTER = 8,
        DRAW_STRETCH = 9,
        DRAW_TILE = 10,
        DRAW_FIT = 11
    };
    static constexpr COLORREF COLOR_NONE = 0xFF000000;
    static constexpr COLORREF COLOR_TRANSPARENT = 0xFF000001;

    SImage();
    SImage(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    virtual ~SImage();
    SImage(const SImage&) = delete;
    SImage& operator=(const SImage&) = delete;

    void Init();
    // Replaces the bitmap by a new empty one.
    bool Create(int width, int height, Gdiplus::PixelFormat format = PixelFormat32bppARGB);
    void Release();
    bool IsLoaded() const { return m_bitmap != nullptr; }
    int GetWidth() const;
    int GetHeight() const;
    int GetBitsPerPixel() const;
    Gdiplus::PixelFormat GetPixelFormat() const;
    // The owned bitmap, null when empty.
    Gdiplus::Bitmap* GetBitmap() const { return m_bitmap; }

    void SetName(const char* name) { m_name = name ? name : ""; }
    const SString& GetName() const { return m_name; }
    SImage& SetBackgroundColor(COLORREF color) { m_backgroundColor = color; return *this; }
    COLORREF GetBackgroundColor() const { return m_backgroundColor; }
    void SetTransparentColor(COLORREF color) { m_transparentColor = color; }
    COLORREF GetTransparentColor() const { return m_transparentColor; }
    // Stores 0 for a mode outside 0-11; returns the previous mode.
    int SetDrawMode(int mode);
    int GetDrawMode() const { return m_drawMode; }

    // Reading: each replaces the picture and is true when one of non-zero size was made.
    // count < 0: the rest of the stream; cut to what remains; 0 fails.
    bool Load(SVirtualFile* stream, int count = -1);
    bool LoadResource(const char* name, const char* type, HMODULE module = nullptr);
    bool LoadBitmapHandle(HBITMAP bitmap);
    // A null dc means the screen.
    bool CaptureFromDC(HDC dc, int x, int y, int width, int height);
    // index -1: the list's whole strip.
    bool LoadFromImageList(HIMAGELIST list, int index);
    // A rectangle of the source in its pixel format; negative sizes mean the full size.
    // An empty source empties the picture; a clone GDI+ refuses keeps it as it was.
    bool CopyFrom(const SImage* source, int x = 0, int y = 0, int width = -1, int height = -1);
    bool CopyFromBitmap(Gdiplus::Bitmap* source, int x = 0, int y = 0, int width = -1,
                        int height = -1);

    // Writing at the stream's position; format as SaveFormat.
    bool Save(int format, SVirtualFile* stream) const;
    bool Save(SVirtualFile* stream, int format) const { return Save(format, stream); }
    // New GDI bitmaps, owned by the caller; 0 when empty or on failure.
    HBITMAP GetHBITMAP() const;
    HBITMAP ToBitmapHandle(bool fallback) const;
    // The whole picture in that format as top-down rows; a null buffer is
    // allocated (new[]) at the format's size and belongs to the caller.
    unsigned char* GetPixels(void* buffer, Gdiplus::PixelFormat format) const;
    // Size in bytes of GetPixels' rows in that format (0 when empty).
    int GetPixelsSize(Gdiplus::PixelFormat format) const;
    // width x height 32-bit pixels, top-down.
    bool SetPixels(const void* buffer);
    bool SetPixel(int x, int y, Gdiplus::ARGB color);
    bool GetPixel(int x, int y, Gdiplus::ARGB* color) const;
    // The pixels not of that colour; 0 when empty.
    HRGN CreateRegion(COLORREF color) const;

    // Drawing by the draw mode; null rectangles mean the image's own (x, y, width, height).
    bool Draw(Gdiplus::Graphics* graphics, const Gdiplus::Rect* destination = nullptr,
              const Gdiplus::Rect* source = nullptr) const;
    bool DrawToRect(Gdiplus::Graphics* graphics, RECT destination,
                    const Gdiplus::Rect* source = nullptr) const;
    bool DrawAt(Gdiplus::Graphics* graphics, int x, int y) const;
    // Where modes 0-8 put a w x h picture in the destination (not yet cut).
    static Gdiplus::Rect PlaceAligned(int mode, const Gdiplus::Rect& destination, int width,
                                      int height);

    // Whether GDI+ draws into pictures of that format: not into indexed ones,
    // 16-bit grey, 16-bit with a one-bit alpha, nor CMYK.
    static bool IsDrawableFormat(Gdiplus::PixelFormat format);
    // Converts the picture to 32-bit ARGB when GDI+ cannot draw into its
    // format; false when empty or when that fails (the picture then unchanged).
    bool MakeDrawable();

    // Editing; whatever draws into the picture first makes it drawable.
    bool Resize(int width, int height);
    bool ResizeCentered(int width, int height);
    bool ConvertFormat(Gdiplus::PixelFormat format);
    // Clockwise quarter turns; negative fails.
    bool Rotate(int quarterTurns);
    bool Clear(COLORREF color);
    bool FillRectangle(const Gdiplus::Rect* rect, Gdiplus::ARGB color);
    bool FloodFill(int x, int y, COLORREF color);
    // 32-bit only; null rect = whole image; lowerOnly leaves pixels at or below alpha.
    bool SetAlpha(BYTE alpha, const Gdiplus::Rect* rect = nullptr, bool lowerOnly = false);
    bool ToGrayscale(const Gdiplus::Rect* rect = nullptr);
    bool MakeOpaqueWhite();

private:
    bool DecodeStream(SVirtualFile* stream, int count);
    // width x height pixels of 4 bytes, top-down, written through a lock in that format.
    bool WritePixels(const void* buffer, Gdiplus::PixelFormat format);
    bool Replace(Gdiplus::Bitmap* bitmap);
    bool RedrawInto(int width, int height, Gdiplus::PixelFormat format, int mode, bool clear);
    bool RedrawResized(int width, int height, int mode);
    bool DrawPlaced(Gdiplus::Graphics* graphics, const Gdiplus::Rect& destination,
                    const Gdiplus::Rect& source, Gdiplus::ImageAttributes* attributes) const;
    bool DrawTiled(Gdiplus::Graphics* graphics, const Gdiplus::Rect& destination,
                   const Gdiplus::Rect& source) const;
    void FillAround(Gdiplus::Graphics* graphics, const Gdiplus::Rect& destination,
                    const Gdiplus::Rect& drawn) const;
    // Runs the visitor on each 32-bit pixel of the rectangle (null = whole image).
    template <class Visitor>
    bool ForEachPixel(const Gdiplus::Rect* rect, int minimumBits, Visitor visit);

    SString m_name;
    Gdiplus::Bitmap* m_bitmap;
    COLORREF m_backgroundColor;
    COLORREF m_transparentColor;
    int m_drawMode;
};

// Index of the first GDI+ encoder of that MIME type, its class id copied; -1 when none.
int FindImageEncoder(const WCHAR* mimeType, CLSID* clsid);
// The region of the pixels of a GDI bitmap whose red, green and blue lie outside
// colour .. colour + tolerance (each channel capped at 255).
HRGN RegionFromBitmap(HBITMAP bitmap, COLORREF color, COLORREF tolerance);
// (Re)creates the image as width x height 32-bit ARGB, draw mode 8, no
// background colour, and sets its pixels row by row from the ARGB colours.
void LoadImageFromPixelArray(SImage* image, const Gdiplus::ARGB* colors, int width, int height);
