#include "SExListCtrl.h"
#include "SNativeCtrl.h"

SExListCtrl::SExListCtrl()
{
    SetTypeId(STYPE_EXLIST);
}

SExListCtrl::~SExListCtrl() = default;

bool SExListCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                         LPARAM param)
{
    return SNativeCtrl::Create(this, WC_LISTVIEWA, "", style, LVS_SHAREIMAGELISTS, exStyle, rect, parent,
                               id, param);
}

DWORD SExListCtrl::SetExtendedStyle(DWORD styles) const
{
    return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(styles)));
}

HIMAGELIST SExListCtrl::SetImageList(HIMAGELIST list, bool small) const
{
    return reinterpret_cast<HIMAGELIST>(
        SendMessage(LVM_SETIMAGELIST, small ? LVSIL_SMALL : LVSIL_NORMAL, reinterpret_cast<LPARAM>(list)));
}

int SExListCtrl::GetColumnCount() const
{
    if ((GetStyle() & LVS_TYPEMASK) != LVS_REPORT)
        return 0;
    HWND header = ListViewGetHeader();
    return header ? static_cast<int>(SendMessageTo(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

int SExListCtrl::InsertColumn(const char* text, int width, int index, int format) const
{
    const int count = GetColumnCount();
    if (index < 0 || index > count)
        index = count;
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(text ? text : "");
    return static_cast<int>(
        SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

bool SExListCtrl::SetColumnWidth(int column, int width) const
{
    return SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)) != 0;
}

int SExListCtrl::GetItemCount() const
{
    return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

int SExListCtrl::InsertItem(const char* text, int index, int image) const
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
    item.iItem = index == -1 ? GetItemCount() : index;
    item.pszText = const_cast<char*>(text ? text : "");
    item.iImage = image;
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool SExListCtrl::SetItem(LVITEMA* item) const
{
    return SendMessage(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(item)) != 0;
}

bool SExListCtrl::SetItemText(int item, const char* text, int subItem) const
{
    LVITEMA record = {};
    record.mask = LVIF_TEXT;
    record.iSubItem = subItem;
    record.pszText = const_cast<char*>(text ? text : "");
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record)) != 0;
}

bool SExListCtrl::SetItemImage(int item, int image) const
{
    LVITEMA record = {};
    record.mask = LVIF_IMAGE;
    record.iItem = item;
    record.iImage = image;
    return SetItem(&record);
}

// The list view answers with the length it copied: a text that fills the buffer
// may be longer, so the buffer grows until the text fits.
SString SExListCtrl::GetItemText(int item, int subItem) const
{
    SString text;
    for (int size = 512; size <= (1 << 24); size *= 4)
    {
        text.Reserve(size, false);
        LVITEMA record = {};
        record.iSubItem = subItem;
        record.pszText = text.GetBuffer();
        record.cchTextMax = size;
        const LRESULT length =
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&record));
        if (length <= 0)
            return SString("");
        if (length < size - 1)
        {
            text.Truncate(static_cast<int>(length));
            return text;
        }
    }
    return SString("");
}

bool SExListCtrl::DeleteItem(int item) const
{
    return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0;
}

// Stops at the first deletion the list refuses: the same item would be tried forever.
int SExListCtrl::DeleteSelectedItems(bool reselect) const
{
    const int first = GetFirstSelected();
    int deleted = 0;
    for (int item = first; item != -1; item = GetFirstSelected())
    {
        if (!DeleteItem(item))
            break;
        deleted++;
    }
    if (deleted > 0 && reselect)
        SetSelection(first);
    return deleted;
}

int SExListCtrl::GetNextItem(int start, int flags) const
{
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

int SExListCtrl::GetFirstSelected() const
{
    return GetNextItem(-1, LVNI_SELECTED);
}

int SExListCtrl::GetSelectedCount() const
{
    return ListViewGetSelectedCount();
}

int SExListCtrl::GetSelectedItems(SArray<int>* out) const
{
    if (!out)
        return GetSelectedCount();
    int added = 0;
    for (int item = GetFirstSelected(); item != -1; item = GetNextItem(item, LVNI_SELECTED))
    {
        out->Add(item);
        added++;
    }
    return added;
}

void SExListCtrl::SetSelection(int item) const
{
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (item < 0 || item >= GetItemCount())
        return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&state));
}

bool SExListCtrl::EnsureVisible(int item, bool partialOk) const
{
    return SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOk) != 0;
}

int SExListCtrl::HitTest(int x, int y, UINT* flags) const
{
    LVHITTESTINFO info = {};
    info.pt.x = x;
    info.pt.y = y;
    const int item = static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
    if (flags)
        *flags = info.flags;
    return item;
}

COLORREF SExListCtrl::GetBackgroundColor()
{
    return static_cast<COLORREF>(SendMessage(LVM_GETBKCOLOR));
}

void SExListCtrl::SetBackgroundColor(COLORREF color)
{
    SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(color));
    SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(color));
}

LRESULT SExListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN)
        SMouseNotify::RelayToParent(this, SWM_EXLIST_MOUSE, message, lParam);
    return SWnd::WindowProc(message, wParam, lParam);
}
