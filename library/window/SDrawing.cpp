#include "SDrawing.h"
#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "SGuards.h"
#include "SHexDigit.h"

namespace
{
COLOR16 Channel16(BYTE c)
{
    return static_cast<COLOR16>(c * 255 + 255);
}

TRIVERTEX Vertex(LONG x, LONG y, COLORREF color)
{
    TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = Channel16(GetRValue(color));
    v.Green = Channel16(GetGValue(color));
    v.Blue = Channel16(GetBValue(color));
    v.Alpha = 0;
    return v;
}

DWORD HexPair(const char* text)
{
    return static_cast<DWORD>(std::max(0, SHexDigit(text[0])) * 16 + std::max(0, SHexDigit(text[1])));
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The rules both name tests share: not empty, not starting with a digit, not
// only '_', not ending with '_'.
bool HasNameShape(const char* text)
{
    if (!text || !*text || IsDigit(text[0]))
        return false;
    const size_t length = strlen(text);
    if (text[length - 1] == '_')
        return false;
    return strspn(text, "_") != length;
}

std::wstring Widen(const char* text)
{
    if (!text || !*text)
        return std::wstring();
    const int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    return wide;
}
} // namespace

bool DrawGradientRect(HDC dc, const RECT* rect, COLORREF first, COLORREF second, bool vertical)
{
    if (!rect)
        return false;
    TRIVERTEX vertices[2] = {Vertex(rect->left, rect->top, first),
                             Vertex(rect->right, rect->bottom, second)};
    GRADIENT_RECT mesh = {0, 1};
    return GradientFill(dc, vertices, 2, &mesh, 1,
                        vertical ? GRADIENT_FILL_RECT_V : GRADIENT_FILL_RECT_H) != 0;
}

bool DrawGradientRectByValue(HDC dc, RECT rect, COLORREF first, COLORREF second, bool vertical)
{
    return DrawGradientRect(dc, &rect, first, second, vertical);
}

bool DrawGradientRectOnGraphics(Gdiplus::Graphics* graphics, const Gdiplus::Rect& rect,
                                const Gdiplus::Color& first, const Gdiplus::Color& second,
                                bool vertical)
{
    if (!graphics)
        return false;
    HDC dc = graphics->GetHDC();
    if (!dc)
        return false;
    const RECT r = RectFromGdiplusRect(rect);
    const bool done = DrawGradientRect(dc, &r, RGB(first.GetR(), first.GetG(), first.GetB()),
                                       RGB(second.GetR(), second.GetG(), second.GetB()), vertical);
    graphics->ReleaseHDC(dc);
    return done;
}

int FillRectByValue(HDC dc, RECT rect, HBRUSH brush)
{
    return FillRect(dc, &rect, brush);
}

void DrawRectOutline(HDC dc, const RECT* rect, HPEN pen)
{
    if (!rect)
        return;
    SSelectGuard selectPen(dc, pen);
    SSelectGuard selectBrush(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, rect->left, rect->top, rect->right, rect->bottom);
}

void DrawRectOutlineByValue(HDC dc, RECT rect, HPEN pen)
{
    DrawRectOutline(dc, &rect, pen);
}

void DrawLineWithPen(HDC dc, int x1, int y1, int x2, int y2, HPEN pen)
{
    SSelectGuard selectPen(dc, pen);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

RECT RectFromGdiplusRect(const Gdiplus::Rect& rect)
{
    RECT r = {rect.X, rect.Y, rect.X + rect.Width, rect.Y + rect.Height};
    return r;
}

RECT FitRectKeepingAspect(int left, int top, int right, int bottom, int width, int height)
{
    const double ratio = height < 1 ? 1.0 : static_cast<double>(width) / height;
    const int boxWidth = right - left, boxHeight = bottom - top;
    const int widthAtFullHeight = static_cast<int>(boxHeight * ratio);
    RECT r = {left, top, right, bottom};
    // Compared before truncation: an image without width gives an infinite
    // height here, which no int holds.
    if (ratio <= 0 || boxWidth / ratio >= boxHeight + 1.0)
    {
        r.left = left + boxWidth / 2 - widthAtFullHeight / 2;
        r.right = r.left + widthAtFullHeight;
    }
    else
    {
        const int heightAtFullWidth = static_cast<int>(boxWidth / ratio);
        r.top = top + boxHeight / 2 - heightAtFullWidth / 2;
        r.bottom = r.top + heightAtFullWidth;
    }
    return r;
}

int PointSizeToFontHeight(int points, HDC dc)
{
    if (dc)
        return -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
    SWindowDCGuard screen(nullptr);
    return -MulDiv(points, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72);
}

int PixelsToTwips(int pixels, bool vertical)
{
    SWindowDCGuard screen(nullptr);
    const int perInch = GetDeviceCaps(screen.Get(), vertical ? LOGPIXELSY : LOGPIXELSX);
    return perInch > 0 ? pixels * 1440 / perInch : 0;
}

HFONT CreateFontWithStyle(const char* face, int height, int style)
{
    return CreateFontA(height, 0, 0, 0, IsBoldStyle(style) ? 700 : 0, IsItalicStyle(style),
                       IsUnderlineStyle(style), IsStrikeOutStyle(style), 0, 0, 0, 0, 0, face);
}

HFONT CreateFontFromPoints(HDC dc, const char* face, int points, int style, int* height)
{
    const int h = PointSizeToFontHeight(points, dc);
    if (height)
        *height = h;
    return CreateFontWithStyle(face, h, style);
}

void FillLogFont(LOGFONTA* font, const char* face, int points, int style)
{
    if (!font)
        return;
    ZeroMemory(font, sizeof(*font));
    if (face)
        lstrcpynA(font->lfFaceName, face, 32);
    font->lfHeight = PointSizeToFontHeight(points, nullptr);
    font->lfWeight = IsBoldStyle(style) ? 700 : 0;
    font->lfItalic = IsItalicStyle(style);
    font->lfUnderline = IsUnderlineStyle(style);
    font->lfStrikeOut = IsStrikeOutStyle(style);
}

int GetLogFontStyleFlags(const LOGFONTA* font)
{
    if (!font)
        return 0;
    return (font->lfWeight == 700 ? SFONT_BOLD : 0) | (font->lfItalic ? SFONT_ITALIC : 0) |
           (font->lfUnderline ? SFONT_UNDERLINE : 0) | (font->lfStrikeOut ? SFONT_STRIKEOUT : 0);
}

bool IsBoldStyle(int style) { return (style & SFONT_BOLD) != 0; }
bool IsItalicStyle(int style) { return (style & SFONT_ITALIC) != 0; }
bool IsUnderlineStyle(int style) { return (style & SFONT_UNDERLINE) != 0; }
bool IsStrikeOutStyle(int style) { return (style & SFONT_STRIKEOUT) != 0; }

SIZE GetFontCharSize(HFONT font)
{
    SIZE size = {0, 0};
    SWindowDCGuard screen(nullptr);
    SSelectGuard select(screen.Get(), font);
    TEXTMETRICA metrics;
    if (GetTextMetricsA(screen.Get(), &metrics))
    {
        size.cx = metrics.tmAveCharWidth;
        size.cy = metrics.tmHeight;
    }
    return size;
}

void DrawStringOnGraphics(Gdiplus::Graphics* graphics, const char* text, Gdiplus::Font* font,
                          const RECT* rect, Gdiplus::StringFormat* format, Gdiplus::Brush* brush,
                          Gdiplus::Brush* shadow, RECT* measure)
{
    if (!graphics || !font || !rect)
        return;
    const std::wstring wide = Widen(text);
    const Gdiplus::RectF layout(static_cast<Gdiplus::REAL>(rect->left),
                                static_cast<Gdiplus::REAL>(rect->top),
                                static_cast<Gdiplus::REAL>(rect->right - rect->left),
                                static_cast<Gdiplus::REAL>(rect->bottom - rect->top));
    Gdiplus::StringFormat defaultFormat;
    Gdiplus::SolidBrush defaultBrush(Gdiplus::Color(255, 0, 0, 0));
    const Gdiplus::StringFormat* useFormat = format ? format : &defaultFormat;
    const Gdiplus::Brush* useBrush = brush ? brush : &defaultBrush;
    const int length = static_cast<int>(wide.size());
    if (measure)
    {
        Gdiplus::RectF bounds;
        graphics->MeasureString(wide.c_str(), length, font, layout, useFormat, &bounds);
        measure->left = static_cast<LONG>(bounds.X);
        measure->top = static_cast<LONG>(bounds.Y);
        measure->right = static_cast<LONG>(bounds.X + bounds.Width);
        measure->bottom = static_cast<LONG>(bounds.Y + bounds.Height);
    }
    if (shadow)
    {
        const Gdiplus::RectF moved(layout.X + 1, layout.Y + 1, layout.Width, layout.Height);
        graphics->DrawString(wide.c_str(), length, font, moved, useFormat, shadow);
    }
    graphics->DrawString(wide.c_str(), length, font, layout, useFormat, useBrush);
}

COLORREF ColorToGray(COLORREF color)
{
    const int y = static_cast<int>(0.299 * GetRValue(color) + 0.587 * GetGValue(color) +
                                   0.114 * GetBValue(color));
    return RGB(y, y, y);
}

DWORD ParseHtmlColor(const char* text)
{
    const size_t length = text ? strlen(text) : 0;
    if (length == 7)
        return HexPair(text + 1) | (HexPair(text + 3) << 8) | (HexPair(text + 5) << 16);
    if (length == 9)
        return (HexPair(text + 1) << 24) | (HexPair(text + 3) << 16) | (HexPair(text + 5) << 8) |
               HexPair(text + 7);
    return 0;
}

SString FormatHtmlColor(DWORD color)
{
    SString text;
    if (color <= 0xFFFFFF)
        text.Format("#%.2x%.2x%.2x", GetRValue(color), GetGValue(color), GetBValue(color));
    else
        text.Format("#%.8x", static_cast<unsigned>(color));
    text.MakeUpper();
    return text;
}

int RandomInRange(int n)
{
    return static_cast<int>(rand() / 32768.0 * n);
}

int LinearIndex(int n, ...)
{
    if (n < 1)
        return -1;
    va_list args;
    va_start(args, n);
    std::vector<int> multipliers(n - 1);
    for (int i = 0; i < n - 1; i++)
        multipliers[i] = va_arg(args, int);
    int index = va_arg(args, int);
    for (int i = 1; i < n; i++)
        index += va_arg(args, int) * multipliers[i - 1];
    va_end(args);
    return index;
}

bool IsNameChar(char c)
{
    return IsDigit(c) || IsAsciiLetter(c) || c == '_';
}

bool IsValidName(const char* text)
{
    if (!HasNameShape(text))
        return false;
    for (const char* p = text; *p; p++)
        if (!IsNameChar(*p))
            return false;
    return true;
}

bool IsUpperCaseName(const char* text)
{
    if (!HasNameShape(text))
        return false;
    bool letter = false;
    for (const char* p = text; *p; p++)
    {
        if (*p >= 'A' && *p <= 'Z')
            letter = true;
        else if (!IsDigit(*p) && *p != '_')
            return false;
    }
    return letter;
}

bool IsLetterOrAccented(char c)
{
    const unsigned char u = static_cast<unsigned char>(c);
    if (IsAsciiLetter(c))
        return true;
    return (u >= 0xC0 && u <= 0xC4) || (u >= 0xC7 && u <= 0xCF) || (u >= 0xD1 && u <= 0xD6) ||
           (u >= 0xD9 && u <= 0xDC) || (u >= 0xE0 && u <= 0xE4) || (u >= 0xE7 && u <= 0xEF) ||
           (u >= 0xF1 && u <= 0xF6) || (u >= 0xF9 && u <= 0xFC);
}
