// The sound editor's input: keys, selecting with the mouse, the wheel's playback
// frequency, the context menu, and the window procedure that routes them.
#include "SWaveCtrl.h"
#include <windowsx.h>
#include <algorithm>
#include "SLibrary.h"

namespace
{
const int IBEAM_CURSOR = 5;
const DWORD DRAG_POLL_MS = 10;
} // namespace

void SWaveCtrl::MoveLeft(bool shift, uint32_t step)
{
    const uint32_t move = std::min(step, m_selectionStart);
    if (shift)
    {
        m_selectionStart -= move;
        m_selectionLength += move;
    }
    else if (m_selectionLength > 0)
        m_selectionLength = 0;
    else
        m_selectionStart -= move;
}

void SWaveCtrl::MoveRight(bool shift, uint32_t step)
{
    const uint32_t frames = m_sound.GetFrameCount();
    if (shift)
        m_selectionLength = static_cast<uint32_t>(
            std::min<uint64_t>(static_cast<uint64_t>(m_selectionLength) + step, frames - m_selectionStart));
    else if (m_selectionLength > 0)
    {
        m_selectionStart += m_selectionLength;
        m_selectionLength = 0;
    }
    else
        m_selectionStart = static_cast<uint32_t>(std::min<uint64_t>(static_cast<uint64_t>(m_selectionStart) + step, frames));
}

// Keypad 1 to 6 are channels 0 to 5; keypad 0 stands for all of them.
void SWaveCtrl::OnNumberKey(int number, bool ctrl)
{
    const int channel = number - 1;
    if (ctrl)
        ToggleMute(channel, true);
    else
        SetChannel(channel >= 0 && channel != m_channel ? channel : -1, true);
}

void SWaveCtrl::OnKeyDown(int key, bool shift, bool ctrl)
{
    if (!m_sound.IsLoaded())
        return;
    const int channels = m_sound.GetChannelCount();
    const uint32_t step = ComputeKeyStep(m_sound.GetFrameCount(), GetClientWidth());
    switch (key)
    {
    case VK_ESCAPE: m_selectionLength = 0; break;
    case VK_SPACE:
        if (m_sound.IsPlaying())
            Stop();
        else
            Play();
        break;
    case VK_HOME: SetSelection(0, 0); break;
    case VK_END: SetSelection(m_sound.GetFrameCount(), 0); break;
    case VK_LEFT: MoveLeft(shift && !ctrl, step); break;
    case VK_RIGHT: MoveRight(shift && !ctrl, step); break;
    case VK_UP: SetChannel(m_channel < 0 ? channels - 1 : m_channel - 1, true); break;
    case VK_DOWN: SetChannel(m_channel < 0 ? 0 : m_channel + 1, true); break;
    // A plain Delete is the edit command the pre-processor runs.
    case VK_DELETE:
        if (shift && !ctrl)
            SilenceSelection();
        break;
    case 'N':
        if (ctrl)
            NewWave(shift ? 6 : 1);
        break;
    case 'R':
        if (ctrl && !shift)
            ScanSelection();
        break;
    case VK_ADD: Amplify(1.5); break;
    case VK_SUBTRACT: Amplify(0.75); break;
    default:
        if (key >= VK_NUMPAD0 && key <= VK_NUMPAD6 && !shift)
            OnNumberKey(key - VK_NUMPAD0, ctrl);
        break;
    }
    if (m_handle)
        InvalidateRect(nullptr, true);
}

// --- Mouse ------------------------------------------------------------------

// The cursor goes under the pointer; while the button stays down the pointer,
// kept inside the client area, gives the other end of the selection.
void SWaveCtrl::SelectByMouse(int x)
{
    if (!m_sound.IsLoaded())
        return;
    SetFocus();
    const int width = GetClientWidth();
    const uint32_t frames = m_sound.GetFrameCount();
    const uint32_t anchor = XToFrame(std::max(0, std::min(x, width - 1)), frames, width);
    SetSelection(anchor, 0);
    RedrawWindow();
    while (m_keyboard.IsLeftButtonDown())
    {
        POINT pointer = {};
        GetCursorPos(&pointer);
        ScreenToClient(&pointer);
        const uint32_t other = XToFrame(std::max(0, std::min<int>(pointer.x, width - 1)), frames, width);
        SetSelection(std::min(anchor, other), std::max(anchor, other) - std::min(anchor, other));
        RedrawWindow();
        Sleep(DRAG_POLL_MS);
    }
}

void SWaveCtrl::OnContextMenu(int x, int y)
{
    if (!m_sound.IsLoaded() || !m_menuEnabled)
        return;
    SetFocus();
    POINT screen = {x, y};
    ClientToScreen(&screen);
    m_menu.Track(screen.x, screen.y, TPM_RIGHTBUTTON);
}

void SWaveCtrl::OnWheel(int delta)
{
    if (!m_sound.IsLoaded())
        return;
    const int64_t frequency = static_cast<int64_t>(m_sound.GetFrequency()) + delta / WHEEL_DELTA * WHEEL_STEP_HZ;
    m_sound.SetFrequency(static_cast<DWORD>(std::max<int64_t>(0, frequency)));
    InvalidateRect(nullptr, true);
    NotifyChanged(0);
}

void SWaveCtrl::BuildMenu()
{
    m_menu.Destroy();
    if (!m_menu.Create(m_handle))
        return;
    m_menu.InsertItem(MENU_PLAY, "Play");
    m_menu.InsertItem(MENU_STOP, "Stop");
    m_menu.InsertItem(MENU_PAUSE, "Pause");
    m_menu.InsertSeparator();
    m_menu.InsertItem(MENU_CUT, "Cut");
    m_menu.InsertItem(MENU_COPY, "Copy");
    m_menu.InsertItem(MENU_PASTE, "Paste");
    m_menu.InsertItem(MENU_DELETE, "Delete");
    m_menu.InsertSeparator();
    m_menu.InsertItem(MENU_REPEAT, "Repeat");
    m_menu.CheckItem(MENU_REPEAT, m_repeat);
}

void SWaveCtrl::OnMenuCommand(int id)
{
    switch (id)
    {
    case MENU_PLAY: Play(); break;
    case MENU_STOP: Stop(); break;
    case MENU_PAUSE: m_sound.TogglePause(); break;
    case MENU_CUT: OnCut(); break;
    case MENU_COPY: OnCopy(); break;
    case MENU_PASTE: OnPaste(); break;
    case MENU_DELETE: OnDelete(); break;
    case MENU_REPEAT: SetRepeat(!m_repeat); break;
    default: return;
    }
    if (m_handle)
        InvalidateRect(nullptr, true);
}

// The Esc that cancelled an edit: pressed before the cancel, or held since.
bool SWaveCtrl::IsCancellingEscape(LPARAM flags) const
{
    const bool held = (flags & (1 << 30)) != 0;
    return m_escapeCancelled && (held || static_cast<LONG>(GetMessageTime() - m_escapeTime) <= 0);
}

LRESULT SWaveCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    SMouseNotify::RelayToParent(this, SWM_WAVE_MOUSE, message, lParam);
    switch (message)
    {
    case SWM_CREATED:
        SetKeyCommandMask(KEY_CUT | KEY_COPY | KEY_PASTE | KEY_DELETE | KEY_SELECTALL);
        BuildMenu();
        CloseSound();
        SetDefaultColors();
        ResetView();
        break;
    case WM_DESTROY:
        CloseSound();
        SetDefaultColors();
        ResetView();
        break;
    case WM_SIZE:
        BuildWaveform();
        break;
    case WM_ERASEBKGND:
    case WM_PRINTCLIENT:
        if (HDC dc = GetContentPaintDC(message, wParam, lParam))
            Paint(dc);
        break;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && IsCancellingEscape(lParam))
            return 0;
        OnKeyDown(static_cast<int>(wParam), m_keyboard.IsShiftDown(), m_keyboard.IsCtrlDown());
        return 0;
    case WM_KEYUP:
        if (wParam == VK_ESCAPE)
            m_escapeCancelled = false;
        break;
    case WM_LBUTTONDOWN:
        SelectByMouse(GET_X_LPARAM(lParam));
        break;
    case WM_LBUTTONDBLCLK:
        if (m_sound.IsLoaded())
            OnSelectAll();
        break;
    case WM_RBUTTONDOWN:
        OnContextMenu(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_MOUSEWHEEL:
        OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        break;
    case WM_MOUSEMOVE:
        SetCursor(GetLibraryCursor(IBEAM_CURSOR));
        break;
    case WM_NCMOUSEMOVE:
        SetCursor(nullptr);
        break;
    case SWM_MENUCOMMAND:
        OnMenuCommand(static_cast<int>(lParam));
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
