// The messages control classes send to their own native control: one message
// each, the control's answer returned as it is.
#include "SWnd.h"
#include <commctrl.h>
#include <richedit.h>

LRESULT SWnd::EditSetSel(int start, int end) const
{
    if (end < 0)
        end = GetWindowTextLength();
    return SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

LRESULT SWnd::EditReplaceSel(const char* text) const
{
    return SendMessage(EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text ? text : ""));
}

LRESULT SWnd::RichEditStreamIn(WPARAM format, _editstream* stream) const
{
    return SendMessage(EM_STREAMIN, format, reinterpret_cast<LPARAM>(stream));
}

LRESULT SWnd::RichEditFormatRange(bool measureOnly, LPARAM range) const
{
    return SendMessage(EM_FORMATRANGE, measureOnly ? 0 : 1, range);
}

int SWnd::ButtonGetCheck() const
{
    return static_cast<int>(SendMessage(BM_GETCHECK));
}

LRESULT SWnd::ButtonSetCheck(int state) const
{
    return SendMessage(BM_SETCHECK, static_cast<WPARAM>(state));
}

int SWnd::ScrollBarSetPos(int position, bool redraw) const
{
    return static_cast<int>(SendMessage(SBM_SETPOS, static_cast<WPARAM>(position), redraw));
}

int SWnd::ScrollBarGetPos() const
{
    return static_cast<int>(SendMessage(SBM_GETPOS));
}

int SWnd::ScrollBarGetMin() const
{
    INT minimum = 0;
    SendMessage(SBM_GETRANGE, reinterpret_cast<WPARAM>(&minimum), 0);
    return minimum;
}

int SWnd::ScrollBarGetMax() const
{
    INT maximum = 0;
    SendMessage(SBM_GETRANGE, 0, reinterpret_cast<LPARAM>(&maximum));
    return maximum;
}

LRESULT SWnd::ScrollBarSetRange(int minimum, int maximum, bool redraw) const
{
    return SendMessage(redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minimum),
                       static_cast<LPARAM>(maximum));
}

LRESULT SWnd::SliderSetPos(bool redraw, int position) const
{
    return SendMessage(TBM_SETPOS, redraw, static_cast<LPARAM>(position));
}

int SWnd::ProgressSetPos(int position) const
{
    return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position)));
}

LRESULT SWnd::ProgressSetRange(int low, int high) const
{
    return SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

int SWnd::ProgressGetLimit(bool low) const
{
    return static_cast<int>(SendMessage(PBM_GETRANGE, low, 0));
}

int SWnd::ProgressGetPos() const
{
    return static_cast<int>(SendMessage(PBM_GETPOS));
}

int SWnd::StatusBarGetParts(int count, int* rightEdges) const
{
    return static_cast<int>(
        SendMessage(SB_GETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rightEdges)));
}

bool SWnd::ToolBarEnableButton(int id, bool enable) const
{
    return SendMessage(TB_ENABLEBUTTON, static_cast<WPARAM>(id), MAKELPARAM(enable, 0)) != 0;
}

bool SWnd::ToolBarDeleteButton(int index) const
{
    return SendMessage(TB_DELETEBUTTON, static_cast<WPARAM>(index)) != 0;
}

bool SWnd::ToolBarSetBitmapSize(int width, int height) const
{
    return SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(width, height)) != 0;
}

int SWnd::ToolBarGetButtonHeight() const
{
    return HIWORD(SendMessage(TB_GETBUTTONSIZE));
}

bool SWnd::ToolBarAddButton(int id, int bitmap) const
{
    // The record's own size: 20 bytes in a 32-bit build, larger in a 64-bit
    // one, where a fixed 20 would make the tool bar misread every button.
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    TBBUTTON button = {};
    button.iBitmap = bitmap;
    button.idCommand = id;
    button.fsState = TBSTATE_ENABLED;
    button.fsStyle = 0;
    return SendMessage(TB_ADDBUTTONS, 1, reinterpret_cast<LPARAM>(&button)) != 0;
}

bool SWnd::RebarDeleteBand(int index) const
{
    return SendMessage(RB_DELETEBAND, static_cast<WPARAM>(index)) != 0;
}

int SWnd::TabGetCurSel() const
{
    return static_cast<int>(SendMessage(TCM_GETCURSEL));
}

int SWnd::TabGetItemCount() const
{
    return static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
}

int SWnd::ListViewGetSelectedCount() const
{
    return static_cast<int>(SendMessage(LVM_GETSELECTEDCOUNT));
}

bool SWnd::ListViewDeleteAllItems() const
{
    return SendMessage(LVM_DELETEALLITEMS) != 0;
}

HWND SWnd::ListViewGetHeader() const
{
    return reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
}

_TREEITEM* SWnd::TreeInsertItem(tagTVINSERTSTRUCTA* item) const
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(item)));
}

_TREEITEM* SWnd::TreeHitTest(tagTVHITTESTINFO* hit) const
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(hit)));
}

_TREEITEM* SWnd::TreeGetSelection() const
{
    return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, TVGN_CARET, 0));
}

_TREEITEM* SWnd::TreeGetNextSibling(_TREEITEM* item) const
{
    return reinterpret_cast<HTREEITEM>(
        SendMessage(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
}

bool SWnd::TreeGetItemRect(_TREEITEM* item, RECT* rect, bool textOnly) const
{
    if (!rect)
        return false;
    // The item goes in the rectangle's place, as the message expects.
    *reinterpret_cast<HTREEITEM*>(rect) = item;
    return SendMessage(TVM_GETITEMRECT, textOnly, reinterpret_cast<LPARAM>(rect)) != 0;
}
