// Window families: children, siblings, top-level windows, popup ancestors and
// the Tab order among siblings.
#include "SGlobals.h"
#include "SGuards.h"
#include "SWnd.h"

namespace
{
bool HasPopupStyle(HWND handle)
{
    return (GetWindowLongA(handle, GWL_STYLE) & WS_POPUP) != 0;
}

bool IsUsable(const SWnd* window)
{
    return window->IsVisible() && window->IsEnabled();
}

} // namespace

void SWnd::SnapshotByParent(HWND parent, const SWnd* skip, bool popupsOnly, SArray<SWnd*>& out)
{
    SLockGuard lock(GetWindowRegistryLock());
    const SArray<SWnd*>& registry = GetWindowRegistry();
    for (int i = 0; i < registry.GetCount(); i++)
    {
        SWnd* window = registry.GetAt(i);
        const HWND handle = window->m_registeredHandle;
        if (window != skip && handle && ::GetParent(handle) == parent && (!popupsOnly || HasPopupStyle(handle)))
            out.Add(window);
    }
}

int SWnd::CollectChildren(SArray<SWnd*>* out, const SArray<SWnd*>* exclude, bool recursive,
                          int typeId)
{
    if (!out || !m_handle)
        return 0;
    // The direct children belong to this thread, so they stay alive while the rest of
    // the walk runs without the lock.
    SArray<SWnd*> direct;
    SnapshotByParent(m_handle, this, false, direct);
    int added = 0;
    for (int i = 0; i < direct.GetCount(); i++)
    {
        SWnd* child = direct.GetAt(i);
        if (exclude && exclude->Find(child) >= 0)
            continue;
        if (typeId < 0 || child->m_typeId == typeId)
        {
            out->Add(child);
            added++;
        }
        if (recursive)
            added += child->CollectChildren(out, exclude, true, typeId);
    }
    return added;
}

int SWnd::CollectSiblings(SArray<SWnd*>* out, const SArray<SWnd*>* exclude, int typeId) const
{
    if (!out || !m_handle)
        return 0;
    SArray<SWnd*> found;
    SnapshotByParent(::GetParent(m_handle), this, false, found);
    int added = 0;
    for (int i = 0; i < found.GetCount(); i++)
    {
        SWnd* sibling = found.GetAt(i);
        if ((exclude && exclude->Find(sibling) >= 0) || (typeId >= 0 && sibling->GetType() != typeId))
            continue;
        out->Add(sibling);
        added++;
    }
    return added;
}

int SWnd::CollectTopLevelWindows(SArray<SWnd*>* out)
{
    if (!out)
        return 0;
    const int before = out->GetCount();
    SnapshotByParent(nullptr, nullptr, true, *out);
    return out->GetCount() - before;
}

int SWnd::CollectChildHandles(HWND parent, SArray<HWND__*>* out, const SArray<HWND__*>* exclude,
                              bool recursive)
{
    if (!out)
        return 0;
    int added = 0;
    for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT))
    {
        if (exclude && exclude->Find(child) >= 0)
            continue;
        out->Add(child);
        added++;
        if (recursive)
            added += CollectChildHandles(child, out, exclude, true);
    }
    return added;
}

HWND SWnd::GetPopupAncestor(bool fromPopup) const
{
    if (!m_handle || (!fromPopup && HasPopupStyle(m_handle)))
        return nullptr;
    for (HWND window = ::GetParent(m_handle); window; window = ::GetParent(window))
    {
        if (HasPopupStyle(window))
            return window;
    }
    return nullptr;
}

HWND SWnd::GetOutermostPopupAncestor(bool outermost) const
{
    if (!outermost)
        return GetPopupAncestor(false);
    HWND last = nullptr;
    for (HWND window = m_handle; window; window = ::GetParent(window))
    {
        if (HasPopupStyle(window))
            last = window;
    }
    return last;
}

// Tab moves through the visible, enabled members of one tab group in creation
// order and wraps from the last to the first.
SWnd* SWnd::GetNextTabWindow() const
{
    SWnd* self = const_cast<SWnd*>(this);
    if (m_tabGroup == -1)
        return self;
    SArray<SWnd*> siblings;
    if (CollectSiblings(&siblings, nullptr, -1) == 0)
        return self;
    SWnd* next = nullptr;
    for (int i = 0; i < siblings.GetCount(); i++)
    {
        SWnd* sibling = siblings.GetAt(i);
        const int sequence = sibling->m_creationSequence;
        if (sibling->m_tabGroup != m_tabGroup || sequence < m_creationSequence)
            continue;
        if (sequence == m_creationSequence)
            return sibling;
        if (IsUsable(sibling) && (!next || sequence < next->m_creationSequence))
            next = sibling;
    }
    if (next)
        return next;
    for (int i = 0; i < siblings.GetCount(); i++)
    {
        SWnd* sibling = siblings.GetAt(i);
        if (sibling->m_tabGroup == m_tabGroup && sibling->m_creationSequence < m_creationSequence &&
            IsUsable(sibling) && (!next || sibling->m_creationSequence < next->m_creationSequence))
            next = sibling;
    }
    return next ? next : self;
}
