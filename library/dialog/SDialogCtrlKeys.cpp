#include "SDialogCtrl.h"
#include <algorithm>
#include <climits>

namespace
{
const int MINIMUM_SIZE = 10;

// A field a key changes stays in its 16 bits instead of wrapping to the other end.
short Clamp16(int value)
{
    return static_cast<short>(std::max(SHRT_MIN, std::min(SHRT_MAX, value)));
}

// One step smaller, as dragging does it: never below the minimum, and a side
// already at or under it stays as it is.
int Shrink(int size, int step)
{
    return size > MINIMUM_SIZE ? std::max(size - step, MINIMUM_SIZE) : size;
}
} // namespace

int SDialogCtrl::RoundToStep(int value, int step)
{
    return step > 0 ? value - value % step : value;
}

bool SDialogCtrl::OnKeyDown(UINT key, bool shift, bool ctrl)
{
    if (!m_open)
        return false;
    switch (key)
    {
    case VK_TAB:
        return SelectNextByTab();
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        return shift ? ResizeByKey(key, ctrl) : MoveByKey(key, ctrl);
    default:
        return false;
    }
}

bool SDialogCtrl::SelectNextByTab()
{
    const int count = GetElementCount();
    if (GetSelectedCount() != 1 || count < 2)
        return false;
    _SCtrl* current = GetSelected(0);
    const int at = FindElement(current);
    for (int step = 1; step <= count; step++)
    {
        _SCtrl* next = GetElement((at + step + count) % count);
        if (next == current || IsElementHidden(next))
            continue;
        ClearSelection();
        Select(next);
        RedrawAll();
        OnSelectionChanged(current, next);
        return true;
    }
    return false;
}

bool SDialogCtrl::MoveByKey(UINT key, bool ctrl)
{
    _SCtrl* first = GetSelected(0);
    if (!first || first == m_dialog.get() || IsAnySelectedLocked())
        return false;
    TakeUndoSnapshot();
    const int dx = key == VK_LEFT ? -GetGridStepX(ctrl) : (key == VK_RIGHT ? GetGridStepX(ctrl) : 0);
    const int dy = key == VK_UP ? -GetGridStepY(ctrl) : (key == VK_DOWN ? GetGridStepY(ctrl) : 0);
    for (int i = 0; i < GetSelectedCount(); i++)
    {
        _SCtrl* e = GetSelected(i);
        e->SetPosition(Clamp16(e->GetX() + dx), Clamp16(e->GetY() + dy), e->GetWidth(), e->GetHeight());
    }
    RedrawAll();
    NotifyChanged(0);
    SetPaneText("$POSITION", "X", first->GetX());
    SetPaneText("$POSITION", "Y", first->GetY());
    return true;
}

bool SDialogCtrl::ResizeByKey(UINT key, bool ctrl)
{
    _SCtrl* e = GetSelected(0);
    if (GetSelectedCount() != 1 || e->IsLocked())
        return false;
    TakeUndoSnapshot();
    int width = e->GetWidth();
    int height = e->GetHeight();
    if (key == VK_UP)
        height = Shrink(height, GetGridStepY(ctrl));
    else if (key == VK_DOWN)
        height = Clamp16(height + GetGridStepY(ctrl));
    else if (key == VK_LEFT)
        width = Shrink(width, GetGridStepX(ctrl));
    else if (key == VK_RIGHT)
        width = Clamp16(width + GetGridStepX(ctrl));
    e->SetPosition(e->GetX(), e->GetY(), static_cast<short>(width), static_cast<short>(height));
    if (SWnd* live = e->GetLiveControl())
        live->MoveWindow(0, 0, width, height, true);
    RedrawAll();
    NotifyChanged(0);
    SetPaneText("$POSITION", "WIDTH", width);
    SetPaneText("$POSITION", "HEIGHT", height);
    return true;
}
