// The image editor's tools: pan, pen, fill, shapes, dropper, selection and
// zoom, the keys that move or delete a selection, and the wheel. Each drag is a
// loop polling the mouse over a begin, moves and an end.
#include "SPaintCtrl.h"
#include <algorithm>
#include "SControlColor.h"
#include "SLibrary.h"

namespace
{
const int CURSOR_PAN = 17;

RECT Spanned(POINT a, POINT b)
{
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

bool SamePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

// The centre of a pixel: lines and outlines run through pixel centres, fills
// cover whole pixels.
Gdiplus::PointF Centre(POINT p)
{
    return Gdiplus::PointF(p.x + 0.5f, p.y + 0.5f);
}

// Drawing into the picture: pixel (x, y) covers x .. x + 1, without smoothing.
void PreparePixels(Gdiplus::Graphics& graphics)
{
    graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
    graphics.SetSmoothingMode(Gdiplus::SmoothingModeNone);
}
} // namespace

void SPaintCtrl::OnButtonDown(int x, int y, bool left)
{
    POINT pixel = {};
    if (!m_picture.IsLoaded() || !ScreenToPixel(x, y, pixel))
        return;
    switch (m_tool)
    {
    case TOOL_NONE:
        if (left)
            TrackPan(POINT{x, y});
        break;
    case TOOL_PEN:
        BeginPen(left);
        PenTo(&pixel);
        TrackPen();
        break;
    case TOOL_FILL:
        FillAt(pixel, left);
        break;
    case TOOL_SHAPE:
        BeginShape(pixel, left);
        TrackShape();
        break;
    case TOOL_DROPPER:
        PickColor(pixel, left);
        break;
    case TOOL_SELECT:
        if (!left)
        {
            DropSelection();
            Redraw();
            break;
        }
        BeginSelection(pixel);
        TrackSelection(pixel);
        break;
    case TOOL_ZOOM:
        Zoom(left);
        break;
    default:
        break;
    }
}

// While the left button is held, the picture follows the mouse on the axes
// where it is larger than the window.
void SPaintCtrl::TrackPan(POINT start)
{
    const SIZE client = GetClientSize();
    const bool wide = ZoomedSize(GetPictureWidth(), m_zoom) > client.cx;
    const bool tall = ZoomedSize(GetPictureHeight(), m_zoom) > client.cy;
    if (!wide && !tall)
        return;
    ::SetCursor(GetLibraryCursor(CURSOR_PAN));
    POINT last = start;
    while (m_handle && m_keyboard.IsLeftButtonDown())
    {
        POINT now = {};
        GetCursorPos(&now);
        ScreenToClient(&now);
        if (!SamePoint(now, last))
        {
            ScrollTo(m_scrollX - (wide ? now.x - last.x : 0), m_scrollY - (tall ? now.y - last.y : 0));
            last = now;
        }
        Sleep(10);
    }
    RefreshCursor();
}

bool SPaintCtrl::FillAt(POINT pixel, bool left)
{
    CommitSelection();
    const Gdiplus::ARGB color = left ? m_mainColor : m_secondColor;
    if (!m_picture.FloodFill(pixel.x, pixel.y, SControlColor::ArgbToColorRef(color)))
        return false;
    Redraw();
    NotifyChanged(0);
    return true;
}

bool SPaintCtrl::PickColor(POINT pixel, bool left)
{
    Gdiplus::ARGB color = 0;
    if (!m_picture.GetPixel(pixel.x, pixel.y, &color))
        return false;
    (left ? m_mainColor : m_secondColor) = color;
    OnColorPicked(left, color);
    return true;
}

void SPaintCtrl::Touch(int left, int top, int right, int bottom)
{
    const RECT add = {left, top, right, bottom};
    if (!m_drag.drawn)
        m_drag.touched = add;
    else
        UnionRect(&m_drag.touched, &m_drag.touched, &add);
    m_drag.drawn = true;
}

// Redraws the screen area of those picture pixels, grown by a margin.
void SPaintCtrl::RedrawPixels(RECT pixels, int grow)
{
    if (!m_handle)
        return;
    InflateRect(&pixels, grow + 1, grow + 1);
    const POINT a = PixelToScreen(pixels.left, pixels.top);
    const POINT b = PixelToScreen(pixels.right, pixels.bottom);
    const RECT screen = {a.x, a.y, b.x + 1, b.y + 1};
    RedrawWindow(&screen, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SPaintCtrl::_SDrag::Reset(bool pressLeft, POINT at)
{
    left = pressLeft;
    moving = drawn = hasLast = false;
    press = last = at;
    touched = RECT{};
    outlineAtPress.clear();
    copy.Release();
}

void SPaintCtrl::BeginPen(bool left)
{
    CommitSelection();
    m_drag.Reset(left, POINT{});
}

void SPaintCtrl::StampPen(Gdiplus::Graphics& graphics, POINT pixel, Gdiplus::ARGB color)
{
    Gdiplus::SolidBrush brush{Gdiplus::Color(color)};
    const int size = m_penSize, x = pixel.x - size / 2, y = pixel.y - size / 2;
    // A round tip of one or two pixels is a square one.
    if (m_penTip == TIP_SQUARE || size <= 2)
        graphics.FillRectangle(&brush, x, y, size, size);
    else
        graphics.FillEllipse(&brush, x, y, size, size);
    Touch(x, y, x + size, y + size);
}

// One polled position of the pen: null off the picture, which breaks the line.
bool SPaintCtrl::PenTo(const POINT* pixel)
{
    if (!pixel)
    {
        m_drag.hasLast = false;
        return false;
    }
    if (m_drag.hasLast && SamePoint(*pixel, m_drag.last))
        return false;
    const Gdiplus::ARGB color = m_drag.left ? m_mainColor : m_secondColor;
    {
        Gdiplus::Graphics graphics(m_picture.GetBitmap());
        PreparePixels(graphics);
        if (m_drag.hasLast)
        {
            Gdiplus::Pen pen{Gdiplus::Color(color), static_cast<Gdiplus::REAL>(m_penSize)};
            graphics.DrawLine(&pen, Centre(m_drag.last), Centre(*pixel));
            const RECT line = Spanned(m_drag.last, *pixel);
            Touch(line.left, line.top, line.right, line.bottom);
        }
        StampPen(graphics, *pixel, color);
    }
    m_drag.last = *pixel;
    m_drag.hasLast = true;
    Redraw();
    return true;
}

void SPaintCtrl::TrackPen()
{
    const int button = m_drag.left ? VK_LBUTTON : VK_RBUTTON;
    while (m_handle && m_keyboard.IsKeyDown(button))
    {
        POINT pixel = {};
        PenTo(MousePixel(pixel) ? &pixel : nullptr);
        Sleep(10);
    }
    if (m_drag.drawn)
        NotifyChanged(0);
}

void SPaintCtrl::BeginShape(POINT press, bool left)
{
    CommitSelection();
    m_drag.Reset(left, press);
    m_drag.copy.CopyFrom(&m_picture);
}

void SPaintCtrl::DrawShape(Gdiplus::Graphics& graphics, POINT to)
{
    const Gdiplus::ARGB penColor = m_drag.left ? m_mainColor : m_secondColor;
    const Gdiplus::ARGB fillColor = m_drag.left ? m_secondColor : m_mainColor;
    Gdiplus::Pen pen{Gdiplus::Color(penColor), static_cast<Gdiplus::REAL>(m_penSize)};
    Gdiplus::SolidBrush brush{Gdiplus::Color(fillColor)};
    const RECT r = Spanned(m_drag.press, to);
    const int width = r.right - r.left, height = r.bottom - r.top, half = m_penSize / 2;
    const Gdiplus::RectF outline(r.left + 0.5f, r.top + 0.5f, static_cast<Gdiplus::REAL>(width),
                                 static_cast<Gdiplus::REAL>(height));
    if (m_shape == SHAPE_LINE)
        graphics.DrawLine(&pen, Centre(m_drag.press), Centre(to));
    else if (m_shape == SHAPE_RECTANGLE)
    {
        graphics.DrawRectangle(&pen, outline);
        if (width > 2 * half && height > 2 * half)
            graphics.FillRectangle(&brush, static_cast<INT>(r.left) + half, static_cast<INT>(r.top) + half,
                                   width - 2 * half, height - 2 * half);
    }
    else
    {
        graphics.FillEllipse(&brush, static_cast<INT>(r.left), static_cast<INT>(r.top), width, height);
        graphics.DrawEllipse(&pen, outline);
    }
    Touch(r.left, r.top, r.right, r.bottom);
}

// The picture as a copy made earlier; false, the picture as it was, when
// there is no copy or GDI+ cannot clone it.
bool SPaintCtrl::RestoreFrom(const SImage& copy)
{
    return copy.IsLoaded() && m_picture.CopyFrom(&copy);
}

// The picture as it was at the press, with the shape up to that pixel. Without
// that copy the shape would pile up on the last one.
void SPaintCtrl::ShapeTo(POINT pixel)
{
    if (!RestoreFrom(m_drag.copy))
        return;
    {
        Gdiplus::Graphics graphics(m_picture.GetBitmap());
        PreparePixels(graphics);
        DrawShape(graphics, pixel);
    }
    m_drag.last = pixel;
    RedrawPixels(m_drag.touched, m_penSize);
}

// A picture that cannot be put back keeps the shape, and the owner hears of it.
void SPaintCtrl::CancelShape()
{
    if (RestoreFrom(m_drag.copy))
        m_drag.drawn = false;
    Redraw();
}

void SPaintCtrl::TrackShape()
{
    const int button = m_drag.left ? VK_LBUTTON : VK_RBUTTON;
    while (m_handle && m_keyboard.IsKeyDown(button))
    {
        if (m_keyboard.IsKeyDown(VK_ESCAPE))
        {
            CancelShape();
            break;
        }
        POINT pixel = {};
        if (MousePixel(pixel) && !SamePoint(pixel, m_drag.last))
            ShapeTo(pixel);
        Sleep(10);
    }
    if (m_drag.drawn)
        NotifyChanged(0);
}

RECT SPaintCtrl::GetSelectionRect() const
{
    if (!HasSelection())
        return RECT{};
    return RECT{m_outline[0].x, m_outline[0].y, m_outline[2].x, m_outline[2].y};
}

bool SPaintCtrl::IsInsideSelection(POINT pixel) const
{
    const RECT r = GetSelectionRect();
    return HasSelection() && PtInRect(&r, pixel);
}

void SPaintCtrl::DropSelection()
{
    m_selectionPresent = false;
    m_outline.clear();
}

// Before another tool edits the picture: the selection's pixels are already in
// it, and its cleared copy would not hold the edit.
void SPaintCtrl::CommitSelection()
{
    if (!m_selectionPresent)
        return;
    DropSelection();
    m_cleared.Release();
    m_floating.Release();
    Redraw();
}

void SPaintCtrl::BeginSelection(POINT press)
{
    const bool moving = IsInsideSelection(press);
    m_drag.Reset(true, press);
    m_drag.moving = moving;
    m_drag.outlineAtPress = m_outline;
    m_selectionPresent = true;
    if (!moving && m_selectMode == 0)
        m_outline.assign(4, press);
}

void SPaintCtrl::SelectionTo(POINT pixel)
{
    m_drag.last = pixel;
    if (!m_drag.moving)
    {
        const RECT r = Spanned(m_drag.press, pixel);
        m_outline = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
        Redraw();
        return;
    }
    const int dx = pixel.x - m_drag.press.x, dy = pixel.y - m_drag.press.y;
    if (!m_floating.IsLoaded() || !RestoreFrom(m_cleared))
        return;
    const POINT origin = m_drag.outlineAtPress[0];
    {
        Gdiplus::Graphics graphics(m_picture.GetBitmap());
        graphics.SetCompositingMode(Gdiplus::CompositingModeSourceCopy);
        graphics.DrawImage(m_floating.GetBitmap(), origin.x + dx, origin.y + dy, m_floating.GetWidth(),
                           m_floating.GetHeight());
    }
    for (size_t i = 0; i < m_outline.size(); i++)
        m_outline[i] = POINT{m_drag.outlineAtPress[i].x + dx, m_drag.outlineAtPress[i].y + dy};
    m_drag.drawn = true;
    Redraw();
}

// A new selection takes its pixels: the cleared copy is the picture with the
// selected rectangle in the second colour.
void SPaintCtrl::EndSelection()
{
    if (m_drag.moving)
    {
        if (m_drag.drawn)
            NotifyChanged(0);
        return;
    }
    const RECT r = GetSelectionRect();
    if (IsRectEmpty(&r))
    {
        DropSelection();
        Redraw();
        return;
    }
    // Pixels that cannot be held make no selection: moving or deleting it would lose them.
    if (!m_cleared.CopyFrom(&m_picture) ||
        !m_floating.CopyFrom(&m_picture, r.left, r.top, r.right - r.left, r.bottom - r.top))
    {
        CommitSelection();
        return;
    }
    const Gdiplus::Rect area(r.left, r.top, r.right - r.left, r.bottom - r.top);
    m_cleared.FillRectangle(&area, m_secondColor);
}

void SPaintCtrl::TrackSelection(POINT press)
{
    while (m_handle && m_keyboard.IsLeftButtonDown() && !m_keyboard.IsKeyDown(VK_ESCAPE))
    {
        POINT pixel = {};
        if (MousePixel(pixel) && !SamePoint(pixel, m_drag.last))
            SelectionTo(pixel);
        Sleep(10);
    }
    EndSelection();
}

void SPaintCtrl::OnKey(int key)
{
    if (m_tool != TOOL_SELECT || !HasSelection())
        return;
    if (key == VK_DELETE)
    {
        if (!RestoreFrom(m_cleared))
            return;
        DropSelection();
        NotifyChanged(0);
    }
    else
    {
        const int dx = key == VK_LEFT ? -1 : (key == VK_RIGHT ? 1 : 0);
        const int dy = key == VK_UP ? -1 : (key == VK_DOWN ? 1 : 0);
        for (POINT& point : m_outline)
            point = POINT{point.x + dx, point.y + dy};
    }
    Redraw();
}

void SPaintCtrl::OnWheel(bool forward)
{
    if (m_tool == TOOL_PEN || m_tool == TOOL_SHAPE)
    {
        SetPenSize(m_penSize + (forward ? 1 : -1));
        return;
    }
    if (m_tool == TOOL_ZOOM)
    {
        Zoom(forward);
        return;
    }
    const int step = GetScrollStep(true);
    ScrollTo(m_scrollX, m_scrollY + (forward ? -step : step));
}
