// The pictures of the book: each folder's cover as a 32 x 32 JPEG and its name
// drawn on a coloured bar, turned to read upwards, as a 24-bit PNG. The font,
// brush and string format are made once for a whole book.
#pragma once
#include "SPlatform.h"
#include <memory>
#include "SImage.h"
#include "SString.h"

class PBookPictures
{
public:
    PBookPictures();
    virtual ~PBookPictures();

    // The cover picture (any size) stretched to 32 x 32 and written as JPEG.
    bool WriteCover(SImage& cover, const SString& path) const;
    // The name on a 1,500 x 32 bar of that colour (RRGGBB), cut to the text
    // and 16 pixels more, turned by 270 degrees and written as PNG.
    bool WriteNameBar(const SString& name, DWORD rgb, const SString& path);

    // Writes the picture beside the path, which is replaced only after a complete write.
    static bool Save(const SImage& image, int format, const SString& path);

private:
    PBookPictures(const PBookPictures&) = delete;
    PBookPictures& operator=(const PBookPictures&) = delete;

    std::unique_ptr<Gdiplus::Font> m_font;
    Gdiplus::SolidBrush m_brush;
    Gdiplus::StringFormat m_format;
    SImage m_bar;
};
