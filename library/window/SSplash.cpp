#include "SSplash.h"
#include <mmsystem.h>
#include "SLibrary.h"

SSplash::_SWnd::_SWnd()
    : m_startTime(0), m_closeOnClick(false), m_duration(-1), m_creationValue(0)
{
}

LRESULT SSplash::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_TIMER:
        if (static_cast<int>(timeGetTime() - m_startTime) > m_duration)
        {
            DestroyWindow();
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_KILLFOCUS:
        if (m_closeOnClick)
        {
            DestroyWindow();
            return 0;
        }
        break;
    default:
        if (message == SWM_CREATED)
            m_creationValue = lParam;
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

SSplash::SSplash()
    : m_window(nullptr), m_imageSet(false), m_transparentColor(SWnd::COLOR_NONE),
      m_pasteOnScreen(false), m_closeOnClick(false), m_duration(0), m_rect()
{
}

SSplash::~SSplash() { Close(); }

bool SSplash::SetImage(const SImage* image)
{
    if (!image || !m_image.CopyFrom(image))
        return false;
    m_imageSet = true;
    const int width = m_image.GetWidth(), height = m_image.GetHeight();
    m_rect.left = GetScreenWidth() / 2 - width / 2;
    m_rect.top = GetScreenHeight() / 2 - height / 2;
    m_rect.right = m_rect.left + width;
    m_rect.bottom = m_rect.top + height;
    return true;
}

bool SSplash::LoadImage(int resourceId, const char* type)
{
    SImage picture;
    return picture.LoadResource(MAKEINTRESOURCEA(resourceId), type, GetInstance()) &&
           SetImage(&picture);
}

bool SSplash::IsShown() const { return m_window && m_window->GetHandle(); }

void SSplash::Close()
{
    delete m_window;
    m_window = nullptr;
}

bool SSplash::Show(SWnd* parent, const POINT* point)
{
    if (IsShown() || !m_image.IsLoaded())
        return false;
    Close();
    RECT r = m_rect;
    if (point)
        OffsetRect(&r, point->x - r.left, point->y - r.top);
    m_window = new _SWnd();
    HWND owner = parent ? parent->GetHandle() : nullptr;
    if (!m_window->Create("", WS_POPUP, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, &r, owner))
    {
        Close();
        return false;
    }
    m_window->SetFocus();
    ApplyPicture(m_window, r);
    m_window->m_closeOnClick = m_closeOnClick;
    m_window->m_duration = m_duration;
    m_window->m_startTime = timeGetTime();
    if (m_duration != 0)
        m_window->SetTimer(_SWnd::TIMER_ID, _SWnd::TIMER_PERIOD);
    m_window->ShowWindow(SW_SHOW);
    return true;
}

// A picture given with SetImage keeps its own alpha in a layered window; else
// the window is cut to the picture by the transparent colour, optionally over
// a copy of the screen under it.
void SSplash::ApplyPicture(_SWnd* window, const RECT& r)
{
    if (m_imageSet)
    {
        window->SetBackgroundImage(m_image.GetBitmap(), SWnd::COLOR_NONE, -1, nullptr, false);
        window->SetLayered(true);
        window->UpdateLayeredFromSkin(255);
        return;
    }
    if (!m_pasteOnScreen)
    {
        window->SetBackgroundImage(m_image.GetBitmap(), m_transparentColor, -1, nullptr, false);
        return;
    }
    SImage screen;
    if (!screen.CaptureFromDC(nullptr, r.left, r.top, m_image.GetWidth(),
                              m_image.GetHeight()))
        return;
    {
        Gdiplus::Graphics graphics(screen.GetBitmap());
        m_image.DrawAt(&graphics, 0, 0);
    }
    window->SetBackgroundImage(screen.GetBitmap(), m_transparentColor, -1, nullptr, false);
}
