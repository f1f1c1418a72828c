#include "SLcdCtrl.h"
#include <cmath>
#include "SMouseNotify.h"
#include "SStringParser.h"

namespace
{
const COLORREF LCD_BACKGROUND = 0xE2BE6C;
const double DEFAULT_SPEED = 5.0;
} // namespace

SLcdCtrl::SLcdCtrl()
    : m_cellColor(0xD1A24B), m_dotColor(0x0A0A0A), m_dotWidth(2), m_dotHeight(2), m_charCount(16),
      m_lineCount(1), m_scrolling(false), m_lastStep(0), m_clock(&timeGetTime)
{
    SetTypeId(STYPE_LCD);
    m_speeds.Add(DEFAULT_SPEED);
    m_offsets.Add(0.0);
}

SLcdCtrl::~SLcdCtrl()
{
    DestroyWindow();
}

void SLcdCtrl::SetPixelSize(int width, int height)
{
    width = width < 1 ? 1 : width;
    height = height < 1 ? 1 : height;
    if (width == m_dotWidth && height == m_dotHeight)
        return;
    m_dotWidth = width;
    m_dotHeight = height;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SLcdCtrl::SetLineCount(int count)
{
    m_lineCount = count < 1 ? 1 : count;
    m_speeds.RemoveAll();
    m_offsets.RemoveAll();
    for (int i = 0; i < m_lineCount; i++)
    {
        m_speeds.Add(DEFAULT_SPEED);
        m_offsets.Add(0.0);
    }
}

void SLcdCtrl::SetScrollSpeed(int line, double charsPerSecond)
{
    if (line == -1)
    {
        for (int i = 0; i < m_speeds.GetCount(); i++)
            m_speeds.SetAt(i, charsPerSecond);
    }
    else if (line >= 0 && line < m_speeds.GetCount())
        m_speeds.SetAt(line, charsPerSecond);
}

void SLcdCtrl::SetCharCount(int count)
{
    m_charCount = count < 1 ? 1 : count;
}

void SLcdCtrl::SetCellColor(COLORREF color)
{
    if (color != COLOR_NONE)
        m_cellColor = color;
}

void SLcdCtrl::SetDotColor(COLORREF color)
{
    if (color != COLOR_NONE)
        m_dotColor = color;
}

void SLcdCtrl::SetScrolling(bool on)
{
    m_scrolling = on;
    if (on)
    {
        for (int i = 0; i < m_offsets.GetCount(); i++)
            m_offsets.SetAt(i, -static_cast<double>(m_charCount));
        m_lastStep = m_clock();
        if (m_handle)
            SetTimer(SCROLL_TIMER, SCROLL_PERIOD);
    }
    else if (m_handle)
        KillTimer(SCROLL_TIMER);
}

double SLcdCtrl::GetScrollOffset(int line) const
{
    return line >= 0 && line < m_offsets.GetCount() ? m_offsets.GetAt(line) : 0.0;
}

SString SLcdCtrl::ScrollLine(int line, const SString& text, double elapsed)
{
    const double count = m_charCount;
    const double speed = m_speeds.GetAt(line);
    if (speed == 0)
        return text;
    double offset = m_offsets.GetAt(line);
    const int old = static_cast<int>(std::trunc(count + offset)) - m_charCount;
    offset += speed * elapsed / 1000.0;
    const int now = static_cast<int>(std::trunc(count + offset)) - m_charCount;
    SString shown;
    if (now < 0)
    {
        shown = SString(-now);
        shown += text.GetText();
    }
    else if (now > text.GetLength())
    {
        shown = SString(m_charCount);
        shown += text.GetText();
        offset = -count;
    }
    else
        shown = text.Mid(now);
    m_offsets.SetAt(line, offset);
    if (now != old)
        OnScrollStep(line, now);
    return shown;
}

void SLcdCtrl::ScrollStep(const SArrayString& lines, SArrayString& shown)
{
    const DWORD now = m_clock();
    const double elapsed = static_cast<double>(now - m_lastStep);
    m_lastStep = now;
    shown.RemoveAll();
    for (int i = 0; i < lines.GetCount(); i++)
    {
        // Lines beyond the display's own have no speed or offset: they stay as written.
        if (i < m_speeds.GetCount() && i < m_offsets.GetCount())
            shown.Add(ScrollLine(i, lines.GetAt(i), elapsed).GetText());
        else
            shown.Add(lines.GetAt(i).GetText());
    }
}

LRESULT SLcdCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetBackgroundColor(LCD_BACKGROUND);
        SetScrolling(false);
        break;
    case WM_SETTEXT:
    {
        const LRESULT result = SWnd::WindowProc(message, wParam, lParam);
        InvalidateRect(nullptr, true);
        return result;
    }
    case WM_TIMER:
        if (wParam == SCROLL_TIMER)
            InvalidateRect(nullptr, true);
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    default:
        SMouseNotify::RelayToParent(this, SWM_LCD_MOUSE, message, lParam);
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
