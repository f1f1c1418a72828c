#include "STrayIcon.h"
#include "SMouseNotify.h"

namespace
{
const UINT ICON_ID = 100;
// The record as the shell of the oldest supported systems knows it (504 bytes
// on 32-bit); the later fields are not used.
const DWORD RECORD_SIZE = NOTIFYICONDATAA_V3_SIZE;
} // namespace

STrayIcon::STrayIcon() : m_data(), m_shown(false), m_added(false)
{
    m_typeId = STYPE_TRAYICON;
}

STrayIcon::~STrayIcon()
{
    // The window dies in the base destructor, after this class's handler is gone.
    DeleteIcon();
}

// The record holds 127 characters and a terminator: longer texts are cut.
void STrayIcon::SetTip(const char* tip)
{
    lstrcpynA(m_data.szTip, tip ? tip : "", MAX_TIP_LENGTH + 1);
}

void STrayIcon::DeleteIcon()
{
    if (m_shown)
        Shell_NotifyIconA(NIM_DELETE, &m_data);
    m_shown = false;
    m_added = false;
}

bool STrayIcon::Add(HICON icon, const char* tip, HWND owner, bool add, LPARAM param)
{
    if (!m_handle && !SWnd::Create("", WS_POPUP, 0, nullptr, owner, 0, param))
        return false;
    // A second call replaces the icon instead of leaving the first one behind.
    DeleteIcon();
    m_data = NOTIFYICONDATAA();
    m_data.cbSize = RECORD_SIZE;
    m_data.hWnd = m_handle;
    m_data.uID = ICON_ID;
    m_data.hIcon = icon;
    m_data.uFlags = add ? (NIF_MESSAGE | NIF_ICON | NIF_TIP) : NIF_ICON;
    m_data.uCallbackMessage = SWM_TRAYNOTIFY;
    SetTip(tip);
    if (!Shell_NotifyIconA(add ? NIM_ADD : NIM_DELETE, &m_data))
    {
        m_shown = false;
        DestroyWindow();
        return false;
    }
    m_shown = true;
    m_added = add;
    return true;
}

// Down, up and double click as they come, then the click after a button-up.
void STrayIcon::NotifyOwner(UINT mouseMessage) const
{
    HWND owner = ::GetWindow(m_handle, GW_OWNER);
    if (!owner)
        return;
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    SMouseNotify notify = {SMouseNotify::CodeFromMessage(mouseMessage), cursor.x, cursor.y};
    const WPARAM self = reinterpret_cast<WPARAM>(this);
    ::SendMessageA(owner, SWM_TRAY_MOUSE, self, reinterpret_cast<LPARAM>(&notify));
    if (!(notify.code & SMouseNotify::UP))
        return;
    notify.code = (notify.code & ~SMouseNotify::UP) | SMouseNotify::CLICK;
    ::SendMessageA(owner, SWM_TRAY_MOUSE, self, reinterpret_cast<LPARAM>(&notify));
}

LRESULT STrayIcon::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_DESTROY:
        DeleteIcon();
        break;
    case WM_SETTEXT:
        if (m_shown)
        {
            SetTip(reinterpret_cast<const char*>(lParam));
            const UINT flags = m_data.uFlags;
            m_data.uFlags = NIF_TIP;
            Shell_NotifyIconA(NIM_MODIFY, &m_data);
            m_data.uFlags = flags;
        }
        break;
    default:
        if (message == SWM_TRAYNOTIFY)
        {
            const UINT mouse = static_cast<UINT>(lParam);
            if (mouse >= WM_LBUTTONDOWN && mouse <= WM_MBUTTONDBLCLK)
                NotifyOwner(mouse);
            return 1;
        }
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
