#include "SControlNotify.h"
#include <commctrl.h>
#include "SMessages.h"
#include "SMouseNotify.h"
#include "SWnd.h"

namespace
{
struct Translation
{
    SControlNotify::CommandTranslator command;
    SControlNotify::NotifyTranslator notify;
};

LRESULT SendToParent(SWnd* parent, UINT message, SWnd* child, LPARAM lParam)
{
    return parent->SendMessage(message, reinterpret_cast<WPARAM>(child), lParam);
}

// --- Built-in translations of the native controls ---------------------------

void ButtonCommand(SWnd* parent, SWnd* child, int code)
{
    if (code == BN_CLICKED)
        SendToParent(parent, SWM_BUTTON_CLICKED, child, 0);
}

void CheckCommand(SWnd* parent, SWnd* child, int code)
{
    if (code != BN_CLICKED)
        return;
    const bool checked = child->SendMessage(BM_GETCHECK) != 0;
    child->SendMessage(BM_SETCHECK, checked ? BST_UNCHECKED : BST_CHECKED);
    SendToParent(parent, SWM_CHECK_CLICKED, child, 0);
}

void ComboCommand(SWnd* parent, SWnd* child, int code)
{
    if (code == CBN_SELCHANGE)
        SendToParent(parent, SWM_COMBO_SELCHANGE, child, 0);
}

// Only the user's typing counts: text set by the program while the edit has no
// focus is not reported.
void EditCommand(SWnd* parent, SWnd* child, int code)
{
    if (code == EN_CHANGE && child->HasFocus())
        SendToParent(parent, SWM_EDIT_CHANGE, child, 0);
}

bool ControlBarNotify(SWnd* parent, SWnd* child, NMHDR* header, LRESULT&)
{
    if (header->code == static_cast<UINT>(RBN_AUTOSIZE))
        SendToParent(parent, SWM_CONTROLBAR_AUTOSIZE, child, 0);
    return true;
}

int ListViewHitTest(SWnd* child, POINT point)
{
    LVHITTESTINFO info = {};
    info.pt = point;
    return static_cast<int>(child->SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
}

// A focused item that is not selected is reported as no item, and loses its focus.
int ItemChangedIndex(SWnd* child, int item)
{
    if (item == -1)
        return -1;
    const UINT state = static_cast<UINT>(
        child->SendMessage(LVM_GETITEMSTATE, item, LVIS_FOCUSED | LVIS_SELECTED));
    if ((state & LVIS_FOCUSED) && !(state & LVIS_SELECTED))
    {
        LVITEMA clear = {};
        clear.stateMask = LVIS_FOCUSED;
        child->SendMessage(LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&clear));
        return -1;
    }
    return item;
}

bool ListViewNotify(SWnd* parent, SWnd* child, NMHDR* header, LRESULT& result)
{
    const POINT point = SControlNotify::GetCursorInClient(child);
    switch (header->code)
    {
    case NM_CLICK:
        SControlNotify::SendMouseNotify(parent, SWM_EXLIST_MOUSE, child,
                                         SMouseNotify::LEFT | SMouseNotify::CLICK);
        return true;
    case NM_DBLCLK:
    {
        SControlNotify::SendMouseNotify(parent, SWM_EXLIST_MOUSE, child,
                                         SMouseNotify::LEFT | SMouseNotify::DOUBLE);
        const int item = ListViewHitTest(child, point);
        if (item != -1)
            SendToParent(parent, SWM_EXLIST_DBLCLK, child, item);
        return true;
    }
    case NM_RCLICK:
        SControlNotify::SendMouseNotify(parent, SWM_EXLIST_MOUSE, child,
                                         SMouseNotify::RIGHT | SMouseNotify::CLICK);
        return true;
    case NM_RDBLCLK:
        SControlNotify::SendMouseNotify(parent, SWM_EXLIST_MOUSE, child,
                                         SMouseNotify::RIGHT | SMouseNotify::DOUBLE);
        return true;
    case LVN_COLUMNCLICK:
        SendToParent(parent, SWM_EXLIST_COLUMNCLICK, child,
                     reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
        return true;
    case LVN_KEYDOWN:
        SendToParent(parent, SWM_EXLIST_KEYDOWN, child,
                     reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey);
        return true;
    case LVN_ITEMCHANGED:
        SendToParent(parent, SWM_EXLIST_ITEMCHANGED, child,
                     ItemChangedIndex(child, reinterpret_cast<NMLISTVIEW*>(header)->iItem));
        return true;
    case LVN_BEGINLABELEDITA:
        if (SendToParent(parent, SWM_EXLIST_BEGINEDIT, child,
                         reinterpret_cast<NMLVDISPINFOA*>(header)->item.iItem) == 0)
            return true;
        result = 1;
        return false;
    case LVN_ENDLABELEDITA:
    {
        LVITEMA* item = &reinterpret_cast<NMLVDISPINFOA*>(header)->item;
        if (!(item->mask & LVIF_TEXT))
            return true;
        result = SendToParent(parent, SWM_EXLIST_ENDEDIT, child, reinterpret_cast<LPARAM>(item)) == 0
                     ? 1
                     : 0;
        return false;
    }
    default:
        return true;
    }
}

Translation* GetTable()
{
    static Translation* table = [] {
        static Translation entries[SControlNotify::TYPE_COUNT] = {};
        entries[STYPE_BUTTON].command = ButtonCommand;
        entries[STYPE_CHECK].command = CheckCommand;
        entries[STYPE_COMBO].command = ComboCommand;
        entries[STYPE_EDIT].command = EditCommand;
        entries[STYPE_CONTROLBAR].notify = ControlBarNotify;
        entries[STYPE_EXLIST].notify = ListViewNotify;
        return entries;
    }();
    return table;
}

bool IsValidType(int typeId)
{
    return typeId >= 0 && typeId < SControlNotify::TYPE_COUNT;
}

// The library object of a child window that still has its window.
SWnd* FindChild(HWND handle)
{
    SWnd* child = SWnd::FromHandle(handle);
    return child && child->GetHandle() ? child : nullptr;
}
} // namespace

void SControlNotify::Register(int typeId, CommandTranslator command, NotifyTranslator notify)
{
    if (!IsValidType(typeId))
        return;
    GetTable()[typeId].command = command;
    GetTable()[typeId].notify = notify;
}

SControlNotify::CommandTranslator SControlNotify::GetCommandTranslator(int typeId)
{
    return IsValidType(typeId) ? GetTable()[typeId].command : nullptr;
}

SControlNotify::NotifyTranslator SControlNotify::GetNotifyTranslator(int typeId)
{
    return IsValidType(typeId) ? GetTable()[typeId].notify : nullptr;
}

void SControlNotify::TranslateCommand(SWnd* parent, WPARAM wParam, LPARAM lParam)
{
    SWnd* child = FindChild(reinterpret_cast<HWND>(lParam));
    if (!child)
        return;
    if (CommandTranslator translate = GetCommandTranslator(child->GetType()))
        translate(parent, child, HIWORD(wParam));
}

bool SControlNotify::TranslateNotify(SWnd* parent, LPARAM lParam, LRESULT& result)
{
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return true;
    SWnd* child = FindChild(header->hwndFrom);
    if (!child)
        return true;
    NotifyTranslator translate = GetNotifyTranslator(child->GetType());
    return translate ? translate(parent, child, header, result) : true;
}

POINT SControlNotify::GetCursorInClient(const SWnd* child)
{
    POINT point = {};
    if (GetCursorPos(&point) && child)
        child->ScreenToClient(&point);
    return point;
}

LRESULT SControlNotify::SendMouseNotify(SWnd* parent, UINT message, SWnd* child, int code)
{
    const POINT point = GetCursorInClient(child);
    SMouseNotify record = {code, static_cast<int>(point.x), static_cast<int>(point.y)};
    return SendToParent(parent, message, child, reinterpret_cast<LPARAM>(&record));
}
