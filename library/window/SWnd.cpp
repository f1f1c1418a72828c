#include "SWnd.h"
#include "SGlobals.h"
#include "SGuards.h"
#include "SLibrary.h"

namespace
{
const char* const CLASS_NAME = "CLASS_SWND";
const char* const CLASS_NAME_NOCLOSE = "CLASS_SWND2";
} // namespace

SWnd* SWnd::s_buttonDown[3];
SWnd* SWnd::s_ncButtonDown[3];

SWnd::SWnd()
    : m_previousProc(nullptr), m_ownBackground(false), m_handle(nullptr), m_typeId(STYPE_WND),
      m_backgroundColor(COLOR_NONE), m_transparentColor(COLOR_NONE), m_redrawInProgress(false),
      m_registeredHandle(nullptr)
{
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_workArea, 0))
        SetRectEmpty(&m_workArea);
    SetRectEmpty(&m_skinMargins);
    ResetWindowState();
}

SWnd::~SWnd()
{
    DestroyWindow();
    // The button pointers are only compared, but a later object at this address
    // must not inherit a press.
    for (int i = 0; i < 3; i++)
    {
        if (s_buttonDown[i] == this)
            s_buttonDown[i] = nullptr;
        if (s_ncButtonDown[i] == this)
            s_ncButtonDown[i] = nullptr;
    }
    m_zones.FreeMemory();
    m_ncZones.FreeMemory();
    // A window that could not be destroyed here (another thread's) must not lead
    // its later messages to this deleted object.
    UnregisterObject(this);
}

// --- Registry ---------------------------------------------------------------

ATOM SWnd::RegisterWindowClasses(HINSTANCE instance)
{
    {
        SLockGuard lock(GetWindowRegistryLock());
        SArray<SWnd*>& registry = GetWindowRegistry();
        for (int i = 0; i < registry.GetCount(); i++)
            registry.GetAt(i)->m_registeredHandle = nullptr;
        registry.RemoveAll();
    }
    for (int i = 0; i < 3; i++)
        s_buttonDown[i] = s_ncButtonDown[i] = nullptr;

    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    wc.lpfnWndProc = SharedWindowProc;
    wc.hInstance = instance;
    wc.hCursor = GetLibraryCursor(0);
    wc.lpszClassName = CLASS_NAME;
    RegisterClassExA(&wc);
    wc.style |= CS_NOCLOSE;
    wc.lpszClassName = CLASS_NAME_NOCLOSE;
    return RegisterClassExA(&wc);
}

void SWnd::UnregisterWindowClasses(HINSTANCE instance)
{
    UnregisterClassA(CLASS_NAME_NOCLOSE, instance);
    UnregisterClassA(CLASS_NAME, instance);
    SLockGuard lock(GetWindowRegistryLock());
    SArray<SWnd*>& registry = GetWindowRegistry();
    for (int i = 0; i < registry.GetCount(); i++)
        registry.GetAt(i)->m_registeredHandle = nullptr;
    registry.FreeMemory();
}

// Halving search over the filed handles; the caller holds the lock.
int SWnd::FindIndexLocked(HWND handle)
{
    const SArray<SWnd*>& registry = GetWindowRegistry();
    if (!handle)
        return -1;
    const UINT_PTR key = reinterpret_cast<UINT_PTR>(handle);
    int low = 0, high = registry.GetCount() - 1;
    while (low <= high)
    {
        const int middle = (low + high) / 2;
        const UINT_PTR filed = reinterpret_cast<UINT_PTR>(registry.GetAt(middle)->m_registeredHandle);
        if (filed == key)
            return middle;
        if (key < filed)
            high = middle - 1;
        else
            low = middle + 1;
    }
    return -1;
}

int SWnd::FindHandleIndex(HWND handle)
{
    SLockGuard lock(GetWindowRegistryLock());
    return FindIndexLocked(handle);
}

SWnd* SWnd::FromHandle(HWND handle)
{
    SLockGuard lock(GetWindowRegistryLock());
    const int i = FindIndexLocked(handle);
    return i < 0 ? nullptr : GetWindowRegistry().GetAt(i);
}

bool SWnd::RegisterHandle()
{
    if (!m_handle)
        return false;
    SLockGuard lock(GetWindowRegistryLock());
    SArray<SWnd*>& registry = GetWindowRegistry();
    const int existing = FindIndexLocked(m_handle);
    if (existing >= 0)
    {
        // A handle is filed once: the newer object replaces a stale entry.
        registry.GetAt(existing)->m_registeredHandle = nullptr;
        registry.SetAt(existing, this);
        m_registeredHandle = m_handle;
        return true;
    }
    const UINT_PTR key = reinterpret_cast<UINT_PTR>(m_handle);
    int index = registry.GetCount();
    for (int i = 0; i < registry.GetCount(); i++)
    {
        if (reinterpret_cast<UINT_PTR>(registry.GetAt(i)->m_registeredHandle) > key)
        {
            index = i;
            break;
        }
    }
    m_registeredHandle = m_handle;
    registry.InsertAt(this, index, 1);
    return true;
}

// Removes the entry of the handle when it files the expected object. A filed
// object is alive (its destructor takes it out under the same lock), so the
// object itself can be told that its window is gone.
void SWnd::ForgetRegistration(HWND handle, const SWnd* expected)
{
    SLockGuard lock(GetWindowRegistryLock());
    SArray<SWnd*>& registry = GetWindowRegistry();
    const int i = FindIndexLocked(handle);
    if (i < 0 || registry.GetAt(i) != expected)
        return;
    SWnd* window = registry.GetAt(i);
    if (window->m_handle == handle)
        window->m_handle = nullptr;
    window->m_registeredHandle = nullptr;
    registry.RemoveAt(i, 1);
}

void SWnd::UnregisterObject(SWnd* window)
{
    SLockGuard lock(GetWindowRegistryLock());
    SArray<SWnd*>& registry = GetWindowRegistry();
    for (int i = registry.GetCount() - 1; i >= 0; i--)
        if (registry.GetAt(i) == window)
            registry.RemoveAt(i, 1);
    window->m_registeredHandle = nullptr;
}

int SWnd::ForgetThreadWindows(DWORD threadId)
{
    if (threadId == 0)
        return 0;
    SLockGuard lock(GetWindowRegistryLock());
    SArray<SWnd*>& registry = GetWindowRegistry();
    int removed = 0;
    for (int i = registry.GetCount() - 1; i >= 0; i--)
    {
        if (GetWindowThreadProcessId(registry.GetAt(i)->m_registeredHandle, nullptr) != threadId)
            continue;
        registry.RemoveAt(i, 1);
        removed++;
    }
    return removed;
}

// --- Creation ---------------------------------------------------------------

void SWnd::ResetWindowState()
{
    m_previousProc = nullptr;
    m_ownBackground = false;
    m_minTrackWidth = GetSystemMetrics(SM_CXMINTRACK);
    m_minTrackHeight = GetSystemMetrics(SM_CYMINTRACK);
    m_maxTrackWidth = m_maxTrackHeight = -1;
    m_clientDrag = false;
    m_anchorFlags = 0;
    m_anchorParentWidth = m_anchorParentHeight = 0;
    SetRectEmpty(&m_anchorRect);
    m_eraseNesting = 0;
    m_hLineStep = m_vLineStep = 1;
    m_hPageStep = m_vPageStep = 10;
    m_hSnapStep = m_vSnapStep = 1;
    m_font = nullptr;
    m_keyCommandMask = 0;
    m_restored = false;
    m_modal = false;
    m_modalResult = 0;
    m_caretMade = m_caretCreated = m_caretVisible = false;
    m_caretWidth = m_caretHeight = m_caretX = m_caretY = 0;
    m_cursor = nullptr;
    m_mouseInside = false;
    m_zoneTracking = m_ncZoneTracking = false;
    m_currentZone = -1;
    m_currentNcZone = -2;
    m_dragging = false;
    m_dragOffsetX = m_dragOffsetY = 0;
    m_nextChildSequence = 0;
    m_tabGroup = -1;
    m_creationSequence = 0;
}

// Steps shared by both create calls before CreateWindowExA: state reset, the
// creation sequence from a library parent, and the style to use.
DWORD SWnd::PrepareCreation(DWORD style, HWND parent, bool& visible)
{
    ResetWindowState();
    if (parent)
    {
        if (SWnd* owner = FromHandle(parent))
            m_creationSequence = owner->GetNextChildSequence();
    }
    visible = (style & WS_VISIBLE) != 0;
    style &= ~WS_VISIBLE;
    if (!parent)
        style |= WS_POPUP;
    return style;
}

bool SWnd::FinishCreation(HWND handle, bool subclass, LPARAM param, bool visible)
{
    m_handle = handle;
    if (!m_handle)
        return false;
    RegisterHandle();
    if (subclass)
        m_previousProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(m_handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SharedWindowProc)));
    if (SharedWindowProc(m_handle, SWM_CREATED, 0, param) != 0)
    {
        DestroyWindow();
        return false;
    }
    if (visible)
        ::ShowWindow(m_handle, SW_SHOW);
    return true;
}

bool SWnd::Create(const char* title, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                  UINT_PTR idOrMenu, LPARAM param, HINSTANCE instance, bool noClose)
{
    return CreateOfClass(noClose ? CLASS_NAME_NOCLOSE : CLASS_NAME, false, title, style, exStyle, rect,
                         parent, idOrMenu, param, instance);
}

bool SWnd::CreateSubclassed(const char* className, const char* title, DWORD style, DWORD exStyle,
                            const RECT* rect, HWND parent, UINT_PTR id, LPARAM param,
                            HINSTANCE instance)
{
    return className && CreateOfClass(className, true, title, style, exStyle, rect, parent, id, param, instance);
}

bool SWnd::CreateOfClass(const char* className, bool subclass, const char* title, DWORD style,
                         DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR idOrMenu, LPARAM param,
                         HINSTANCE instance)
{
    if (m_handle)
        return false;
    bool visible;
    style = PrepareCreation(style, parent, visible);
    RECT r = {};
    if (rect)
        r = *rect;
    HWND handle = CreateWindowExA(exStyle, className, title ? title : "", style, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, parent,
                                  reinterpret_cast<HMENU>(idOrMenu), instance ? instance : GetInstance(),
                                  reinterpret_cast<void*>(param));
    return FinishCreation(handle, subclass, param, visible);
}

bool SWnd::CreateChild(const char* title, DWORD style, DWORD exStyle, const RECT* rect,
                       HWND parent, UINT_PTR id, int ignored, LPARAM param)
{
    if (!(style & WS_POPUP))
        style |= WS_CHILD;
    return Create(title, style, exStyle, rect, parent, id, param, GetInstance(), false);
}

bool SWnd::CreateChild(const char* title, DWORD style, DWORD exStyle, const RECT* rect,
                       HWND parent, UINT_PTR id, LPARAM param)
{
    return CreateChild(title, style, exStyle, rect, parent, id, 0, param);
}

bool SWnd::CreateChildUntitled(DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                               UINT_PTR id, int ignored, LPARAM param)
{
    return CreateChild("", style, exStyle, rect, parent, id, ignored, param);
}

bool SWnd::CreateChildUntitled(DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                               UINT_PTR id, LPARAM param)
{
    return CreateChild("", style, exStyle, rect, parent, id, 0, param);
}

bool SWnd::CreatePopup(const char* title, const RECT* rect, HWND owner, LPARAM param,
                       bool resizable)
{
    const DWORD style = resizable ? (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)
                                  : (WS_POPUP | WS_CAPTION | WS_SYSMENU);
    return Create(title, style, 0, rect, owner, 0, param, GetInstance(), false);
}

bool SWnd::CreateMessageWindow(LPARAM param)
{
    return Create("", 0, 0, nullptr, HWND_MESSAGE, 0, param, GetInstance(), false);
}

// --- Destruction ------------------------------------------------------------

bool SWnd::DestroyWindow()
{
    HWND handle = m_handle;
    if (!handle)
        return false;
    ::ShowWindow(handle, SW_HIDE);
    if (!::DestroyWindow(handle))
        return false;
    m_handle = nullptr;
    // The routing removed the entry unless the pre-processor kept WM_DESTROY to itself.
    ForgetRegistration(handle, this);
    return true;
}

bool SWnd::Close()
{
    if (!m_handle)
        return false;
    return ::SendMessageA(m_handle, WM_CLOSE, 0, 0) == 0;
}

// --- Routing ----------------------------------------------------------------

LRESULT CALLBACK SWnd::SharedWindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    SWnd* window = FromHandle(handle);
    if (!window)
        return DefWindowProcA(handle, message, wParam, lParam);

    // Taken before the handlers run: they may forget the handle or delete the object.
    const WNDPROC previous = window->m_previousProc;
    LRESULT result = 0;
    const bool goOn = window->PreProcessMessage(message, wParam, lParam, result);
    if (goOn)
        result = window->WindowProc(message, wParam, lParam);

    if ((message == WM_DESTROY && goOn) || message == WM_NCDESTROY)
    {
        // Removed by the handle the message came with (the handler may have
        // forgotten it or deleted the object), so a reused handle cannot reach a
        // deleted object.
        ForgetRegistration(handle, window);
        // The control's own procedure sees its last messages and frees its data.
        if (previous && GetWindowLongPtrA(handle, GWLP_WNDPROC) ==
                            reinterpret_cast<LONG_PTR>(SharedWindowProc))
            SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    }
    return result;
}

LRESULT SWnd::CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_previousProc)
        return CallWindowProcA(m_previousProc, m_handle, message, wParam, lParam);
    return DefWindowProcA(m_handle, message, wParam, lParam);
}

// --- Members used across the library ----------------------------------------

LRESULT SWnd::Print(HDC dc, DWORD flags)
{
    return m_handle ? ::SendMessageA(m_handle, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags) : 0;
}

void SWnd::SetBackgroundColor(COLORREF color)
{
    m_backgroundColor = color;
    // The skin fills around its picture with the window's colour.
    m_skinImage.SetBackgroundColor(color);
}

COLORREF SWnd::GetBackgroundColor()
{
    return m_backgroundColor;
}

void SWnd::EnableNcZones(bool on)
{
    m_ncZoneTracking = on;
    m_currentNcZone = -2;
}

void SWnd::EndModal(int result)
{
    if (!m_modal)
        return;
    m_modalResult = result;
    m_modal = false;
}

HWND SWnd::GetParent() const
{
    return m_handle ? ::GetParent(m_handle) : nullptr;
}

LRESULT SWnd::SendMessageToParent(UINT message, WPARAM wParam, LPARAM lParam) const
{
    HWND parent = GetParent();
    return parent ? ::SendMessageA(parent, message, wParam, lParam) : 0;
}

LRESULT SWnd::NotifyChanged(LPARAM value, SWnd* sender)
{
    return SendMessageToParent(SWM_CHANGED, reinterpret_cast<WPARAM>(sender ? sender : this),
                               value);
}

// --- Wrappers ---------------------------------------------------------------

LRESULT SWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_handle, message, wParam, lParam);
}

bool SWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_handle, message, wParam, lParam) != 0;
}

LRESULT SWnd::SendMessageTo(HWND handle, UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::SendMessageA(handle, message, wParam, lParam);
}

HDC SWnd::GetDC() const { return ::GetDC(m_handle); }
int SWnd::ReleaseDC(HDC dc) const { return ::ReleaseDC(m_handle, dc); }
bool SWnd::GetClientRect(RECT* rect) const { return ::GetClientRect(m_handle, rect) != 0; }
bool SWnd::GetWindowRect(RECT* rect) const { return ::GetWindowRect(m_handle, rect) != 0; }
bool SWnd::ClientToScreen(POINT* point) const { return ::ClientToScreen(m_handle, point) != 0; }
bool SWnd::ScreenToClient(POINT* point) const { return ::ScreenToClient(m_handle, point) != 0; }
bool SWnd::ShowWindow(int command) const { return ::ShowWindow(m_handle, command) != 0; }
bool SWnd::IsVisible() const { return ::IsWindowVisible(m_handle) != 0; }
bool SWnd::EnableWindow(bool enable) const { return ::EnableWindow(m_handle, enable) != 0; }
bool SWnd::IsEnabled() const { return ::IsWindowEnabled(m_handle) != 0; }
HWND SWnd::SetFocus() const { return ::SetFocus(m_handle); }
bool SWnd::HasFocus() const { return m_handle && ::GetFocus() == m_handle; }
bool SWnd::SetForegroundWindow() const { return ::SetForegroundWindow(m_handle) != 0; }
bool SWnd::UpdateWindow() const { return ::UpdateWindow(m_handle) != 0; }
bool SWnd::IsZoomed() const { return ::IsZoomed(m_handle) != 0; }
bool SWnd::IsIconic() const { return ::IsIconic(m_handle) != 0; }
bool SWnd::SetWindowText(const char* text) const { return ::SetWindowTextA(m_handle, text) != 0; }
int SWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_handle); }

int SWnd::GetWindowTextBuffer(char* buffer, int size) const
{
    return ::GetWindowTextA(m_handle, buffer, size);
}

SString SWnd::GetWindowText() const
{
    SString text("");
    const int length = GetWindowTextLength();
    if (length <= 0)
        return text;
    text.SetLength(length);
    const int read = ::GetWindowTextA(m_handle, text.GetBuffer(), length + 1);
    text.SetLength(read < 0 ? 0 : read);
    return text;
}

int SWnd::GetId() const { return static_cast<int>(GetWindowLongPtrA(m_handle, GWLP_ID)); }
DWORD SWnd::GetStyle() const { return static_cast<DWORD>(GetWindowLongA(m_handle, GWL_STYLE)); }
DWORD SWnd::GetExStyle() const { return static_cast<DWORD>(GetWindowLongA(m_handle, GWL_EXSTYLE)); }

DWORD SWnd::SetStyle(DWORD style) const
{
    return static_cast<DWORD>(SetWindowLongA(m_handle, GWL_STYLE, static_cast<LONG>(style)));
}

DWORD SWnd::SetExStyle(DWORD style) const
{
    return static_cast<DWORD>(SetWindowLongA(m_handle, GWL_EXSTYLE, static_cast<LONG>(style)));
}

bool SWnd::IsPopup() const { return (GetStyle() & WS_POPUP) != 0; }

UINT_PTR SWnd::SetTimer(UINT_PTR id, UINT period, TIMERPROC callback) const
{
    return ::SetTimer(m_handle, id, period, callback);
}

bool SWnd::KillTimer(UINT_PTR id) const { return ::KillTimer(m_handle, id) != 0; }

bool SWnd::InvalidateRect(const RECT* rect, bool erase) const
{
    return ::InvalidateRect(m_handle, rect, erase) != 0;
}

bool SWnd::ValidateRect(const RECT* rect) const { return ::ValidateRect(m_handle, rect) != 0; }
HWND SWnd::SetCapture() const { return ::SetCapture(m_handle); }
bool SWnd::SetMenu(HMENU menu) const { return ::SetMenu(m_handle, menu) != 0; }

HMENU SWnd::GetMenu() const
{
    HMENU menu = ::GetMenu(m_handle);
    return ::IsMenu(menu) ? menu : nullptr;
}

void SWnd::SetFont(HFONT font, bool redraw) const
{
    ::SendMessageA(m_handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw);
}

HFONT SWnd::GetFont() const
{
    return reinterpret_cast<HFONT>(::SendMessageA(m_handle, WM_GETFONT, 0, 0));
}

void SWnd::SetRedraw(bool on) const { ::SendMessageA(m_handle, WM_SETREDRAW, on, 0); }

void SWnd::SetIcon(HICON bigIcon, HICON smallIcon) const
{
    ::SendMessageA(m_handle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    ::SendMessageA(m_handle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
}

void SWnd::SetClassIcon(HICON bigIcon, HICON smallIcon) const
{
    SetClassLongPtrA(m_handle, GCLP_HICON, reinterpret_cast<LONG_PTR>(bigIcon));
    SetClassLongPtrA(m_handle, GCLP_HICONSM, reinterpret_cast<LONG_PTR>(smallIcon));
}

int SWnd::SetWindowRgn(HRGN region, bool redraw) const
{
    return ::SetWindowRgn(m_handle, region, redraw);
}

bool SWnd::SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) const
{
    return ::SetWindowPos(m_handle, insertAfter, x, y, width, height, flags) != 0;
}

bool SWnd::Move(int x, int y) const
{
    return SetWindowPos(nullptr, x, y, 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

bool SWnd::MoveWindow(int x, int y, int width, int height, bool repaint) const
{
    return ::MoveWindow(m_handle, x, y, width, height, repaint) != 0;
}

bool SWnd::MoveWindowToRect(const RECT* rect, bool repaint) const
{
    if (!rect)
        return false;
    return MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                      repaint);
}

bool SWnd::ShowScrollBar(bool vertical, bool show) const
{
    return ::ShowScrollBar(m_handle, vertical ? SB_VERT : SB_HORZ, show) != 0;
}

int GetScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int GetScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }
