// The image editor's state, language table, picture, view geometry and messages.
#include "SPaintCtrl.h"
#include <windowsx.h>
#include "SLibrary.h"
#include "SVirtualFile.h"

namespace
{
const int LINE_STEP = 10;
const int PAGE_STEP = 30;
const Gdiplus::ARGB OPAQUE_BLACK = 0xFF000000;
const Gdiplus::ARGB OPAQUE_WHITE = 0xFFFFFFFF;
const COLORREF PICTURE_BACKGROUND = 0xFF00FF;

struct LanguageLine
{
    const char* key;
    const char* english;
    const char* french;
};

// Windows-1252 texts.
const LanguageLine LANGUAGE[] = {
    {"$TOOLS", "Tools", "Outils"},
    {"$COLORS", "Colors", "Couleurs"},
    {"TOOLS_DEFAULT", "None", "Aucun"},
    {"TOOLS_SELECT", "Select", "S\xE9lection"},
    {"TOOLS_ZOOM", "Zoom", "Zoom"},
    {"TOOLS_DROPPER", "Dropper", "Pipette"},
    {"TOOLS_PEN_SQUARE", "Square Pen", "Stylo Pointe Carr\xE9" "e"},
    {"TOOLS_PEN_ROUND", "Round Pen", "Stylo Pointe Ronde"},
    {"TOOLS_FILL", "Fill", "Remplissage"},
    {"TOOLS_LINE", "Line", "Ligne"},
    {"TOOLS_RECTANGLE", "Rectangle", "Rectangle"},
    {"TOOLS_ELLIPSE", "Ellipse", "Ellipse"},
    {"COLORS_MAIN", "Main Color", "Couleur Principale"},
    {"COLORS_SECOND", "Second Color", "Couleur Secondaire"},
};

// Library cursors of the tools, by tool number (-1: the window's default).
const int TOOL_CURSORS[7] = {-1, 18, 16, 2, 15, 2, 19};
const int CURSOR_OVER_SELECTION = 3;

Gdiplus::Color SystemColor(int index)
{
    const COLORREF c = GetSysColor(index);
    return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c));
}
} // namespace

SPaintCtrl::SPaintCtrl()
    : m_hatch(new Gdiplus::HatchBrush(Gdiplus::HatchStyleOutlinedDiamond, SystemColor(COLOR_APPWORKSPACE),
                                      SystemColor(COLOR_3DFACE))),
      m_selectionPresent(false), m_tool(TOOL_NONE), m_mainColor(OPAQUE_BLACK), m_secondColor(OPAQUE_WHITE),
      m_penTip(TIP_ROUND), m_shape(SHAPE_LINE), m_selectMode(0), m_penSize(1), m_scrollX(0), m_scrollY(0),
      m_mousePixel{-1, -1}, m_zoom(1.0)
{
    SetTypeId(STYPE_PAINT);
}

SPaintCtrl::~SPaintCtrl()
{
    m_toolPanel.reset();
    DestroyWindow();
}

void SPaintCtrl::SetDefaults()
{
    SetTool(TOOL_NONE);
    m_mainColor = OPAQUE_BLACK;
    m_secondColor = OPAQUE_WHITE;
    m_penTip = TIP_ROUND;
    m_shape = SHAPE_LINE;
    m_selectMode = 0;
    m_penSize = 1;
    ResetView();
    RefreshCursor();
}

void SPaintCtrl::SetLanguage(bool english)
{
    m_language.DeleteAndRemoveAll();
    for (const LanguageLine& line : LANGUAGE)
        m_language.AddEntry(line.key, english ? line.english : line.french);
}

bool SPaintCtrl::LoadImage(SVirtualFile* stream)
{
    // A stream that holds no picture leaves the edited one as it was.
    SImage loaded;
    if (!stream || !loaded.Load(stream, -1))
        return false;
    // The tools draw through GDI+, which cannot draw into indexed pictures.
    if (loaded.GetPixelFormat() != PixelFormat32bppARGB)
        loaded.ConvertFormat(PixelFormat32bppARGB);
    if (!m_picture.CopyFrom(&loaded))
        return false;
    m_picture.SetBackgroundColor(PICTURE_BACKGROUND);
    ResetView();
    RefreshScrollBar(false);
    RefreshScrollBar(true);
    DropSelection();
    Redraw();
    return true;
}

void SPaintCtrl::ResetView()
{
    m_scrollX = m_scrollY = 0;
    m_mousePixel = POINT{-1, -1};
    m_zoom = 1.0;
}

// A selection belongs to its tool: leaving it lets the moved pixels stay where
// they are, so no later move or Delete brings back what lay under them.
void SPaintCtrl::SetTool(int tool)
{
    const int chosen = tool >= TOOL_PEN && tool <= TOOL_ZOOM ? tool : TOOL_NONE;
    if (chosen != m_tool)
        CommitSelection();
    m_tool = chosen;
    RefreshCursor();
}

bool SPaintCtrl::Zoom(bool in)
{
    const double zoom = in ? m_zoom * 2 : m_zoom / 2;
    if (zoom < MINIMUM_ZOOM || zoom > MAXIMUM_ZOOM)
        return false;
    m_zoom = zoom;
    RefreshScrollBar(false);
    RefreshScrollBar(true);
    Redraw();
    return true;
}

void SPaintCtrl::ScrollTo(int x, int y)
{
    m_scrollX = x;
    m_scrollY = y;
    RefreshScrollBar(false);
    RefreshScrollBar(true);
    Redraw();
}

int SPaintCtrl::ZoomedSize(int size, double zoom)
{
    return static_cast<int>(size * zoom);
}

void SPaintCtrl::PlaceAxis(int zoomed, int scroll, int client, int& start, int& length)
{
    const int visible = zoomed - scroll;
    if (visible <= client)
    {
        start = (client - visible) / 2;
        length = visible > 0 ? visible : 0;
    }
    else
    {
        start = 0;
        length = client;
    }
}

RECT SPaintCtrl::GetPictureRect() const
{
    if (!m_picture.IsLoaded() || !m_handle)
        return RECT{};
    const SIZE client = GetClientSize();
    int left = 0, width = 0, top = 0, height = 0;
    PlaceAxis(ZoomedSize(GetPictureWidth(), m_zoom), m_scrollX, client.cx, left, width);
    PlaceAxis(ZoomedSize(GetPictureHeight(), m_zoom), m_scrollY, client.cy, top, height);
    return RECT{left, top, left + width, top + height};
}

bool SPaintCtrl::ScreenToPixel(int x, int y, POINT& pixel) const
{
    const RECT place = GetPictureRect();
    const POINT point = {x, y};
    if (!PtInRect(&place, point))
        return false;
    pixel.x = static_cast<LONG>((x - place.left + m_scrollX) / m_zoom);
    pixel.y = static_cast<LONG>((y - place.top + m_scrollY) / m_zoom);
    return pixel.x >= 0 && pixel.y >= 0 && pixel.x < GetPictureWidth() && pixel.y < GetPictureHeight();
}

POINT SPaintCtrl::PixelToScreen(int x, int y) const
{
    const RECT place = GetPictureRect();
    return POINT{place.left + static_cast<LONG>(x * m_zoom) - m_scrollX,
                 place.top + static_cast<LONG>(y * m_zoom) - m_scrollY};
}

void SPaintCtrl::ClampScroll()
{
    const SIZE client = m_handle ? GetClientSize() : SIZE{};
    const int limitX = ZoomedSize(GetPictureWidth(), m_zoom) - client.cx;
    const int limitY = ZoomedSize(GetPictureHeight(), m_zoom) - client.cy;
    m_scrollX = m_scrollX > limitX ? limitX : m_scrollX;
    m_scrollY = m_scrollY > limitY ? limitY : m_scrollY;
    m_scrollX = m_scrollX < 0 ? 0 : m_scrollX;
    m_scrollY = m_scrollY < 0 ? 0 : m_scrollY;
}

void SPaintCtrl::RefreshScrollBar(bool vertical)
{
    ClampScroll();
    if (!m_handle)
        return;
    const int zoomed = ZoomedSize(vertical ? GetPictureHeight() : GetPictureWidth(), m_zoom);
    const int client = vertical ? GetClientHeight() : GetClientWidth();
    SetScrollRange(vertical, 0, zoomed, client, true);
    SetScrollPos(vertical, vertical ? m_scrollY : m_scrollX, true);
}

bool SPaintCtrl::MousePixel(POINT& pixel) const
{
    POINT cursor = {};
    if (!GetCursorPos(&cursor) || !ScreenToClient(&cursor))
        return false;
    return ScreenToPixel(cursor.x, cursor.y, pixel);
}

void SPaintCtrl::RefreshCursor()
{
    int cursor = TOOL_CURSORS[m_tool];
    POINT pixel = {};
    if (m_tool == TOOL_SELECT && MousePixel(pixel) && IsInsideSelection(pixel))
        cursor = CURSOR_OVER_SELECTION;
    SetCursor(cursor < 0 ? nullptr : GetLibraryCursor(cursor));
}

void SPaintCtrl::TrackMousePixel(int x, int y)
{
    if (!ScreenToPixel(x, y, m_mousePixel))
        m_mousePixel = POINT{-1, -1};
    OnPositionChanged();
}

void SPaintCtrl::Redraw()
{
    if (m_handle)
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void SPaintCtrl::OnCreated()
{
    SetKeyCommandMask(0);
    SetBackgroundColor(COLOR_NONE);
    SetScrollSteps(false, LINE_STEP, PAGE_STEP, 1);
    SetScrollSteps(true, LINE_STEP, PAGE_STEP, 1);
    SetDefaults();
    SetLanguage(true);
}

LRESULT SPaintCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        SetFocus();
        OnButtonDown(x, y, message == WM_LBUTTONDOWN);
        break;
    case WM_MOUSEMOVE:
        RefreshCursor();
        TrackMousePixel(x, y);
        break;
    case WM_KEYDOWN:
        if ((wParam >= VK_LEFT && wParam <= VK_DOWN) || wParam == VK_DELETE)
            OnKey(static_cast<int>(wParam));
        break;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam) > 0);
        return 0;
    case WM_SIZE:
        RefreshScrollBar(false);
        RefreshScrollBar(true);
        InvalidateRect(nullptr, true);
        break;
    case SWM_HSCROLLED:
    case SWM_VSCROLLED:
    {
        const bool vertical = message == SWM_VSCROLLED;
        (vertical ? m_scrollY : m_scrollX) = GetScrollPos(vertical);
        RefreshScrollBar(vertical);
        Redraw();
        break;
    }
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_NCMOUSEMOVE:
        SetCursor(nullptr);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
