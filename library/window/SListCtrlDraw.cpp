// SListCtrl: pictures, colours, owner drawing, and the messages it handles itself
// (keys and its own mouse selection).
#include "SListCtrl.h"
#include <commctrl.h>
#include "SGuards.h"
#include "SNativeCtrl.h"

bool SListCtrl::StoreIconSize(HIMAGELIST list, HIMAGELIST& stored, int& width, int& height)
{
    int w = 0, h = 0;
    if (!list || !ImageList_GetIconSize(list, &w, &h))
    {
        stored = nullptr;
        width = height = 0;
        return false;
    }
    stored = list;
    width = w;
    height = h;
    return true;
}

void SListCtrl::SetImageList(HIMAGELIST list)
{
    StoreIconSize(list, m_images, m_imageWidth, m_imageHeight);
}

void SListCtrl::SetSecondImageList(HIMAGELIST list)
{
    StoreIconSize(list, m_secondImages, m_secondImageWidth, m_secondImageHeight);
}

void SListCtrl::SetSelectionColors(COLORREF background, COLORREF text)
{
    if (background != COLOR_NONE)
        m_selectedBackground = background;
    if (text != COLOR_NONE)
        m_selectedText = text;
}

int SListCtrl::GetItemHeight() const
{
    if (!m_handle)
        return 0;
    const int icons = m_imageHeight > m_secondImageHeight ? m_imageHeight : m_secondImageHeight;
    SWindowDCGuard dc(m_handle);
    TEXTMETRICA metrics = {};
    const int text = dc.Get() && GetTextMetricsA(dc.Get(), &metrics) ? metrics.tmHeight : 0;
    return (icons > text ? icons : text) + 2;
}

void SListCtrl::DrawPicture(HIMAGELIST list, int image, int x, int iconHeight, const RECT& item,
                            HDC dc) const
{
    const int y = item.top + (item.bottom - item.top - iconHeight) / 2;
    ImageList_Draw(list, image, dc, x, y, ILD_NORMAL);
}

bool SListCtrl::DrawItem(const DRAWITEMSTRUCT* draw)
{
    const _SItem* record = draw ? reinterpret_cast<const _SItem*>(draw->itemData) : nullptr;
    if (!m_handle || !record || record->owner != this)
        return false;
    if (!(draw->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)))
        return true; // no focus rectangle is ever drawn
    HDC dc = draw->hDC;
    const RECT item = draw->rcItem;
    RECT text = item;
    if (m_imageWidth > 0)
        text.left += m_imageWidth + 4;
    if (m_secondImageWidth > 0)
        text.right -= m_secondImageWidth + 4;
    COLORREF background = GetBackgroundColor();
    if (background == COLOR_NONE || background == COLOR_TRANSPARENT)
        background = GetSysColor(COLOR_WINDOW);
    const bool selected = (draw->itemState & ODS_SELECTED) != 0;
    {
        SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(SControlColor::Resolve(background)));
        FillRect(dc, &item, brush.Get());
    }
    if (selected)
    {
        SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(SControlColor::Resolve(m_selectedBackground)));
        FillRect(dc, &text, brush.Get());
    }
    if (record->image != -1 && m_imageWidth > 0)
        DrawPicture(m_images, record->image, 2, m_imageHeight, item, dc);
    if (record->secondImage != -1 && m_secondImageWidth > 0)
        DrawPicture(m_secondImages, record->secondImage, text.right, m_secondImageHeight, item, dc);
    if (record->text.GetLength() == 0)
        return true;
    InflateRect(&text, -2, 0);
    const int mode = SetBkMode(dc, TRANSPARENT);
    const COLORREF color = ::SetTextColor(dc, SControlColor::Resolve(selected ? m_selectedText : m_textColor));
    DrawTextA(dc, record->text.GetText(), record->text.GetLength(), &text,
              DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    ::SetTextColor(dc, color);
    SetBkMode(dc, mode);
    return true;
}

HBRUSH SListCtrl::OnCtlColorListBox(HDC dc)
{
    return m_color.MakeOpaqueBrush(GetBackgroundColor());
}

void SListCtrl::NotifySelectionChange()
{
    SendMessageToParent(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(this), 0);
}

LRESULT SListCtrl::OnKeyDown(WPARAM key, LPARAM lParam)
{
    const int before = GetSelection();
    const LRESULT answer = SWnd::WindowProc(WM_KEYDOWN, key, lParam);
    if (GetSelection() != before)
        NotifySelectionChange();
    SendMessageToParent(SWM_LIST_KEYDOWN, reinterpret_cast<WPARAM>(this), static_cast<LPARAM>(key));
    return answer;
}

void SListCtrl::PressSingle(int item)
{
    if (item == GetSelection())
        return;
    SetSelection(item);
    NotifySelectionChange();
}

void SListCtrl::PressExtended(int item, bool rightButton)
{
    const int selection = GetSelection();
    const int anchor = GetAnchorIndex();
    const int count = GetSelectedCount();
    const int modifiers = m_keyboard.GetModifiers();
    if (modifiers & 1)
    {
        // Shift (with Ctrl the range is added to the selection).
        if (selection == -1 || anchor == -1)
            SetSelection(item);
        else
        {
            if (modifiers == 1)
                SetSelection(-1);
            SelectRange(anchor < item ? anchor : item, anchor < item ? item : anchor, true);
        }
        NotifySelectionChange();
        return;
    }
    if (modifiers == 2)
    {
        if (item != -1)
            SetAnchorIndex(ToggleItemSelection(item) ? item : GetSelection());
        NotifySelectionChange();
        return;
    }
    if (rightButton && item != -1 && IsItemSelected(item))
        return;
    SetSelection(item);
    if (item != selection || count >= 2)
        NotifySelectionChange();
}

void SListCtrl::PressMultiple(int item)
{
    if (item == -1)
        SetSelection(-1);
    else
        ToggleItemSelection(item);
    NotifySelectionChange();
}

LRESULT SListCtrl::OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam)
{
    const int item = ItemFromPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
    const DWORD style = GetStyle();
    if (style & LBS_EXTENDEDSEL)
        PressExtended(item, message == WM_RBUTTONDOWN);
    else if (UsesSingleSelection())
        PressSingle(item);
    else if (message != WM_RBUTTONDOWN)
        PressMultiple(item);
    if (message != WM_LBUTTONDOWN)
        return SNativeCtrl::RelayAndHandle(this, SWM_LIST_MOUSE, message, wParam, lParam);
    SetFocus();
    SMouseNotify::RelayToParent(this, SWM_LIST_MOUSE, message, lParam);
    return 0; // the native list box never sees the press
}

LRESULT SListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        SetBackgroundColor(GetSysColor(COLOR_WINDOW));
        break;
    case WM_DESTROY:
        RemoveAll();
        break;
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if (GetSelection() == -1)
            break;
        {
            SendMessageToParent(SWM_LIST_DBLCLK, reinterpret_cast<WPARAM>(this), 0);
            const LRESULT answer = SWnd::WindowProc(message, wParam, lParam);
            SMouseNotify::RelayToParent(this, SWM_LIST_MOUSE, message, lParam);
            return answer;
        }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        return OnButtonDown(message, wParam, lParam);
    default:
        if (message == SWM_MCLICK || message == SWM_RCLICK)
            SetFocus();
        break;
    }
    return SNativeCtrl::RelayAndHandle(this, SWM_LIST_MOUSE, message, wParam, lParam);
}
