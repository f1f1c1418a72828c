#include "SCursor.h"
#include "SLibrary.h"
#include <algorithm>
#include <cmath>

namespace
{
// The library's own cursors are painted from a few shapes: white strokes, then a
// black outline around them, so each stays visible on any background.
class CursorCanvas
{
public:
    enum Pixel : unsigned char { CLEAR, WHITE, BLACK };

    CursorCanvas() : pixels() {}

    void Line(double x0, double y0, double x1, double y1, double radius)
    {
        const double dx = x1 - x0, dy = y1 - y0, length2 = dx * dx + dy * dy;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
            {
                double t = length2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / length2 : 0;
                t = t < 0 ? 0 : (t > 1 ? 1 : t);
                const double px = x0 + t * dx - x, py = y0 + t * dy - y;
                if (px * px + py * py <= radius * radius)
                    pixels[y][x] = WHITE;
            }
    }
    void Ring(double cx, double cy, double inner, double outer)
    {
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
            {
                const double d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy));
                if (d >= inner && d <= outer)
                    pixels[y][x] = WHITE;
            }
    }
    void Box(int left, int top, int right, int bottom)
    {
        for (int y = top; y <= bottom; y++)
            for (int x = left; x <= right; x++)
                pixels[y][x] = WHITE;
    }
    void Outline()
    {
        Pixel result[32][32];
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
                result[y][x] = pixels[y][x] == CLEAR && TouchesWhite(x, y) ? BLACK : pixels[y][x];
        std::copy(&result[0][0], &result[0][0] + 32 * 32, &pixels[0][0]);
    }
    // AND mask: 1 keeps the screen; XOR mask: 1 paints white where AND is 0.
    void ToMasks(BYTE* andMask, BYTE* xorMask) const
    {
        for (int i = 0; i < 128; i++)
            andMask[i] = xorMask[i] = 0;
        for (int y = 0; y < 32; y++)
            for (int x = 0; x < 32; x++)
            {
                const BYTE bit = BYTE(0x80 >> (x % 8));
                if (pixels[y][x] == CLEAR)
                    andMask[y * 4 + x / 8] |= bit;
                if (pixels[y][x] == WHITE)
                    xorMask[y * 4 + x / 8] |= bit;
            }
    }

private:
    bool TouchesWhite(int x, int y) const
    {
        for (int dy = -1; dy <= 1; dy++)
            for (int dx = -1; dx <= 1; dx++)
            {
                const int nx = x + dx, ny = y + dy;
                if (nx >= 0 && ny >= 0 && nx < 32 && ny < 32 && pixels[ny][nx] == WHITE)
                    return true;
            }
        return false;
    }

    Pixel pixels[32][32];
};

struct BuiltInCursor
{
    int hotX, hotY;
    void (*paint)(CursorCanvas&);
};

void PaintPointer(CursorCanvas& c)  // 14: a raised finger on a palm
{
    c.Line(7, 1, 7, 12, 1.2);
    c.Box(5, 11, 14, 20);
    c.Line(10, 8, 10, 12, 1);
    c.Line(13, 9, 13, 12, 1);
}
void PaintDropper(CursorCanvas& c)  // 15: a colour dropper, tip bottom left
{
    c.Line(10, 21, 19, 12, 1.2);
    c.Line(18, 9, 22, 13, 1.6);
    c.Line(21, 10, 24, 7, 2.4);
}
void PaintFill(CursorCanvas& c)  // 16: a paint bucket pouring at bottom left
{
    c.Line(14, 6, 23, 15, 2);
    c.Line(12, 9, 19, 16, 4);
    c.Line(10, 12, 9, 21, 1);
}
void PaintHandMove(CursorCanvas& c)  // 17: four arrows around the centre
{
    c.Line(5, 15, 25, 15, 0.6);
    c.Line(15, 5, 15, 25, 0.6);
    for (int i = 0; i < 4; i++)
    {
        const int s = i + 1;
        c.Line(5 + s, 15 - s, 5 + s, 15 + s, 0.6);
        c.Line(25 - s, 15 - s, 25 - s, 15 + s, 0.6);
        c.Line(15 - s, 5 + s, 15 + s, 5 + s, 0.6);
        c.Line(15 - s, 25 - s, 15 + s, 25 - s, 0.6);
    }
}
void PaintPen(CursorCanvas& c)  // 18: a pen, tip bottom left
{
    c.Line(12, 21, 24, 9, 1.6);
    c.Line(11, 22, 13, 20, 0.6);
}
void PaintZoom(CursorCanvas& c)  // 19: a magnifier, lens centre on the hot spot
{
    c.Ring(13, 14, 5, 7);
    c.Line(18, 19, 25, 26, 1.6);
}

const BuiltInCursor builtIn[6] = {
    {7, 0, PaintPointer}, {9, 22, PaintDropper}, {9, 22, PaintFill},
    {15, 15, PaintHandMove}, {11, 22, PaintPen}, {13, 14, PaintZoom},
};

const LPCSTR systemCursors[14] = {
    IDC_ARROW, IDC_APPSTARTING, IDC_CROSS, IDC_HAND, IDC_HELP, IDC_IBEAM, IDC_NO,
    IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE, IDC_SIZEWE, IDC_UPARROW, IDC_WAIT,
};

HCURSOR CreateBuiltInCursor(const BuiltInCursor& shape)
{
    CursorCanvas canvas;
    shape.paint(canvas);
    canvas.Outline();
    BYTE andMask[128], xorMask[128];
    canvas.ToMasks(andMask, xorMask);
    return CreateCursor(GetInstance(), shape.hotX, shape.hotY, 32, 32, andMask, xorMask);
}
} // namespace

SCursor::SCursor(int number) : shared(false), cursor(nullptr)
{
    Load(number);
}

SCursor::~SCursor()
{
    Release();
}

bool SCursor::Load(int number)
{
    Release();
    if (number >= 14 && number <= 19)
    {
        cursor = CreateBuiltInCursor(builtIn[number - 14]);
        shared = false;
        return true;
    }
    const LPCSTR name = (number >= 0 && number < 14) ? systemCursors[number] : IDC_ARROW;
    cursor = LoadCursorA(nullptr, name);
    shared = true;
    return true;
}

void SCursor::Release()
{
    if (cursor && !shared)
        DestroyCursor(cursor);
    shared = false;
    cursor = nullptr;
}
