#include "SDialogCtrl.h"
#include <algorithm>
#include <cstring>
#include "SClipboard.h"
#include "SMemory.h"

bool SDialogCtrl::ApplyLayoutCommand(int index)
{
    _SCtrl* first = GetSelected(0);
    if (!first || first == m_dialog.get())
        return false;
    // Taken before the test: a command that then does nothing still leaves it.
    TakeUndoSnapshot();
    const RECT reference = first->GetRect();
    const RECT bounds = GetSelectionBounds();
    const int dialogWidth = m_dialog ? m_dialog->GetWidth() : 0;
    const int dialogHeight = m_dialog ? m_dialog->GetHeight() : 0;
    const int dx = dialogWidth / 2 - (bounds.left + bounds.right) / 2;
    const int dy = dialogHeight / 2 - (bounds.top + bounds.bottom) / 2;
    if (index == LAYOUT_HSPACE || index == LAYOUT_VSPACE || index == LAYOUT_NOHSPACE || index == LAYOUT_NOVSPACE)
        SpaceSelection(index == LAYOUT_VSPACE || index == LAYOUT_NOVSPACE, index <= LAYOUT_VSPACE);
    for (int i = 0; i < GetSelectedCount() && index <= LAYOUT_SIZE; i++)
    {
        _SCtrl* e = GetSelected(i);
        short x = e->GetX(), y = e->GetY(), width = e->GetWidth(), height = e->GetHeight();
        switch (index)
        {
        case LAYOUT_LEFT: x = static_cast<short>(reference.left); break;
        case LAYOUT_RIGHT: x = static_cast<short>(reference.right - width); break;
        case LAYOUT_TOP: y = static_cast<short>(reference.top); break;
        case LAYOUT_BOTTOM: y = static_cast<short>(reference.bottom - height); break;
        case LAYOUT_HCENTER: x = static_cast<short>(x + dx); break;
        case LAYOUT_VCENTER: y = static_cast<short>(y + dy); break;
        case LAYOUT_WIDTH: width = first->GetWidth(); break;
        case LAYOUT_HEIGHT: height = first->GetHeight(); break;
        case LAYOUT_SIZE:
            width = first->GetWidth();
            height = first->GetHeight();
            break;
        default: continue;
        }
        e->SetPosition(x, y, width, height);
        if (index >= LAYOUT_WIDTH && e != first)
            RemakeLiveControl(e);
    }
    NotifyChanged(0);
    FillProperties(first);
    return true;
}

void SDialogCtrl::SpaceSelection(bool vertical, bool keepGap)
{
    const int count = GetSelectedCount();
    if (count < (keepGap ? 3 : 2))
        return;
    std::vector<_SCtrl*> sorted;
    for (int i = 0; i < count; i++)
        sorted.push_back(GetSelected(i));
    const auto start = [vertical](const _SCtrl* e) { return vertical ? e->GetY() : e->GetX(); };
    const auto end = [vertical](const _SCtrl* e) { return vertical ? e->GetRect().bottom : e->GetRect().right; };
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&start](const _SCtrl* a, const _SCtrl* b) { return start(a) < start(b); });
    const int gap = keepGap ? start(sorted[1]) - end(sorted[0]) : 0;
    for (size_t i = 1; i < sorted.size(); i++)
    {
        _SCtrl* e = sorted[i];
        const short at = static_cast<short>(end(sorted[i - 1]) + gap);
        e->SetPosition(vertical ? e->GetX() : at, vertical ? at : e->GetY(), e->GetWidth(), e->GetHeight());
    }
}

bool SDialogCtrl::ApplyOrderCommand(int index)
{
    _SCtrl* first = GetSelected(0);
    if (!first || first == m_dialog.get())
        return false;
    TakeUndoSnapshot();
    const int at = FindElement(first);
    if (index == ORDER_BACKWARD || index == ORDER_FORWARD)
    {
        const int other = index == ORDER_BACKWARD ? at - 1 : at + 1;
        if (GetSelectedCount() == 1 && at >= 0 && other >= 0 && other < GetElementCount())
            m_elements.Swap(at, other);
    }
    else if (index == ORDER_FRONT || index == ORDER_BACK)
    {
        SArray<_SCtrl*> selected, others;
        for (int i = 0; i < GetElementCount(); i++)
            (IsSelected(GetElement(i)) ? selected : others).Add(GetElement(i));
        SArray<_SCtrl*>& head = index == ORDER_BACK ? selected : others;
        SArray<_SCtrl*>& tail = index == ORDER_BACK ? others : selected;
        m_elements.RemoveAll();
        m_elements.Append(&head);
        m_elements.Append(&tail);
    }
    NotifyChanged(0);
    return true;
}

bool SDialogCtrl::Undo()
{
    if (!m_undoEnabled || m_undo.GetCount() == 0)
        return false;
    ClearSelection();
    m_elements.DeleteAndRemoveAll();
    std::unique_ptr<_SUndo> snapshot(m_undo.GetLast());
    m_undo.RemoveLast();
    if (snapshot->dialog)
        SetDialogDescription(snapshot->dialog.get());
    for (int i = 0; i < snapshot->elements.GetCount(); i++)
    {
        const _SCtrl* copy = snapshot->elements.GetAt(i);
        _SCtrl* added = AddElement(copy, false, true, true);
        for (int k = 0; added && k < snapshot->selected.GetCount(); k++)
        {
            if (snapshot->selected.GetAt(k)->GetIdValue() == added->GetIdValue())
                Select(added);
        }
    }
    OnSelectionChanged(nullptr, GetSelected(0));
    return true;
}

void SDialogCtrl::OnUndo()
{
    if (!Undo())
        return;
    NotifyChanged(0);
    RedrawAll();
}

void SDialogCtrl::OnSelectAll()
{
    _SCtrl* previous = GetSelected(0);
    ClearSelection();
    for (int i = 0; i < GetElementCount(); i++)
    {
        if (!IsElementHidden(GetElement(i)))
            Select(GetElement(i));
    }
    RedrawAll();
    if (GetSelected(0) != previous)
        OnSelectionChanged(previous, GetSelected(0));
}

bool SDialogCtrl::PasteFromStream(SVirtualFile* block)
{
    if (!block)
        return false;
    // The header with its zero byte, exactly.
    const int start = block->GetPosition();
    const char zero = 0;
    const int end = block->Find(&zero, 1);
    block->Seek(start);
    if (end < start || block->ReadText(end - start) != DIALOG_HEADER)
        return false;
    block->Seek(end + 1);
    // Kept only when something is added.
    std::unique_ptr<_SUndo> snapshot = MakeUndoSnapshot();
    std::vector<_SCtrl*> pasted;
    bool complete = true;
    while (!block->IsEnd())
    {
        _SCtrl record;
        if (record.ReadRecord(block) == 0)
        {
            // Cut short: what was added before stays, unselected.
            complete = false;
            break;
        }
        // A record from outside: only the control types are taken.
        if (record.GetType() < 1 || record.GetType() >= DIALOG_TYPE_COUNT)
            continue;
        if (_SCtrl* added = AddElement(&record, false, true, false))
            pasted.push_back(added);
    }
    if (pasted.empty())
        return false;
    PushUndoSnapshot(std::move(snapshot));
    if (!complete)
        return false;
    _SCtrl* previous = GetSelected(0);
    ClearSelection();
    for (_SCtrl* element : pasted)
        Select(element);
    OnSelectionChanged(previous, GetSelected(0));
    return true;
}

bool SDialogCtrl::PasteFromClipboard()
{
    SMemory block;
    SClipboard clipboard;
    if (clipboard.GetData(&block) <= 0)
        return false;
    block.SeekToStart();
    return PasteFromStream(&block);
}

void SDialogCtrl::OnPaste()
{
    // A paste cut short fails but keeps what it added: that is a change too.
    const int before = GetElementCount();
    if (!PasteFromClipboard() && GetElementCount() == before)
        return;
    NotifyChanged(0);
    RedrawAll();
}
