// Layout of the rich-text view: measuring runs through a measurer, placing them
// by their line's alignment, and the GDI+ measurer the view itself uses.
#include "SMediaCtrl.h"
#include <algorithm>
#include <cmath>
#include <memory>
#include <gdiplus.h>
#include "SGuards.h"
#include "SImage.h"

namespace
{
// A box no text reaches the end of.
const float UNBOUNDED = 2147483648.0f;

// Measures with GDI+ on the view's context, in the view's string format.
class GdiplusMeasurer : public SMediaCtrl::_SMeasurer
{
public:
    GdiplusMeasurer(HDC dc, const Gdiplus::StringFormat& format) : m_dc(dc), m_graphics(dc), m_format(&format) {}

    float GetLineHeight(const LOGFONTA& font) override
    {
        std::unique_ptr<Gdiplus::Font> made(SMediaCtrl::CreateGdiplusFont(m_dc, font));
        return made ? made->GetHeight(&m_graphics) : 0.0f;
    }

    bool Measure(const char* text, int length, const LOGFONTA& font, int alignment, float boxWidth, float& width,
                 float& height) override
    {
        width = height = 0;
        std::unique_ptr<Gdiplus::Font> made(SMediaCtrl::CreateGdiplusFont(m_dc, font));
        if (!made || length <= 0)
            return made != nullptr;
        SString part;
        part.Assign(text, length);
        std::unique_ptr<Gdiplus::StringFormat> format(m_format->Clone());
        if (!format)
            return false;
        format->SetAlignment(SMediaCtrl::ToStringAlignment(alignment));
        format->SetLineAlignment(Gdiplus::StringAlignmentNear);
        const Gdiplus::RectF box(0, 0, boxWidth, UNBOUNDED);
        Gdiplus::RectF bounds;
        const wchar_t* wide = part.GetWide();
        if (m_graphics.MeasureString(wide, static_cast<int>(wcslen(wide)), made.get(), box, format.get(),
                                     &bounds) != Gdiplus::Ok)
            return false;
        width = bounds.Width;
        height = bounds.Height;
        return true;
    }

private:
    HDC m_dc;
    Gdiplus::Graphics m_graphics;
    const Gdiplus::StringFormat* m_format;
};

// Positions the runs of one line: 1 centre, 2 right, anything else left.
void PlaceRuns(SMediaCtrl::_SLine* line, int alignment, int innerWidth)
{
    const int count = line->runs.GetCount();
    if (alignment == 2)
    {
        float x = static_cast<float>(innerWidth);
        for (int i = count - 1; i >= 0; i--)
        {
            SMediaCtrl::_SText* run = line->runs.GetAt(i);
            x -= run->width;
            run->x = x;
        }
        return;
    }
    float x = alignment == 1 ? std::trunc(innerWidth / 2.0f - line->width / 2.0f) : 0.0f;
    for (int i = 0; i < count; i++)
    {
        SMediaCtrl::_SText* run = line->runs.GetAt(i);
        run->x = x;
        x += run->width;
    }
}

void MeasureRun(SMediaCtrl::_SText* run, const char* source, SMediaCtrl::_SMeasurer& measurer, float box)
{
    float width = 0, height = 0;
    if (run->image)
    {
        width = static_cast<float>(run->image->GetWidth());
        height = static_cast<float>(run->image->GetHeight());
    }
    else if (!measurer.Measure(source + run->start, run->length, run->font, run->alignment, box, width, height))
    {
        width = height = 0;
    }
    run->x = run->y = 0;
    run->width = width;
    run->height = height;
}
} // namespace

SIZE SMediaCtrl::PlaceLines(SArray<_SLine*>& lines, const char* source, _SMeasurer& measurer, const LOGFONTA& font,
                            int innerWidth, bool wrapping, int viewAlignment)
{
    const float defaultHeight = std::trunc(measurer.GetLineHeight(font));
    const float box = wrapping ? static_cast<float>(innerWidth) : UNBOUNDED;
    SIZE content = {0, 0};
    for (int i = 0; i < lines.GetCount(); i++)
    {
        _SLine* line = lines.GetAt(i);
        line->x = 0;
        line->width = 0;
        line->height = defaultHeight;
        for (int r = 0; r < line->runs.GetCount(); r++)
        {
            _SText* run = line->runs.GetAt(r);
            run->alignment = line->alignment == 2 ? 2 : line->alignment == 1 ? 1 : 0;
            MeasureRun(run, source, measurer, box);
            line->width += std::trunc(run->width);
            line->height = std::max(line->height, std::trunc(run->height));
        }
        PlaceRuns(line, line->alignment >= 0 ? line->alignment : viewAlignment, innerWidth);
        content.cx = std::max(content.cx, static_cast<LONG>(line->width));
        content.cy += static_cast<LONG>(line->height);
    }
    return content;
}

Gdiplus::StringAlignment SMediaCtrl::ToStringAlignment(int alignment)
{
    return alignment == 1   ? Gdiplus::StringAlignmentCenter
           : alignment == 2 ? Gdiplus::StringAlignmentFar
                            : Gdiplus::StringAlignmentNear;
}

// A font GDI+ cannot make from the record (not TrueType, or missing here) is
// replaced by the generic sans serif of the same size and style.
Gdiplus::Font* SMediaCtrl::CreateGdiplusFont(HDC dc, const LOGFONTA& font)
{
    std::unique_ptr<Gdiplus::Font> made(new Gdiplus::Font(dc, &font));
    if (made->GetLastStatus() == Gdiplus::Ok && made->IsAvailable())
        return made.release();
    int style = Gdiplus::FontStyleRegular;
    style |= font.lfWeight >= FW_BOLD ? Gdiplus::FontStyleBold : 0;
    style |= font.lfItalic ? Gdiplus::FontStyleItalic : 0;
    style |= font.lfUnderline ? Gdiplus::FontStyleUnderline : 0;
    const float size = static_cast<float>(font.lfHeight ? std::abs(font.lfHeight) : 13);
    const Gdiplus::FontFamily* family = Gdiplus::FontFamily::GenericSansSerif();
    if (!family)
        return nullptr;
    made.reset(new Gdiplus::Font(family, size, style, Gdiplus::UnitPixel));
    return made->GetLastStatus() == Gdiplus::Ok ? made.release() : nullptr;
}

// The format starts from the typographic one: runs measured with the default
// padding would stand apart by a sixth of an em on each side.
void SMediaCtrl::SetupStringFormat(Gdiplus::StringFormat& format) const
{
    format.SetFormatFlags(Gdiplus::StringFormatFlagsMeasureTrailingSpaces |
                          (m_wrapping ? 0 : Gdiplus::StringFormatFlagsNoWrap));
    const int vertical = GetVerticalAlignment();
    format.SetAlignment(ToStringAlignment(GetHorizontalAlignment()));
    format.SetLineAlignment(ToStringAlignment(vertical == ALIGN_MIDDLE ? 1 : vertical == ALIGN_BOTTOM ? 2 : 0));
    format.SetTrimming(Gdiplus::StringTrimmingNone);
    const bool scrollingX = IsScrollingX(), scrollingY = IsScrollingY();
    if (scrollingX)
        format.SetAlignment(Gdiplus::StringAlignmentNear);
    if (scrollingY)
        format.SetLineAlignment(Gdiplus::StringAlignmentNear);
    if (!scrollingX && !scrollingY && m_trimming)
        format.SetTrimming(Gdiplus::StringTrimmingEllipsisCharacter);
}

SIZE SMediaCtrl::MeasureWithView(_SMeasurer* measurer, bool tagged)
{
    const RECT inner = GetInnerRect();
    const int innerWidth = inner.right - inner.left;
    const LOGFONTA font = GetWindowLogFont();
    if (tagged)
        return PlaceLines(m_lines, m_source.GetText(), *measurer, font, innerWidth, m_wrapping,
                          GetHorizontalAlignment());
    float width = 0, height = 0;
    const int alignment = GetHorizontalAlignment() == ALIGN_LEFT_OTHER ? 0 : GetHorizontalAlignment();
    measurer->Measure(m_source.GetText(), m_source.GetLength(), font, alignment,
                      m_wrapping ? static_cast<float>(innerWidth) : UNBOUNDED, width, height);
    SIZE size = {static_cast<LONG>(width) + 1, static_cast<LONG>(height) + 1};
    return size;
}

SIZE SMediaCtrl::Measure(bool tagged)
{
    if (m_measurer)
        return MeasureWithView(m_measurer, tagged);
    SWindowDCGuard dc(m_handle);
    Gdiplus::StringFormat format(Gdiplus::StringFormat::GenericTypographic());
    SetupStringFormat(format);
    GdiplusMeasurer measurer(dc.Get(), format);
    return MeasureWithView(&measurer, tagged);
}

void SMediaCtrl::ParseTags()
{
    if (!m_handle)
        return;
    m_pictures.Clear();
    m_lines.DeleteAndRemoveAll();
    _SOwnedArray<_STag> tags;
    ScanTags(m_source.GetText(), m_source.GetLength(), tags);
    BuildLines(m_source.GetText(), tags, GetRunStyle(), &m_pictures, m_lines);
    const SIZE size = Measure(true);
    m_contentWidth = size.cx;
    m_contentHeight = size.cy;
}

void SMediaCtrl::LayoutPlain()
{
    if (!m_handle)
        return;
    m_lines.DeleteAndRemoveAll();
    m_linkTargets.DeleteAndRemoveAll();
    m_linkRects.RemoveAll();
    const SIZE size = Measure(false);
    m_contentWidth = size.cx;
    m_contentHeight = size.cy;
}
