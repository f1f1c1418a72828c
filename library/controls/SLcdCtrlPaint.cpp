// Painting of the LCD: cells, then the text glyph by glyph, dot by dot. Only
// pixels inside the client area are touched, so a huge dot size costs nothing.
#include "SLcdCtrl.h"
#include <algorithm>
#include "SGuards.h"

void SLcdCtrl::Paint(HDC dc)
{
    if (!dc || !m_handle)
        return;
    RECT client = {};
    GetClientRect(&client);
    const long long cellWidth = 6LL * m_dotWidth, cellHeight = 8LL * m_dotHeight;
    const long long gridWidth = m_charCount * cellWidth - m_dotWidth;
    const long long gridHeight = m_lineCount * cellHeight - m_dotHeight;
    long long left = 0, top = 0;
    if (gridWidth < client.right)
        left = (client.right - gridWidth) / 2;
    if (gridHeight < client.bottom)
        top = (client.bottom - gridHeight) / 2;
    FillCells(dc, client, left, top);

    const SString all = GetWindowText();
    SArrayString lines;
    int start = 0;
    do
    {
        int next = all.GetLength();
        lines.Add(all.GetLine(start, &next).GetText());
        start = next;
    } while (start < all.GetLength());
    SArrayString shown;
    if (m_scrolling)
        ScrollStep(lines, shown);
    else
        shown = lines;
    DrawText(dc, client, left, top, shown.Join("\r\n"));
}

void SLcdCtrl::FillCells(HDC dc, const RECT& client, long long left, long long top) const
{
    SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(m_cellColor));
    const long long cellWidth = 6LL * m_dotWidth, cellHeight = 8LL * m_dotHeight;
    for (int row = 0; row < m_lineCount; row++)
    {
        const long long y = top + row * cellHeight;
        if (y >= client.bottom)
            break;
        for (int column = 0; column < m_charCount; column++)
        {
            const long long x = left + column * cellWidth;
            if (x >= client.right)
                break;
            RECT cell = {static_cast<LONG>(std::max<long long>(x, 0)), static_cast<LONG>(std::max<long long>(y, 0)),
                         static_cast<LONG>(std::min<long long>(x + cellWidth - m_dotWidth, client.right)),
                         static_cast<LONG>(std::min<long long>(y + cellHeight - m_dotHeight, client.bottom))};
            FillRect(dc, &cell, brush.Get());
        }
    }
}

void SLcdCtrl::DrawText(HDC dc, const RECT& client, long long left, long long top, const SString& text) const
{
    const long long cellWidth = 6LL * m_dotWidth, cellHeight = 8LL * m_dotHeight;
    int row = 0, column = 0;
    for (int i = 0; i < text.GetLength() && row < m_lineCount; i++)
    {
        const unsigned char c = static_cast<unsigned char>(text.GetAt(i));
        if (c == '\r' || c == '\n')
        {
            if (c == '\r' && i + 1 < text.GetLength() && text.GetAt(i + 1) == '\n')
                i++;
            row++;
            column = 0;
            continue;
        }
        const long long y = top + row * cellHeight;
        if (y >= client.bottom)
            break;
        if (column < m_charCount)
            DrawGlyph(dc, client, left + column * cellWidth, y, c);
        column++;
    }
}

void SLcdCtrl::DrawGlyph(HDC dc, const RECT& client, long long x, long long y, unsigned char c) const
{
    const BYTE* glyph = GetGlyph(c);
    for (int column = 0; column < 5; column++, x += m_dotWidth)
    {
        if (x >= client.right)
            return;
        for (int bit = 7; bit >= 1; bit--)
        {
            if (!(glyph[column] & (1 << bit)))
                continue;
            const long long dotTop = y + (7 - bit) * static_cast<long long>(m_dotHeight);
            const long long x0 = std::max<long long>(x, 0), x1 = std::min<long long>(x + m_dotWidth, client.right);
            const long long y0 = std::max<long long>(dotTop, 0);
            const long long y1 = std::min<long long>(dotTop + m_dotHeight, client.bottom);
            for (long long py = y0; py < y1; py++)
                for (long long px = x0; px < x1; px++)
                    SetPixelV(dc, static_cast<int>(px), static_cast<int>(py), m_dotColor);
        }
    }
}
