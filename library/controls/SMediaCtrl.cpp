// The rich-text view's settings, its picture cache and its window procedure.
#include "SMediaCtrl.h"
#include <algorithm>
#include <cwchar>
#include "SImage.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "SResource.h"

namespace
{
DWORD OpaqueArgb(COLORREF color)
{
    return 0xFF000000 | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}
} // namespace

SMediaCtrl::SMediaCtrl()
    : m_source(""), m_wide(nullptr), m_wideLength(0), m_textColor(OpaqueArgb(GetSysColor(COLOR_WINDOWTEXT))),
      m_image(nullptr), m_alignment(ALIGN_MIDDLE), m_wrapping(false), m_trimming(true), m_marginLeft(1),
      m_marginTop(1), m_marginRight(1), m_marginBottom(1), m_contentWidth(0), m_contentHeight(0), m_offsetX(0),
      m_offsetY(0), m_autoScroll(false), m_autoScrollLoop(true), m_autoScrollVertical(true), m_positionX(0),
      m_positionY(0), m_speedX(0), m_speedY(0), m_lastStep(0), m_tags(false),
      m_linkColor(OpaqueArgb(GetSysColor(COLOR_HIGHLIGHT))), m_button(false), m_checked(false), m_hover(false),
      m_pressed(false), m_measurer(nullptr), m_clock(DefaultClock()), m_opener(&OpenLink)
{
    SetTypeId(STYPE_MEDIA);
}

SMediaCtrl::~SMediaCtrl()
{
    m_linkTargets.DeleteAndRemoveAll();
    m_linkRects.RemoveAll();
    m_lines.DeleteAndRemoveAll();
    m_pictures.Clear();
}

SMediaCtrl::Clock SMediaCtrl::DefaultClock()
{
    return &timeGetTime;
}

// The default opener: mail for an address, the shell for anything else.
bool SMediaCtrl::OpenLink(SMediaCtrl& view, const char* target, bool mail)
{
    if (mail)
    {
        view.m_network.MailTo(target, nullptr, nullptr);
        return true;
    }
    return view.m_disk.Execute(target, nullptr, false, SW_SHOWNORMAL);
}

void SMediaCtrl::SetMeasurer(_SMeasurer* measurer)
{
    m_measurer = measurer;
    Relayout();
}

void SMediaCtrl::Relayout()
{
    if (m_tags)
        ParseTags();
    else
        LayoutPlain();
}

void SMediaCtrl::Redraw()
{
    if (m_handle)
        RedrawWindow();
}

void SMediaCtrl::RelayoutAndRedraw()
{
    Relayout();
    Redraw();
}

void SMediaCtrl::SetTags(bool on)
{
    if (on == m_tags)
        return;
    m_tags = on;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetWrapping(bool on)
{
    if (on == m_wrapping)
        return;
    m_wrapping = on;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetTrimming(bool on)
{
    if (on == m_trimming)
        return;
    m_trimming = on;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetAlignment(int flags)
{
    const int horizontal = flags & 4 ? 4 : flags & 2 ? 2 : flags & 1 ? 1 : 0;
    const int vertical = flags & 32 ? 32 : flags & 16 ? 16 : 0;
    if ((horizontal | vertical) == m_alignment)
        return;
    m_alignment = horizontal | vertical;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetHorizontalAlignment(int flag)
{
    SetAlignment(GetVerticalAlignment() | (flag & 7));
}

void SMediaCtrl::SetVerticalAlignment(int flag)
{
    SetAlignment(GetHorizontalAlignment() | (flag & 48));
}

int SMediaCtrl::GetHorizontalAlignment() const
{
    return m_alignment & 4 ? 4 : m_alignment & 2 ? 2 : m_alignment & 1 ? 1 : 0;
}

int SMediaCtrl::GetVerticalAlignment() const
{
    return m_alignment & 32 ? 32 : m_alignment & 16 ? 16 : 0;
}

void SMediaCtrl::SetMargins(int left, int top, int right, int bottom)
{
    m_marginLeft = left < 0 ? 0 : left;
    m_marginTop = top < 0 ? 0 : top;
    m_marginRight = right < 0 ? 0 : right;
    m_marginBottom = bottom < 0 ? 0 : bottom;
    RelayoutAndRedraw();
}

void SMediaCtrl::SetTextColor(COLORREF color)
{
    SetTextColorArgb(OpaqueArgb(color));
}

void SMediaCtrl::SetTextColorArgb(DWORD color)
{
    m_textColor = color;
    if (m_tags)
        ParseTags();
}

// The runs keep the colour they were parsed with: a new link colour parses again.
void SMediaCtrl::SetLinkColor(DWORD color)
{
    if (color == m_linkColor)
        return;
    m_linkColor = color;
    if (m_tags)
        ParseTags();
    Redraw();
}

void SMediaCtrl::SetResource(SResource* resource)
{
    m_pictures.store = resource;
}

RECT SMediaCtrl::GetInnerRect() const
{
    RECT client = {};
    if (m_handle)
        GetClientRect(&client);
    RECT inner;
    inner.left = std::min(client.left + m_marginLeft, client.right);
    inner.top = std::min(client.top + m_marginTop, client.bottom);
    inner.right = std::max(client.right - m_marginRight, inner.left);
    inner.bottom = std::max(client.bottom - m_marginBottom, inner.top);
    return inner;
}

void SMediaCtrl::SetButton(bool on)
{
    m_button = on;
    m_checked = m_hover = m_pressed = false;
    Redraw();
}

void SMediaCtrl::SetChecked(bool on)
{
    if (!m_button)
        return;
    m_checked = on;
    Redraw();
}

SMediaCtrl::_SStyle SMediaCtrl::GetRunStyle() const
{
    _SStyle style;
    style.font = GetWindowLogFont();
    style.textColor = m_textColor;
    style.linkColor = m_linkColor;
    return style;
}

LOGFONTA SMediaCtrl::GetWindowLogFont() const
{
    LOGFONTA font = {};
    HFONT handle = m_handle ? GetFont() : nullptr;
    if (!handle)
        handle = GetDefaultGuiFont();
    if (!handle || GetObjectA(handle, sizeof(font), &font) != sizeof(font))
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    return font;
}

void SMediaCtrl::SetSource(const char* text)
{
    m_source = text ? text : "";
    m_wide = m_source.GetWide();
    m_wideLength = m_wide ? static_cast<int>(wcslen(m_wide)) : 0;
}

LRESULT SMediaCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetBackgroundColor(0xFE000000 + COLOR_BTNFACE);
        SetWindowText(GetWindowText().GetText());
        Relayout();
        break;
    case WM_SETTEXT:
    {
        m_offsetX = m_offsetY = 0;
        if (m_autoScroll)
            StopAutoScroll();
        SetSource(reinterpret_cast<const char*>(lParam));
        Relayout();
        const LRESULT result = SWnd::WindowProc(message, wParam, lParam);
        Redraw();
        return result;
    }
    case WM_SIZE:
    case WM_SETFONT:
        Relayout();
        break;
    case WM_ENABLE:
        Redraw();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_TIMER:
        if (wParam == MARQUEE_TIMER && m_autoScroll)
            StepAutoScroll();
        break;
    case WM_MOUSEMOVE:
        if (m_tags)
            RefreshCursor();
        break;
    default:
        return OnMouseMessage(message, wParam, lParam);
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// Button messages and the library's click, enter and leave events; each button
// message and click is relayed to the parent.
LRESULT SMediaCtrl::OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_LBUTTONDOWN:
        OnButtonDown(lParam);
        break;
    case WM_LBUTTONUP:
        if (m_button)
        {
            m_pressed = false;
            Redraw();
        }
        break;
    case SWM_LCLICK:
        if (m_button && IsEnabled())
            SendMessageToParent(SWM_MEDIA_CLICK, reinterpret_cast<WPARAM>(this), 0);
        break;
    case SWM_MOUSEENTER:
        OnMouseEnter(wParam);
        break;
    case SWM_MOUSELEAVE:
        if (m_button)
        {
            m_hover = false;
            Redraw();
        }
        break;
    default:
        break;
    }
    SMouseNotify::RelayToParent(this, SWM_MEDIA_MOUSE, message, lParam);
    return SWnd::WindowProc(message, wParam, lParam);
}

SMediaCtrl::_SPictureCache::~_SPictureCache()
{
    Clear();
}

void SMediaCtrl::_SPictureCache::Clear()
{
    images.DeleteAndRemoveAll();
}

SImage* SMediaCtrl::_SPictureCache::FindPicture(const SString& name)
{
    if (!store)
        return nullptr;
    for (int i = 0; i < images.GetCount(); i++)
        if (images.GetAt(i)->GetName().CompareNoCase(name.GetText()) == 0)
            return images.GetAt(i);
    SMemory bytes;
    const SString entry = SString("image\\") + name.GetText();
    if (!store->Load(&bytes, entry.GetText()))
        return nullptr;
    SImage* image = new SImage;
    if (!image->Load(&bytes, -1))
    {
        delete image;
        return nullptr;
    }
    image->SetName(name.GetText());
    images.Add(image);
    return image;
}
