// The common pre-processor of every library window: shared behaviour that runs
// before the class's own handler.
#include "SArrayString.h"
#include "SControlNotify.h"
#include "SDisk.h"
#include "SItemRecords.h"
#include "SLibrary.h"
#include "SWnd.h"
#include <shellapi.h>
#include <windowsx.h>

namespace
{
// Where a caret that is made but not shown is parked.
const int CARET_PARKED = -182;

const UINT CLICK_MESSAGES[3] = {SWM_LCLICK, SWM_MCLICK, SWM_RCLICK};
const UINT NC_CLICK_MESSAGES[3] = {SWM_NCLCLICK, SWM_NCMCLICK, SWM_NCRCLICK};

bool IsKeyDown(int key)
{
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

// The keys of the key-command mask that go with Control alone.
struct ControlKey
{
    WPARAM key;
    int bit;
    void (SWnd::*operation)();
};

const ControlKey CONTROL_KEYS[] = {
    {'Z', SWnd::KEY_UNDO, &SWnd::OnUndo},     {'X', SWnd::KEY_CUT, &SWnd::OnCut},
    {'C', SWnd::KEY_COPY, &SWnd::OnCopy},     {'V', SWnd::KEY_PASTE, &SWnd::OnPaste},
    {'A', SWnd::KEY_SELECTALL, &SWnd::OnSelectAll}, {'F', SWnd::KEY_FIND, &SWnd::OnFind},
    {'H', SWnd::KEY_REPLACE, &SWnd::OnReplace}, {'G', SWnd::KEY_GOTO, &SWnd::OnGoTo},
    {'P', SWnd::KEY_PRINT, &SWnd::OnPrint},   {'N', SWnd::KEY_NEW, &SWnd::OnNew},
    {'O', SWnd::KEY_OPEN, &SWnd::OnOpen},     {'S', SWnd::KEY_SAVE, &SWnd::OnSave}};

// The path of one dropped entry, however long; folders end with a backslash.
SString ReadDroppedPath(HDROP drop, UINT index, SDisk& disk)
{
    const UINT length = DragQueryFileA(drop, index, nullptr, 0);
    SString path("");
    if (length == 0)
        return path;
    path.SetLength(static_cast<int>(length));
    const UINT read = DragQueryFileA(drop, index, path.GetBuffer(), length + 1);
    path.SetLength(static_cast<int>(read <= length ? read : length));
    if (path.GetLength() > 0 && path.GetAt(path.GetLength() - 1) != '\\' &&
        disk.FolderExists(path.GetText()))
        path += "\\";
    return path;
}
} // namespace

bool SWnd::PreProcessMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result)
{
    switch (message)
    {
    case SWM_CREATED:
        PreCreated();
        return true;
    case WM_SIZE:
        PreSize(wParam);
        return true;
    case SWM_PARENTSIZED:
        if (m_anchorFlags)
        {
            if (HWND parent = ApplyAnchors())
                ::SendMessageA(parent, SWM_ANCHORNOTIFY, reinterpret_cast<WPARAM>(this), 0);
        }
        return true;
    case WM_ERASEBKGND:
        if (!m_previousProc || m_ownBackground)
            PreEraseBackground(wParam, lParam);
        return true;
    case WM_SETCURSOR:
        if (!m_cursor)
            return true;
        ::SetCursor(m_cursor);
        result = 1;
        return false;
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        return true;
    case WM_GETFONT:
        result = WindowProc(message, wParam, lParam);
        if (!result)
            result = reinterpret_cast<LRESULT>(m_font);
        return false;
    case WM_SETFOCUS:
        PreSetFocus();
        return true;
    case WM_KILLFOCUS:
        PreKillFocus();
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return !ReflectControlColor(message, wParam, lParam, result);
    case WM_MEASUREITEM:
        return !PreMeasureItem(lParam, result);
    case WM_DRAWITEM:
        return !PreDrawItem(lParam, result);
    case WM_GETMINMAXINFO:
        PreMinMaxInfo(lParam);
        return true;
    case WM_INITMENUPOPUP:
        ::SetCursor(GetLibraryCursor(0));
        return true;
    case WM_CHAR:
        // An edit does not insert Tab: the key moves the focus instead.
        return !(wParam == '\t' && m_typeId == STYPE_EDIT);
    case WM_KEYDOWN:
        return PreKeyDown(wParam);
    case WM_COMMAND:
        SControlNotify::TranslateCommand(this, wParam, lParam);
        return true;
    case WM_NOTIFY:
        return SControlNotify::TranslateNotify(this, lParam, result);
    case WM_DROPFILES:
        PreDropFiles(wParam);
        return true;
    case WM_CLOSE:
        return !PreClose(result);
    case WM_DESTROY:
        PreDestroy();
        return true;
    case WM_MOUSEMOVE:
        PreMouseMove(wParam, lParam);
        return true;
    case WM_MOUSELEAVE:
        PreMouseLeave();
        return true;
    case WM_LBUTTONDOWN:
        PreButtonDown(0, lParam);
        return true;
    case WM_MBUTTONDOWN:
        PreButtonDown(1, lParam);
        return true;
    case WM_RBUTTONDOWN:
        PreButtonDown(2, lParam);
        return true;
    case WM_LBUTTONUP:
        PreButtonUp(0, lParam);
        return true;
    case WM_MBUTTONUP:
        PreButtonUp(1, lParam);
        return true;
    case WM_RBUTTONUP:
        PreButtonUp(2, lParam);
        return true;
    case WM_NCMOUSEMOVE:
        PreNcMouseMove(lParam);
        return true;
    case WM_NCMOUSELEAVE:
        PreNcMouseLeave();
        return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        s_ncButtonDown[message == WM_NCLBUTTONDOWN ? 0 : (message == WM_NCMBUTTONDOWN ? 1 : 2)] =
            this;
        return true;
    case WM_NCLBUTTONUP:
    case WM_NCMBUTTONUP:
    case WM_NCRBUTTONUP:
    {
        const int button = message == WM_NCLBUTTONUP ? 0 : (message == WM_NCMBUTTONUP ? 1 : 2);
        if (s_ncButtonDown[button] == this)
            SendMessage(NC_CLICK_MESSAGES[button], 0, lParam);
        else
            s_ncButtonDown[button] = nullptr;
        return true;
    }
    default:
        return true;
    }
}

void SWnd::PreCreated()
{
    m_eraseNesting = 0;
    if (m_typeId == STYPE_WND)
        SetBackgroundColor(GetSysColor(COLOR_BTNFACE));
    SetFont(GetSmallGuiFont(), true);
    m_cursor = nullptr;
    m_restored = !::IsIconic(m_handle) && !::IsZoomed(m_handle);
}

void SWnd::PreSize(WPARAM state)
{
    if (state == SIZE_MAXIMIZED)
    {
        m_restored = false;
        SendMessage(SWM_MAXIMIZED);
    }
    else if (state == SIZE_MINIMIZED)
    {
        m_restored = false;
        SendMessage(SWM_MINIMIZED);
    }
    else if (state == SIZE_RESTORED && !m_restored)
    {
        m_restored = true;
        SendMessage(SWM_RESTORED);
    }
}

// Double buffering: the outermost erase paints the background into a memory
// context that the class draws on; the base handler copies it to the window.
void SWnd::PreEraseBackground(WPARAM wParam, LPARAM& lParam)
{
    HDC windowDC = reinterpret_cast<HDC>(wParam);
    if (m_backgroundColor == COLOR_TRANSPARENT)
    {
        PaintBackground(windowDC, windowDC);
        lParam = wParam;
        return;
    }
    if (++m_eraseNesting > 1)
    {
        lParam = 0;
        return;
    }
    lParam = 0;
    HDC memory = CreateCompatibleDC(windowDC);
    if (!memory)
        return;
    RECT client = {};
    ::GetClientRect(m_handle, &client);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDC, client.right, client.bottom);
    if (!bitmap)
    {
        DeleteDC(memory);
        return;
    }
    SelectObject(memory, bitmap);
    // Without a background the window keeps what it showed: the copy back must not blank it.
    if (m_backgroundColor == COLOR_NONE)
        BitBlt(memory, 0, 0, client.right, client.bottom, windowDC, 0, 0, SRCCOPY);
    PaintBackground(windowDC, memory);
    lParam = reinterpret_cast<LPARAM>(memory);
}

void SWnd::PreSetFocus()
{
    if (!m_caretMade)
        return;
    if (m_caretCreated)
    {
        ::DestroyCaret();
        m_caretCreated = false;
    }
    if (!::CreateCaret(m_handle, nullptr, m_caretWidth, m_caretHeight))
        return;
    PlaceCaret();
    ::ShowCaret(m_handle);
    m_caretCreated = true;
}

void SWnd::PreKillFocus()
{
    for (int i = 0; i < 3; i++)
        s_buttonDown[i] = s_ncButtonDown[i] = nullptr;
    if (m_caretMade && m_caretCreated)
    {
        ::DestroyCaret();
        m_caretCreated = false;
    }
}

// A child paints its own colours: the parent's WM_CTLCOLOR* goes back to it.
bool SWnd::ReflectControlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    SWnd* child = FromHandle(reinterpret_cast<HWND>(lParam));
    if (!child || !child->m_handle)
        return false;
    HDC dc = reinterpret_cast<HDC>(wParam);
    HBRUSH brush = nullptr;
    switch (message)
    {
    case WM_CTLCOLOREDIT: brush = child->OnCtlColorEdit(dc); break;
    case WM_CTLCOLORLISTBOX: brush = child->OnCtlColorListBox(dc); break;
    case WM_CTLCOLORBTN: brush = child->OnCtlColorBtn(dc); break;
    case WM_CTLCOLORDLG: brush = child->OnCtlColorDlg(dc); break;
    case WM_CTLCOLORSCROLLBAR: brush = child->OnCtlColorScrollBar(dc); break;
    case WM_CTLCOLORSTATIC: brush = child->OnCtlColorStatic(dc); break;
    default: break;
    }
    if (!brush)
        return false;
    result = reinterpret_cast<LRESULT>(brush);
    return true;
}

bool SWnd::PreMeasureItem(LPARAM lParam, LRESULT& result)
{
    if (!SItemRecords::Measure(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
        return false;
    result = 1;
    return true;
}

bool SWnd::PreDrawItem(LPARAM lParam, LRESULT& result)
{
    if (!SItemRecords::Draw(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)))
        return false;
    result = 1;
    return true;
}

void SWnd::PreMinMaxInfo(LPARAM lParam) const
{
    MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (!info)
        return;
    if (m_minTrackWidth >= 0)
        info->ptMinTrackSize.x = m_minTrackWidth;
    if (m_minTrackHeight >= 0)
        info->ptMinTrackSize.y = m_minTrackHeight;
    if (m_maxTrackWidth >= 0)
        info->ptMaxTrackSize.x = m_maxTrackWidth;
    if (m_maxTrackHeight >= 0)
        info->ptMaxTrackSize.y = m_maxTrackHeight;
}

bool SWnd::PreKeyDown(WPARAM key)
{
    HWND ancestor = GetOutermostPopupAncestor(false);
    if (ancestor && ancestor != m_handle)
        SharedWindowProc(ancestor, SWM_CHILDKEYDOWN, key, reinterpret_cast<LPARAM>(this));
    if (!m_handle)
        return false;
    if (key == VK_TAB && m_tabGroup != -1)
    {
        SWnd* next = GetNextTabWindow();
        if (next && next != this)
        {
            next->SetFocus();
            return false;
        }
    }
    if (m_keyCommandMask)
        RunKeyCommand(key);
    return true;
}

void SWnd::RunKeyCommand(WPARAM key)
{
    const int modifiers = (IsKeyDown(VK_CONTROL) ? 2 : 0) | (IsKeyDown(VK_SHIFT) ? 1 : 0);
    if (modifiers == 0)
    {
        if (key == VK_ESCAPE && IsKeyCommandEnabled(KEY_ESCAPE))
            OnEscape();
        else if (key == VK_DELETE && IsKeyCommandEnabled(KEY_DELETE))
            OnDelete();
    }
    else if (modifiers == 2)
    {
        for (const ControlKey& entry : CONTROL_KEYS)
        {
            if (entry.key == key && IsKeyCommandEnabled(entry.bit))
            {
                (this->*entry.operation)();
                break;
            }
        }
    }
    else if (modifiers == 3 && key == 'S' && IsKeyCommandEnabled(KEY_SAVEAS))
    {
        OnSaveAs();
    }
}

void SWnd::PreDropFiles(WPARAM drop)
{
    HDROP handle = reinterpret_cast<HDROP>(drop);
    const UINT count = DragQueryFileA(handle, 0xFFFFFFFF, nullptr, 0);
    SArrayString paths;
    SDisk disk;
    for (UINT i = 0; i < count; i++)
        paths.Add(ReadDroppedPath(handle, i, disk).GetText());
    SendMessage(SWM_DROPFILES, reinterpret_cast<WPARAM>(&paths), 0);
}

// A window in a modal run is hidden, not destroyed: its owner gets the run's result.
bool SWnd::PreClose(LRESULT& result)
{
    if (!m_modal)
        return false;
    SharedWindowProc(m_handle, SWM_DIALOGCANCEL, 0, 0);
    if (!m_handle)
        return true;
    HWND outer = GetOutermostPopupAncestor(true);
    if (outer && FromHandle(outer))
        ::EnableWindow(outer, TRUE);
    ::ShowWindow(m_handle, SW_HIDE);
    result = 0;
    return true;
}

void SWnd::PreDestroy()
{
    if (m_modal)
        EndModal(-1);
    DestroyCaret();
    ::SetMenu(m_handle, nullptr);
}

void SWnd::PreMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_mouseInside)
    {
        m_mouseInside = true;
        SendMessage(SWM_MOUSEENTER, wParam, lParam);
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_handle, 0};
        TrackMouseEvent(&track);
    }
    const WPARAM buttons[3] = {MK_LBUTTON, MK_MBUTTON, MK_RBUTTON};
    for (int i = 0; i < 3; i++)
    {
        if (!(wParam & buttons[i]))
            s_buttonDown[i] = nullptr;
    }
    if (m_clientDrag && m_dragging)
        DragWindowToCursor();
    else if (m_zoneTracking)
        TrackZones(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
}

void SWnd::DragWindowToCursor()
{
    POINT point = {};
    if (!GetCursorPos(&point))
        return;
    HWND parent = ::GetParent(m_handle);
    if ((GetStyle() & WS_CHILD) && parent)
        ::ScreenToClient(parent, &point);
    Move(point.x - m_dragOffsetX, point.y - m_dragOffsetY);
}

void SWnd::TrackZones(int x, int y)
{
    const int hit = HitTestZone(x, y);
    if (m_currentZone == -1)
    {
        if (hit != -1)
            OnZoneEnter(m_zones.GetPtr(hit), x, y, hit);
    }
    else if (hit == m_currentZone)
    {
        OnZoneMove(m_zones.GetPtr(hit), x, y, hit);
    }
    else
    {
        OnZoneLeave(m_zones.GetPtr(m_currentZone), x, y, m_currentZone);
        if (hit != -1)
            OnZoneEnter(m_zones.GetPtr(hit), x, y, hit);
    }
    m_currentZone = hit;
}

void SWnd::PreMouseLeave()
{
    if (m_mouseInside)
    {
        m_mouseInside = false;
        SendMessage(SWM_MOUSELEAVE, 0, 0);
    }
    if (m_zoneTracking && m_currentZone != -1)
    {
        POINT point = {};
        GetCursorPos(&point);
        ::ScreenToClient(m_handle, &point);
        OnZoneLeave(m_zones.GetPtr(m_currentZone), point.x, point.y, m_currentZone);
        m_currentZone = -1;
    }
}

void SWnd::PreButtonDown(int button, LPARAM lParam)
{
    if (button == 0 && m_clientDrag && !m_dragging && !::IsZoomed(m_handle) &&
        SendMessage(SWM_DRAGQUERY, 0, lParam) == 0)
    {
        int left = 0, top = 0, right = 0, bottom = 0;
        GetFrameSizes(left, top, right, bottom);
        m_dragging = true;
        m_dragOffsetX = GET_X_LPARAM(lParam) + left;
        m_dragOffsetY = GET_Y_LPARAM(lParam) + top;
        ::SetCapture(m_handle);
    }
    s_buttonDown[button] = this;
}

// A click is a press and a release on the same window.
void SWnd::PreButtonUp(int button, LPARAM lParam)
{
    if (s_buttonDown[button] == this)
        SendMessage(CLICK_MESSAGES[button], 0, lParam);
    else
        s_buttonDown[button] = nullptr;
    if (button == 0 && m_clientDrag && m_dragging)
    {
        ReleaseCapture();
        m_dragging = false;
        SendMessage(SWM_DRAGEND, 0, 0);
    }
}

void SWnd::PreNcMouseMove(LPARAM lParam)
{
    const int keys[3] = {VK_LBUTTON, VK_MBUTTON, VK_RBUTTON};
    for (int i = 0; i < 3; i++)
    {
        if (!IsKeyDown(keys[i]))
            s_ncButtonDown[i] = nullptr;
    }
    if (!m_ncZoneTracking)
        return;
    RECT window = {};
    ::GetWindowRect(m_handle, &window);
    const int x = GET_X_LPARAM(lParam) - window.left, y = GET_Y_LPARAM(lParam) - window.top;
    const int hit = HitTestNcZone(x, y);
    const RECT* hitZone = hit >= 0 ? m_ncZones.GetPtr(hit) : nullptr;
    if (m_currentNcZone == -2)
    {
        OnNcZoneEnter(hitZone, x, y, hit);
        m_currentNcZone = hit;
    }
    else if (hit == m_currentNcZone)
    {
        OnNcZoneMove(hitZone, x, y, hit);
    }
    else
    {
        const RECT* current = m_currentNcZone >= 0 ? m_ncZones.GetPtr(m_currentNcZone) : nullptr;
        OnNcZoneLeave(current, x, y, current ? m_currentNcZone : -1);
        OnNcZoneEnter(hitZone, x, y, hit);
        m_currentNcZone = hit;
    }
    TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE | TME_NONCLIENT, m_handle, 0};
    TrackMouseEvent(&track);
}

void SWnd::PreNcMouseLeave()
{
    if (!m_ncZoneTracking)
        return;
    POINT point = {};
    GetCursorPos(&point);
    RECT window = {};
    ::GetWindowRect(m_handle, &window);
    const RECT* current = m_currentNcZone >= 0 ? m_ncZones.GetPtr(m_currentNcZone) : nullptr;
    OnNcZoneLeave(current, point.x - window.left, point.y - window.top,
                  current ? m_currentNcZone : -1);
    m_currentNcZone = -2;
}

int SWnd::HitTestZone(int x, int y) const
{
    const POINT point = {x, y};
    for (int i = 0; i < m_zones.GetCount(); i++)
    {
        if (PtInRect(m_zones.GetPtr(i), point))
            return i;
    }
    return -1;
}

int SWnd::HitTestNcZone(int x, int y) const
{
    const POINT point = {x, y};
    for (int i = 0; i < m_ncZones.GetCount(); i++)
    {
        if (PtInRect(m_ncZones.GetPtr(i), point))
            return i;
    }
    return -1;
}
