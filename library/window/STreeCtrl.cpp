// STreeCtrl: items, walks, checks and the messages the tree handles itself.
#include "STreeCtrl.h"
#include "SControlNotify.h"
#include "SNativeCtrl.h"

namespace
{
LRESULT SendToParent(SWnd* parent, UINT message, SWnd* child, LPARAM lParam)
{
    return parent->SendMessage(message, reinterpret_cast<WPARAM>(child), lParam);
}

// A double click on the selected item's text: the window it opens keeps the focus.
void TreeDoubleClick(SWnd* parent, STreeCtrl* tree, HTREEITEM selected)
{
    SControlNotify::SendMouseNotify(parent, SWM_TREE_MOUSE, tree, SMouseNotify::LEFT | SMouseNotify::DOUBLE);
    const POINT point = SControlNotify::GetCursorInClient(tree);
    RECT text = {};
    if (!selected || !tree->TreeGetItemRect(selected, &text, true) || !PtInRect(&text, point))
        return;
    tree->SetFocusReturn(true);
    SendToParent(parent, SWM_TREE_DBLCLK, tree, reinterpret_cast<LPARAM>(selected));
}

bool TreeNotify(SWnd* parent, SWnd* child, NMHDR* header, LRESULT& result)
{
    STreeCtrl* tree = static_cast<STreeCtrl*>(child);
    HTREEITEM selected = tree->GetSelectedItem();
    switch (header->code)
    {
    case NM_CLICK:
        SControlNotify::SendMouseNotify(parent, SWM_TREE_MOUSE, tree, SMouseNotify::LEFT | SMouseNotify::CLICK);
        return true;
    case NM_DBLCLK:
        TreeDoubleClick(parent, tree, selected);
        return true;
    case NM_RCLICK:
        SControlNotify::SendMouseNotify(parent, SWM_TREE_MOUSE, tree, SMouseNotify::RIGHT | SMouseNotify::CLICK);
        return true;
    case NM_RDBLCLK:
        SControlNotify::SendMouseNotify(parent, SWM_TREE_MOUSE, tree, SMouseNotify::RIGHT | SMouseNotify::DOUBLE);
        return true;
    case TVN_SELCHANGEDA:
        SendToParent(parent, SWM_TREE_SELCHANGED, tree, reinterpret_cast<LPARAM>(selected));
        return true;
    case TVN_ITEMEXPANDEDA:
    {
        const TVITEMA& item = reinterpret_cast<NMTREEVIEWA*>(header)->itemNew;
        if (tree->IsFileSystemMode())
            tree->OnItemExpanding(item.hItem, (item.state & TVIS_EXPANDED) != 0);
        SendToParent(parent, SWM_TREE_EXPANDED, tree, reinterpret_cast<LPARAM>(item.hItem));
        return true;
    }
    case TVN_BEGINLABELEDITA:
        if (SendToParent(parent, SWM_TREE_BEGINEDIT, tree,
                         reinterpret_cast<LPARAM>(&reinterpret_cast<NMTVDISPINFOA*>(header)->item)) == 0)
            return true;
        result = 1;
        return false;
    case TVN_ENDLABELEDITA:
        if (SendToParent(parent, SWM_TREE_ENDEDIT, tree,
                         reinterpret_cast<LPARAM>(&reinterpret_cast<NMTVDISPINFOA*>(header)->item)) != 0)
            return true;
        result = 1;
        return false;
    default:
        return true;
    }
}
} // namespace

STreeCtrl::STreeCtrl()
    : m_focusReturn(false), m_rightClickSelects(true), m_checkPropagation(true), m_fileSystem(false),
      m_showFiles(true), m_fileFilter("*.*"), m_rootFolder("")
{
    SetTypeId(STYPE_TREE);
    // Registered by every tree, so a translation replaced meanwhile comes back.
    SControlNotify::Register(STYPE_TREE, nullptr, TreeNotify);
}

STreeCtrl::~STreeCtrl() = default;

bool STreeCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                       LPARAM param)
{
    return SNativeCtrl::Create(this, WC_TREEVIEWA, "", style, 0, exStyle, rect, parent, id, param);
}

HTREEITEM STreeCtrl::InsertItem(const char* text, int image, int selectedImage, HTREEITEM parent,
                                HTREEITEM after, LPARAM data) const
{
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | (image != -1 ? TVIF_IMAGE : 0) |
                       (selectedImage != -1 ? TVIF_SELECTEDIMAGE : 0);
    insert.item.pszText = const_cast<char*>(text ? text : "");
    insert.item.iImage = image;
    insert.item.iSelectedImage = selectedImage;
    insert.item.lParam = data;
    return TreeInsertItem(&insert);
}

bool STreeCtrl::DeleteItem(HTREEITEM item) const
{
    return SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

// The tree copies what fits and says nothing of the rest: a text that fills the
// buffer may be longer, so the buffer grows until the text fits.
SString STreeCtrl::GetItemText(HTREEITEM item) const
{
    SString text;
    for (int size = 512; size <= (1 << 24); size *= 4)
    {
        text.Reserve(size, false);
        TVITEMA record = {};
        record.mask = TVIF_TEXT;
        record.hItem = item;
        record.pszText = text.GetBuffer();
        record.cchTextMax = size;
        record.pszText[0] = 0;
        if (!item || !SendMessage(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&record)))
            return SString("");
        const int length = static_cast<int>(strnlen(record.pszText, size));
        if (length < size - 1)
        {
            // The tree may answer with its own buffer instead of copying.
            SString whole(record.pszText);
            return whole;
        }
    }
    return SString("");
}

HTREEITEM STreeCtrl::GetNextItem(HTREEITEM item, UINT relation) const
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM STreeCtrl::GetChild(HTREEITEM item) const
{
    if (!item || item == TVI_ROOT)
        return GetNextItem(nullptr, TVGN_ROOT);
    return GetNextItem(item, TVGN_CHILD);
}

HTREEITEM STreeCtrl::GetNextSibling(HTREEITEM item) const
{
    return item && item != TVI_ROOT ? GetNextItem(item, TVGN_NEXT) : nullptr;
}

HTREEITEM STreeCtrl::GetParentItem(HTREEITEM item) const
{
    return item && item != TVI_ROOT ? GetNextItem(item, TVGN_PARENT) : nullptr;
}

HTREEITEM STreeCtrl::GetFirstSibling(HTREEITEM item) const
{
    if (!item || item == TVI_ROOT)
        return GetChild(TVI_ROOT);
    return GetChild(GetParentItem(item));
}

HTREEITEM STreeCtrl::GetNextInOrder(HTREEITEM item, int* depth) const
{
    if (HTREEITEM child = GetChild(item))
    {
        if (depth)
            ++*depth;
        return child;
    }
    for (HTREEITEM current = item; current && current != TVI_ROOT; current = GetParentItem(current))
    {
        if (HTREEITEM next = GetNextSibling(current))
            return next;
        if (depth)
            --*depth;
    }
    return nullptr;
}

int STreeCtrl::GetDepth(HTREEITEM item) const
{
    if (!item || item == TVI_ROOT)
        return -1;
    int depth = 0;
    for (HTREEITEM parent = GetParentItem(item); parent; parent = GetParentItem(parent))
        depth++;
    return depth;
}

int STreeCtrl::GetDescendants(SArray<HTREEITEM>* out, HTREEITEM item) const
{
    int count = 0;
    for (HTREEITEM child = GetChild(item); child; child = GetNextSibling(child))
    {
        if (out)
            out->Add(child);
        count += 1 + GetDescendants(out, child);
    }
    return count;
}

bool STreeCtrl::SelectItem(HTREEITEM item) const
{
    return SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item)) != 0;
}

HTREEITEM STreeCtrl::HitTest(int x, int y, UINT* flags) const
{
    TVHITTESTINFO info = {};
    info.pt.x = x;
    info.pt.y = y;
    HTREEITEM item = TreeHitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}

bool STreeCtrl::IsChecked(HTREEITEM item) const
{
    const UINT state = static_cast<UINT>(
        SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_STATEIMAGEMASK));
    return (state & TVIS_STATEIMAGEMASK) == INDEXTOSTATEIMAGEMASK(2);
}

bool STreeCtrl::SetCheck(HTREEITEM item, bool checked) const
{
    TVITEMA record = {};
    record.mask = TVIF_STATE;
    record.hItem = item;
    record.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
    record.stateMask = TVIS_STATEIMAGEMASK;
    return SendMessage(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&record)) != 0;
}

void STreeCtrl::SetSubtreeCheck(HTREEITEM item, bool checked) const
{
    SArray<HTREEITEM> descendants;
    GetDescendants(&descendants, item);
    for (int i = 0; i < descendants.GetCount(); i++)
        SetCheck(descendants.GetAt(i), checked);
}

bool STreeCtrl::HasCheckedSibling(HTREEITEM item) const
{
    for (HTREEITEM sibling = GetFirstSibling(item); sibling; sibling = GetNextSibling(sibling))
        if (sibling != item && IsChecked(sibling))
            return true;
    return false;
}

void STreeCtrl::UncheckEmptyAncestors(HTREEITEM item) const
{
    for (HTREEITEM current = item; current; current = GetParentItem(current))
    {
        HTREEITEM parent = GetParentItem(current);
        if (!parent || HasCheckedSibling(current))
            return;
        SetCheck(parent, false);
    }
}

void STreeCtrl::OnItemCheckChanged(HTREEITEM item, bool checked)
{
    if (!m_checkPropagation)
        return;
    SetSubtreeCheck(item, checked);
    if (!checked)
    {
        UncheckEmptyAncestors(item);
        return;
    }
    for (HTREEITEM parent = GetParentItem(item); parent; parent = GetParentItem(parent))
        if (!IsChecked(parent))
            SetCheck(parent, true);
}

COLORREF STreeCtrl::GetBackgroundColor()
{
    return static_cast<COLORREF>(SendMessage(TVM_GETBKCOLOR));
}

void STreeCtrl::SetBackgroundColor(COLORREF color)
{
    SendMessage(TVM_SETBKCOLOR, 0, static_cast<LPARAM>(color));
}

LRESULT STreeCtrl::OnLeftButtonDown(WPARAM wParam, LPARAM lParam)
{
    m_focusReturn = false;
    UINT flags = 0;
    HTREEITEM item = HitTest(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)), &flags);
    if (!(GetStyle() & TVS_CHECKBOXES) || !item || !(flags & TVHT_ONITEMSTATEICON))
        return SNativeCtrl::RelayAndHandle(this, SWM_TREE_MOUSE, WM_LBUTTONDOWN, wParam, lParam);
    const bool before = IsChecked(item);
    const LRESULT answer = SWnd::WindowProc(WM_LBUTTONDOWN, wParam, lParam);
    const bool after = IsChecked(item);
    if (after != before)
    {
        OnItemCheckChanged(item, after);
        SendMessageToParent(SWM_TREE_CHECKED, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(item));
    }
    return answer;
}

LRESULT STreeCtrl::OnRightButtonDown(WPARAM wParam, LPARAM lParam)
{
    m_focusReturn = false;
    if (m_rightClickSelects)
    {
        HTREEITEM item = HitTest(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        if (item && item != GetSelectedItem())
            SelectItem(item);
    }
    return SNativeCtrl::RelayAndHandle(this, SWM_TREE_MOUSE, WM_RBUTTONDOWN, wParam, lParam);
}

LRESULT STreeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        m_focusReturn = false;
        break;
    case WM_SETFOCUS:
        if (!m_focusReturn)
            break;
        // A window opened by a double click keeps the focus.
        m_focusReturn = false;
        if (wParam && IsWindow(reinterpret_cast<HWND>(wParam)))
            ::SetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KEYDOWN:
        SendMessageToParent(SWM_TREE_KEYDOWN, reinterpret_cast<WPARAM>(this), static_cast<LPARAM>(wParam));
        break;
    case WM_LBUTTONDOWN:
        return OnLeftButtonDown(wParam, lParam);
    case WM_RBUTTONDOWN:
        return OnRightButtonDown(wParam, lParam);
    default:
        break;
    }
    return SNativeCtrl::RelayAndHandle(this, SWM_TREE_MOUSE, message, wParam, lParam);
}
