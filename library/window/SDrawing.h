// Free functions the window classes share: gradients, outlines and lines on a
// device context, fonts from a face, a point size and style bits, text on GDI+,
// colour texts, and a few name and character tests. They keep no state.
#pragma once
#include "SPlatform.h"
#include <gdiplus.h>
#include "SString.h"

// Font style bits used by every font function of the library.
enum SFontStyle
{
    SFONT_BOLD = 1,       // weight 700
    SFONT_ITALIC = 2,
    SFONT_UNDERLINE = 4,
    SFONT_STRIKEOUT = 8
};

bool DrawGradientRect(HDC dc, const RECT* rect, COLORREF first, COLORREF second, bool vertical);
bool DrawGradientRectByValue(HDC dc, RECT rect, COLORREF first, COLORREF second, bool vertical);
bool DrawGradientRectOnGraphics(Gdiplus::Graphics* graphics, const Gdiplus::Rect& rect,
                                const Gdiplus::Color& first, const Gdiplus::Color& second,
                                bool vertical);
int FillRectByValue(HDC dc, RECT rect, HBRUSH brush);
void DrawRectOutline(HDC dc, const RECT* rect, HPEN pen);
void DrawRectOutlineByValue(HDC dc, RECT rect, HPEN pen);
void DrawLineWithPen(HDC dc, int x1, int y1, int x2, int y2, HPEN pen);
RECT RectFromGdiplusRect(const Gdiplus::Rect& rect);
// The largest rectangle of the aspect width x height centred in the box.
RECT FitRectKeepingAspect(int left, int top, int right, int bottom, int width, int height);

int PointSizeToFontHeight(int points, HDC dc);
int PixelsToTwips(int pixels, bool vertical);
HFONT CreateFontWithStyle(const char* face, int height, int style);
HFONT CreateFontFromPoints(HDC dc, const char* face, int points, int style, int* height);
void FillLogFont(LOGFONTA* font, const char* face, int points, int style);
int GetLogFontStyleFlags(const LOGFONTA* font);
bool IsBoldStyle(int style);
bool IsItalicStyle(int style);
bool IsUnderlineStyle(int style);
bool IsStrikeOutStyle(int style);
// Average character width (cx) and height (cy) of the font on the screen.
SIZE GetFontCharSize(HFONT font);

// Draws the text into the rectangle; a null format or brush means a default one
// made for the call; a shadow brush draws the text once more, one pixel down
// and right, underneath. The measured bounds go to measure when asked.
void DrawStringOnGraphics(Gdiplus::Graphics* graphics, const char* text, Gdiplus::Font* font,
                          const RECT* rect, Gdiplus::StringFormat* format, Gdiplus::Brush* brush,
                          Gdiplus::Brush* shadow, RECT* measure);

// ReadResourceIntoFile (a module resource into a stream) lives with the streams: SVirtualFile.h.

COLORREF ColorToGray(COLORREF color);
// "#RRGGBB" gives a COLORREF, "#AARRGGBB" an ARGB value, any other length 0.
DWORD ParseHtmlColor(const char* text);
SString FormatHtmlColor(DWORD color);

int RandomInRange(int n);
// n, then n - 1 multipliers, then n indexes: index 0 + index 1 x multiplier 1 + ...
int LinearIndex(int n, ...);

bool IsNameChar(char c);
bool IsValidName(const char* text);
bool IsUpperCaseName(const char* text);
bool IsLetterOrAccented(char c);
