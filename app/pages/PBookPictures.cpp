#include "PBookPictures.h"
#include "SDrawing.h"
#include "SFile.h"
#include "SMemory.h"
#include "PSettings.h"

namespace
{
const int BAR_WIDTH = 1500;
const int BAR_HEIGHT = 32;

// Verdana where the system has it; the face every system has otherwise, so
// that a bar never goes without its name.
std::unique_ptr<Gdiplus::Font> MakeBarFont()
{
    const wchar_t* const faces[] = {L"verdana", L"Tahoma"};
    for (const wchar_t* face : faces)
    {
        std::unique_ptr<Gdiplus::Font> font(new Gdiplus::Font(face, 10, Gdiplus::FontStyleRegular,
                                                              Gdiplus::UnitPoint));
        if (font->GetLastStatus() == Gdiplus::Ok)
            return font;
    }
    return nullptr;
}
}

PBookPictures::PBookPictures()
    : m_font(MakeBarFont()), m_brush(Gdiplus::Color(255, 255, 255, 255)), m_format(Gdiplus::StringFormatFlagsNoWrap)
{
    m_format.SetAlignment(Gdiplus::StringAlignmentNear);
    m_format.SetLineAlignment(Gdiplus::StringAlignmentNear);
    m_bar.Create(BAR_WIDTH, BAR_HEIGHT, PixelFormat32bppARGB);
}

PBookPictures::~PBookPictures()
{
}

bool PBookPictures::Save(const SImage& image, int format, const SString& path)
{
    SMemory bytes;
    return image.Save(format, &bytes) && SFile::SaveReplacing(TextOf(path), bytes.GetData(), bytes.GetSize(), false);
}

bool PBookPictures::WriteCover(SImage& cover, const SString& path) const
{
    if (!cover.IsLoaded())
        return false;
    cover.Resize(32, 32);
    return Save(cover, SImage::FORMAT_JPEG, path);
}

bool PBookPictures::WriteNameBar(const SString& name, DWORD rgb, const SString& path)
{
    if (!m_font || !m_bar.IsLoaded())
        return false;
    m_bar.Clear(RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
    RECT measure = {};
    {
        Gdiplus::Graphics graphics(m_bar.GetBitmap());
        const RECT area = {0, 0, BAR_WIDTH, BAR_HEIGHT};
        DrawStringOnGraphics(&graphics, TextOf(name), m_font.get(), &area, &m_format, &m_brush, nullptr, &measure);
    }
    const int width = measure.right - measure.left + 16;
    const int height = measure.bottom - measure.top;
    // Made in the format the picture is written in: no conversion afterwards.
    SImage cut;
    if (height <= 0 || !cut.Create(width, height, PixelFormat24bppRGB))
        return false;
    {
        Gdiplus::Graphics graphics(cut.GetBitmap());
        graphics.DrawImage(m_bar.GetBitmap(), Gdiplus::Rect(0, 0, BAR_WIDTH, BAR_HEIGHT), 0, 0, BAR_WIDTH,
                           BAR_HEIGHT, Gdiplus::UnitPixel);
    }
    return cut.Rotate(3) && Save(cut, SImage::FORMAT_PNG, path);
}
