#include "SDialogCtrl.h"
#include <algorithm>
#include <climits>
#include "SLibrary.h"

namespace
{
const int MINIMUM_SIZE = 10;
const int FRAME_PEN_WIDTH = 2;

bool IsInputMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCMBUTTONDBLCLK);
}

// Which edges a grab handle moves.
bool MovesLeft(int handle) { return handle == 0 || handle == 3 || handle == 5; }
bool MovesRight(int handle) { return handle == 2 || handle == 4 || handle == 7; }
bool MovesTop(int handle) { return handle == 0 || handle == 1 || handle == 2; }
bool MovesBottom(int handle) { return handle == 5 || handle == 6 || handle == 7; }
} // namespace

RECT SDialogCtrl::GetMovedFrame(const RECT& rect, int dx, int dy, bool ctrl) const
{
    const int left = RoundToStep(rect.left + dx, GetGridStepX(ctrl));
    const int top = RoundToStep(rect.top + dy, GetGridStepY(ctrl));
    const RECT frame = {left, top, left + (rect.right - rect.left), top + (rect.bottom - rect.top)};
    return frame;
}

RECT SDialogCtrl::GetResizedFrame(const RECT& start, int handle, int dx, int dy, bool ctrl) const
{
    RECT r = start;
    r.left += MovesLeft(handle) ? dx : 0;
    r.right += MovesRight(handle) ? dx : 0;
    r.top += MovesTop(handle) ? dy : 0;
    r.bottom += MovesBottom(handle) ? dy : 0;
    r.left = RoundToStep(r.left, GetGridStepX(ctrl));
    r.right = RoundToStep(r.right, GetGridStepX(ctrl));
    r.top = RoundToStep(r.top, GetGridStepY(ctrl));
    r.bottom = RoundToStep(r.bottom, GetGridStepY(ctrl));
    r.right = std::max<LONG>(r.right, start.left + MINIMUM_SIZE);
    r.bottom = std::max<LONG>(r.bottom, start.top + MINIMUM_SIZE);
    r.left = std::min<LONG>(r.left, start.right - MINIMUM_SIZE);
    r.top = std::min<LONG>(r.top, start.bottom - MINIMUM_SIZE);
    return r;
}

bool SDialogCtrl::MoveSelection(int dx, int dy, bool ctrl)
{
    _SCtrl* first = GetSelected(0);
    if (!first || (dx == 0 && dy == 0))
        return false;
    TakeUndoSnapshot();
    for (int i = 0; i < GetSelectedCount(); i++)
    {
        _SCtrl* e = GetSelected(i);
        e->SetPosition(static_cast<short>(RoundToStep(e->GetX() + dx, GetGridStepX(ctrl))),
                       static_cast<short>(RoundToStep(e->GetY() + dy, GetGridStepY(ctrl))), e->GetWidth(),
                       e->GetHeight());
    }
    RedrawAll();
    NotifyChanged(0);
    FillProperties(first);
    return true;
}

bool SDialogCtrl::ResizeElement(_SCtrl* element, const RECT& frame)
{
    if (!element)
        return false;
    TakeUndoSnapshot();
    const short width = static_cast<short>(abs(frame.right - frame.left));
    const short height = static_cast<short>(abs(frame.bottom - frame.top));
    element->SetPosition(static_cast<short>(frame.left), static_cast<short>(frame.top), width, height);
    if (SWnd* live = element->GetLiveControl())
        live->MoveWindow(0, 0, width, height, true);
    RedrawAll();
    NotifyChanged(0);
    FillProperties(element);
    return true;
}

bool SDialogCtrl::SelectInBand(const RECT& band)
{
    const RECT b = {std::min(band.left, band.right), std::min(band.top, band.bottom),
                    std::max(band.left, band.right), std::max(band.top, band.bottom)};
    _SCtrl* previous = GetSelected(0);
    const int before = GetSelectedCount();
    ClearSelection();
    for (int i = 0; i < GetElementCount(); i++)
    {
        _SCtrl* e = GetElement(i);
        const RECT r = DesignToClient(e->GetRect());
        if (r.left >= b.left && r.top >= b.top && r.right <= b.right && r.bottom <= b.bottom && !IsElementHidden(e))
            Select(e);
    }
    RedrawAll();
    if (GetSelected(0) != previous || GetSelectedCount() != before)
        OnSelectionChanged(previous, GetSelected(0));
    return GetSelectedCount() > 0;
}

bool SDialogCtrl::RunDragLoop(const std::function<void(POINT)>& track, POINT start)
{
    SetCapture();
    POINT last = start;
    bool done = false, cancelled = false;
    while (!done)
    {
        MSG msg;
        while (!done && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        {
            if (msg.message == WM_QUIT)
            {
                PostQuitMessage(static_cast<int>(msg.wParam));
                done = true;
            }
            else if (msg.message == WM_LBUTTONUP || msg.message == WM_MOUSEMOVE)
            {
                // Queued pointer positions count even when the button is already up.
                POINT at = {static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam))};
                MapWindowPoints(msg.hwnd, m_handle, &at, 1);
                last = at;
                done = msg.message == WM_LBUTTONUP;
            }
            else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE)
                done = cancelled = true;
            else if (!IsInputMessage(msg.message))
            {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (!done && m_keyboard.IsKeyDown(VK_ESCAPE))
            done = cancelled = true;
        // The button as the messages read so far left it: a press that was only
        // sent, never queued, ends at once without a move.
        if (!done && (GetKeyState(VK_LBUTTON) & 0x8000) && GetCursorPos(&last))
            ScreenToClient(&last);
        else if (!done)
            done = true;
        if (!cancelled)
            track(last);
        if (!done)
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 15, QS_ALLINPUT);
    }
    if (GetCapture() == m_handle)
        ReleaseCapture();
    return !cancelled;
}

void SDialogCtrl::DrawXorFrames(const std::vector<RECT>& frames)
{
    SWindowDCGuard dc(m_handle);
    // No edge left of or above the page's origin.
    const POINT origin = GetOrigin();
    IntersectClipRect(dc.Get(), std::max<LONG>(origin.x, m_designArea.left), std::max<LONG>(origin.y, m_designArea.top),
                      m_designArea.right, m_designArea.bottom);
    SGdiObjectGuard<HPEN> pen(CreatePen(PS_SOLID, FRAME_PEN_WIDTH, RGB(0, 0, 0)));
    SSelectGuard selectedPen(dc.Get(), pen.Get());
    SSelectGuard selectedBrush(dc.Get(), GetStockObject(NULL_BRUSH));
    const int mode = SetROP2(dc.Get(), R2_NOTXORPEN);
    for (const RECT& r : frames)
        Rectangle(dc.Get(), r.left, r.top, r.right, r.bottom);
    SetROP2(dc.Get(), mode);
}

bool SDialogCtrl::DragMove(int x, int y)
{
    _SCtrl* first = GetSelected(0);
    if (!m_handle || !first || first == m_dialog.get() || IsAnySelectedLocked())
        return false;
    int dx = 0, dy = 0;
    bool ctrl = m_keyboard.IsCtrlDown();
    std::vector<RECT> shown;
    const bool finished = RunDragLoop(
        [&](POINT at) {
            const bool nowCtrl = m_keyboard.IsCtrlDown();
            if (!shown.empty() && at.x - x == dx && at.y - y == dy && nowCtrl == ctrl)
                return;
            DrawXorFrames(shown);
            dx = at.x - x;
            dy = at.y - y;
            ctrl = nowCtrl;
            shown.clear();
            for (int i = 0; i < GetSelectedCount(); i++)
                shown.push_back(DesignToClient(GetMovedFrame(GetSelected(i)->GetRect(), dx, dy, ctrl)));
            DrawXorFrames(shown);
        },
        POINT{x, y});
    DrawXorFrames(shown);
    if (!finished)
        dx = dy = 0;
    if (MoveSelection(dx, dy, m_keyboard.IsCtrlDown()))
        return true;
    RedrawAll();
    return false;
}

bool SDialogCtrl::DragResize(int handle, int x, int y)
{
    _SCtrl* element = GetSelected(0);
    if (!m_handle || GetSelectedCount() != 1 || IsAnySelectedLocked() || handle < 0 || handle > 7)
        return false;
    SetCursor(GetHandleCursor(handle));
    const RECT start = element->GetRect();
    RECT frame = start;
    int dx = 0, dy = 0;
    std::vector<RECT> shown;
    const bool finished = RunDragLoop(
        [&](POINT at) {
            const RECT next = GetResizedFrame(start, handle, at.x - x, at.y - y, m_keyboard.IsCtrlDown());
            if (!shown.empty() && EqualRect(&next, &frame))
                return;
            DrawXorFrames(shown);
            dx = at.x - x;
            dy = at.y - y;
            frame = next;
            shown.assign(1, DesignToClient(frame));
            DrawXorFrames(shown);
        },
        POINT{x, y});
    DrawXorFrames(shown);
    SetCursor(nullptr);
    if (!finished || (dx == 0 && dy == 0))
    {
        RedrawAll();
        return false;
    }
    return ResizeElement(element, frame);
}

bool SDialogCtrl::DragRubberBand(int x, int y)
{
    if (!m_handle)
        return false;
    RECT band = {x, y, x, y};
    std::vector<RECT> shown;
    const bool finished = RunDragLoop(
        [&](POINT at) {
            const RECT next = {std::min<LONG>(x, at.x), std::min<LONG>(y, at.y), std::max<LONG>(x, at.x),
                               std::max<LONG>(y, at.y)};
            if (!shown.empty() && EqualRect(&next, &band))
                return;
            DrawXorFrames(shown);
            band = next;
            shown.assign(1, band);
            DrawXorFrames(shown);
        },
        POINT{x, y});
    DrawXorFrames(shown);
    if (!finished || IsRectEmpty(&band))
    {
        RedrawAll();
        return false;
    }
    return SelectInBand(band);
}
