// SListCtrl: creation, item records, selection and position.
#include "SListCtrl.h"
#include <commctrl.h>
#include "SItemRecords.h"
#include "SNativeCtrl.h"

namespace
{
bool MeasureRecord(void* record, MEASUREITEMSTRUCT* measure)
{
    SListCtrl* owner = static_cast<SListCtrl::_SItem*>(record)->owner;
    if (!owner)
        return false;
    measure->itemHeight = static_cast<UINT>(owner->GetItemHeight());
    return true;
}

bool DrawRecord(void*, SWnd* window, DRAWITEMSTRUCT* draw)
{
    return static_cast<SListCtrl*>(window)->DrawItem(draw);
}
} // namespace

SListCtrl::SListCtrl()
    : m_textColor(GetSysColor(COLOR_WINDOWTEXT)), m_selectedBackground(GetSysColor(COLOR_HIGHLIGHT)),
      m_selectedText(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_images(nullptr), m_secondImages(nullptr),
      m_imageWidth(0), m_imageHeight(0), m_secondImageWidth(0), m_secondImageHeight(0)
{
    SetTypeId(STYPE_LIST);
    // Set by every list, so handlers replaced meanwhile come back.
    SItemRecords::SetHandlers(ODT_LISTBOX, MeasureRecord, DrawRecord);
}

SListCtrl::~SListCtrl()
{
    RemoveAll();
}

bool SListCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                       LPARAM param)
{
    const DWORD requested = style;
    style &= ~(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_SORT);
    if (!SNativeCtrl::Create(this, "LISTBOX", "", style, LBS_OWNERDRAWVARIABLE, exStyle, rect, parent,
                             id, param))
        return false;
    // The list box drops its scroll-bar styles while it is created.
    if (requested & WS_HSCROLL)
        SetStyle(GetStyle() | WS_HSCROLL);
    if (requested & WS_VSCROLL)
        SetStyle(GetStyle() | WS_VSCROLL);
    return true;
}

int SListCtrl::AddItem(const char* text, int index, int image, int secondImage)
{
    if (!m_handle)
        return -1;
    _SItem* record = new _SItem;
    record->text = text ? text : "";
    record->image = image;
    record->secondImage = secondImage;
    record->owner = this;
    // Registered first: the list measures the item while it inserts it.
    SItemRecords::Add(ODT_LISTBOX, record);
    const LRESULT answer = index >= 0
        ? SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(record))
        : SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(record));
    if (answer < 0)
    {
        FreeRecord(record);
        return -1;
    }
    return static_cast<int>(answer);
}

bool SListCtrl::DeleteItem(int index)
{
    _SItem* record = GetItemRecord(index);
    if (!record)
        return false;
    SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index));
    FreeRecord(record);
    return true;
}

void SListCtrl::RemoveAll()
{
    const int count = GetCount();
    if (count == 0)
        return;
    // The items go before their records, so nothing is drawn from a freed record.
    SArray<_SItem*> records;
    for (int i = 0; i < count; i++)
        records.Add(GetItemRecord(i));
    SendMessage(LB_RESETCONTENT);
    for (int i = 0; i < records.GetCount(); i++)
        FreeRecord(records.GetAt(i));
}

void SListCtrl::FreeRecord(_SItem* record)
{
    if (!record)
        return;
    SItemRecords::Remove(ODT_LISTBOX, record);
    delete record;
}

int SListCtrl::GetCount() const
{
    if (!m_handle)
        return 0;
    const LRESULT n = SendMessage(LB_GETCOUNT);
    return n < 0 ? 0 : static_cast<int>(n);
}

bool SListCtrl::IsValidIndex(int index) const
{
    return index >= 0 && index < GetCount();
}

SListCtrl::_SItem* SListCtrl::GetItemRecord(int index) const
{
    if (!IsValidIndex(index))
        return nullptr;
    const LRESULT data = SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index));
    _SItem* record = reinterpret_cast<_SItem*>(data);
    return data != LB_ERR && SItemRecords::Contains(ODT_LISTBOX, record) ? record : nullptr;
}

SString SListCtrl::GetItemText(int index) const
{
    const _SItem* record = GetItemRecord(index);
    return record ? record->text : SString("");
}

bool SListCtrl::SetItemText(int index, const char* text)
{
    _SItem* record = GetItemRecord(index);
    if (!record)
        return false;
    record->text = text ? text : "";
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return true;
}

LPARAM SListCtrl::GetItemData(int index) const
{
    const _SItem* record = GetItemRecord(index);
    return record ? record->data : 0;
}

bool SListCtrl::SetItemData(int index, LPARAM value)
{
    _SItem* record = GetItemRecord(index);
    if (record)
        record->data = value;
    return record != nullptr;
}

int SListCtrl::GetItemSecondImage(int index) const
{
    const _SItem* record = GetItemRecord(index);
    return record ? record->secondImage : -1;
}

bool SListCtrl::SetItemSecondImage(int index, int image)
{
    _SItem* record = GetItemRecord(index);
    if (record)
        record->secondImage = image;
    return record != nullptr;
}

// A list box with extended selection refuses LB_SETCURSEL: it is driven by the
// multiple-selection messages too.
bool SListCtrl::UsesSingleSelection() const
{
    return !(GetStyle() & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
}

int SListCtrl::GetSelection() const
{
    if (!m_handle)
        return -1;
    if (UsesSingleSelection())
    {
        const LRESULT i = SendMessage(LB_GETCURSEL);
        return i < 0 ? -1 : static_cast<int>(i);
    }
    int first = -1;
    return SendMessage(LB_GETSELITEMS, 1, reinterpret_cast<LPARAM>(&first)) > 0 ? first : -1;
}

void SListCtrl::SetSelection(int index)
{
    if (!m_handle)
        return;
    if (UsesSingleSelection())
    {
        SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index));
        return;
    }
    SendMessage(LB_SETSEL, FALSE, -1);
    if (index != -1)
        SendMessage(LB_SETSEL, TRUE, index);
}

int SListCtrl::GetSelectedCount() const
{
    if (!m_handle)
        return 0;
    if (UsesSingleSelection())
        return GetSelection() != -1 ? 1 : 0;
    const LRESULT n = SendMessage(LB_GETSELCOUNT);
    return n < 0 ? 0 : static_cast<int>(n);
}

int SListCtrl::GetSelectedItems(SArray<int>* out) const
{
    if (UsesSingleSelection())
    {
        const int selection = GetSelection();
        if (selection == -1)
            return 0;
        if (out)
            out->Add(selection);
        return 1;
    }
    const int count = GetSelectedCount();
    if (!out || count == 0)
        return count;
    SArray<int> indexes;
    indexes.SetCount(count);
    const LRESULT got = SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(count),
                                    reinterpret_cast<LPARAM>(indexes.GetPtr(0)));
    const int n = got < 0 ? 0 : static_cast<int>(got);
    for (int i = 0; i < n; i++)
        out->Add(indexes.GetAt(i));
    return n;
}

bool SListCtrl::IsItemSelected(int index) const
{
    if (index < 0 || !m_handle)
        return false;
    if (UsesSingleSelection())
        return GetSelection() == index;
    return SendMessage(LB_GETSEL, static_cast<WPARAM>(index)) > 0;
}

void SListCtrl::SetItemSelected(int index, bool on)
{
    if (!IsValidIndex(index))
        return;
    if (UsesSingleSelection())
        SendMessage(LB_SETCURSEL, on ? static_cast<WPARAM>(index) : static_cast<WPARAM>(-1));
    else
        SendMessage(LB_SETSEL, on, index);
}

bool SListCtrl::ToggleItemSelection(int index)
{
    const bool on = !IsItemSelected(index);
    SetItemSelected(index, on);
    return on;
}

bool SListCtrl::SelectRange(int first, int last, bool on)
{
    return m_handle && SendMessage(LB_SELITEMRANGE, on, MAKELPARAM(first, last)) != LB_ERR;
}

int SListCtrl::GetAnchorIndex() const
{
    if (!m_handle)
        return -1;
    const LRESULT i = SendMessage(LB_GETANCHORINDEX);
    return i < 0 ? -1 : static_cast<int>(i);
}

bool SListCtrl::SetAnchorIndex(int index)
{
    return m_handle && SendMessage(LB_SETANCHORINDEX, static_cast<WPARAM>(index)) != LB_ERR;
}

int SListCtrl::FindItem(const char* text, int start) const
{
    const int count = GetCount();
    for (int i = start < 0 ? 0 : start; i < count; i++)
        if (GetItemText(i).CompareNoCase(text ? text : "") == 0)
            return i;
    return -1;
}

// The native list keeps no strings (LB_SELECTSTRING would compare the records'
// addresses with the text): the search goes through the records, as the native
// one would, from the item after start, wrapping, for a text that begins with it.
int SListCtrl::FindItemPrefix(const char* text, int start) const
{
    const int count = GetCount();
    const SString prefix(text ? text : "");
    for (int n = 1; n <= count; n++)
    {
        const int i = ((start < 0 ? -1 : start) + n) % count;
        const SString item = GetItemText(i);
        if (_strnicmp(item.GetText(), prefix.GetText(), prefix.GetLength()) == 0)
            return i;
    }
    return -1;
}

int SListCtrl::SelectItemByText(const char* text, bool exact, int start)
{
    if (GetCount() == 0)
        return -1;
    const int index = exact ? FindItem(text, start) : FindItemPrefix(text, start);
    if (index == -1)
        return -1;
    SetSelection(index);
    return index;
}

int SListCtrl::GetTopIndex() const
{
    return m_handle ? static_cast<int>(SendMessage(LB_GETTOPINDEX)) : -1;
}

bool SListCtrl::SetTopIndex(int index)
{
    return m_handle && SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index < 0 ? 0 : index)) != LB_ERR;
}

bool SListCtrl::GetItemRect(int index, RECT* rect) const
{
    // The list box answers some indexes outside its items with success.
    return rect && IsValidIndex(index) &&
           SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)) !=
               LB_ERR;
}

int SListCtrl::ItemFromPoint(int x, int y) const
{
    if (!m_handle)
        return -1;
    const LRESULT answer = SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(answer) == 1)
        return -1;
    const int index = LOWORD(answer);
    if (index == GetCount() - 1)
    {
        // The last item is also answered for points below it.
        RECT r = {};
        const POINT p = {x, y};
        if (!GetItemRect(index, &r) || !PtInRect(&r, p))
            return -1;
    }
    return index;
}
