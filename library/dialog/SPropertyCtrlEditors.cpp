// SPropertyCtrl: the change protocol and the editors (toggle, choosers, in-place
// edit, drop-down list of choices).
#include "SPropertyCtrl.h"
#include <cstdlib>
#include "SDrawing.h"
#include "SSelector.h"

namespace
{
const int DROPDOWN_HEIGHT = 100;
const int DROPDOWN_ROWS = 6;

bool ChooseWithSelector(HWND owner, int chooser, SPropertyCtrl::_SItem& answer)
{
    SSelector selector(owner);
    if (chooser == SPropertyCtrl::CHOOSER_FONT)
    {
        LOGFONTA font;
        FillLogFont(&font, answer.fontFace.GetText(), answer.fontSize, answer.fontStyle);
        if (!selector.ChooseFont(&font, nullptr))
            return false;
        answer.fontFace = selector.GetFontName();
        answer.fontSize = selector.GetFontSize();
        answer.fontStyle = selector.GetFontStyle();
        return true;
    }
    const bool chosen = chooser == SPropertyCtrl::CHOOSER_SYSTEMCOLOR
                            ? selector.ChooseSystemColor(answer.caption.GetText())
                            : selector.ChooseColor(answer.color, true, false, true);
    if (chosen)
        answer.color = selector.GetColor();
    return chosen;
}

SPropertyCtrl::ChooserFunction s_chooser = ChooseWithSelector;

void RestoreValue(SPropertyCtrl::_SItem& item, const SPropertyCtrl::_SItem& old)
{
    item.boolValue = old.boolValue;
    item.text = old.text;
    item.color = old.color;
    item.fontFace = old.fontFace;
    item.fontSize = old.fontSize;
    item.fontStyle = old.fontStyle;
}
// Either editor: Return commits and Escape drops the value; both close the
// editor and give the grid the focus back.
template <class Editor>
bool CloseOnKey(Editor& editor, SPropertyCtrl& grid, WPARAM key)
{
    if (key != VK_RETURN && key != VK_ESCAPE)
        return false;
    editor.Close(key == VK_RETURN, true);
    grid.SetFocus();
    return true;
}
} // namespace

void SPropertyCtrl::SetChooserFunction(ChooserFunction function)
{
    s_chooser = function ? function : ChooseWithSelector;
}

// The change is already stored in the item. The item is looked up again after the
// hook: a hook that changed the grid must not lead to a freed item.
void SPropertyCtrl::RunChangeProtocol(_SItem* item, const _SItem& old)
{
    int group = -1, index = -1;
    if (!LocateItem(item, &group, &index))
        return;
    const bool accepted = OnItemChanged(group, item);
    if (LocateItem(item, &group, &index))
    {
        if (!accepted)
            RestoreValue(*item, old);
        else
        {
            item->mixed = 0;
            SendMessageToParent(SWM_PROPERTY_EDITED, reinterpret_cast<WPARAM>(this),
                                MAKELPARAM(static_cast<WORD>(group), static_cast<WORD>(index)));
        }
    }
    Redraw();
}

void SPropertyCtrl::Toggle(_SItem* item)
{
    const _SItem old = *item;
    item->boolValue = item->mixed || !item->boolValue ? 1 : 0;
    RunChangeProtocol(item, old);
}

void SPropertyCtrl::StepChoice(_SItem* item)
{
    const int current = item->GetCurrentChoice();
    if (current < 0)
        return;
    const _SItem old = *item;
    item->text = item->GetChoiceValue((current + 1) % item->choices.GetCount());
    RunChangeProtocol(item, old);
}

void SPropertyCtrl::Choose(_SItem* item, int chooser)
{
    _SItem answer = *item;
    if (s_chooser(m_handle, chooser, answer))
    {
        const _SItem old = *item;
        if (chooser == CHOOSER_FONT)
        {
            item->fontFace = answer.fontFace;
            item->fontSize = answer.fontSize;
            item->fontStyle = answer.fontStyle;
        }
        else
            item->color = answer.color;
        RunChangeProtocol(item, old);
    }
    SetFocus();
}

void SPropertyCtrl::OpenEditor(int row, int group, int item, bool alternative)
{
    _SItem* target = GetItem(group, item);
    RECT cell = {};
    if (!target || !GetRowRect(row, 1, &cell))
        return;
    InflateRect(&cell, -2, -2);
    switch (target->kind)
    {
    case KIND_BOOL:
        Toggle(target);
        break;
    case KIND_COLOR:
        Choose(target, alternative ? CHOOSER_SYSTEMCOLOR : CHOOSER_COLOR);
        break;
    case KIND_TEXT:
    case KIND_INTEGER:
    case KIND_REAL:
        cell.right -= BUTTON_WIDTH;
        if (!m_edit.IsOpen())
            m_edit.Open(cell, target);
        break;
    case KIND_FONT:
        Choose(target, CHOOSER_FONT);
        break;
    case KIND_CHOICE:
        ClientToScreenRect(&cell);
        if (!m_dropDown.GetList().IsOpen())
            m_dropDown.Open(cell, m_rowHeight, target);
        break;
    default:
        break;
    }
}

void SPropertyCtrl::CloseEditors(bool redraw)
{
    m_edit.Close(false, redraw);
    m_dropDown.GetList().Close(false, redraw);
}

void SPropertyCtrl::PressButton(int row, _SItem* item, int button)
{
    if ((item->kind == KIND_COLOR || item->kind == KIND_FONT) && button == 0)
    {
        const _SItem old = *item;
        if (item->kind == KIND_COLOR)
            item->color = COLOR_NONE;
        else
            item->fontFace = "";
        RunChangeProtocol(item, old);
        return;
    }
    OpenEditor(row, m_currentGroup, m_currentItem, item->kind == KIND_COLOR && button == 1);
}

// --- The in-place edit -------------------------------------------------------

bool SPropertyCtrl::_SEditCtrl::Open(const RECT& rect, _SItem* item)
{
    if (!Create(item->mixed ? "" : item->text.GetText(), ES_AUTOHSCROLL, 0, &rect, m_grid->GetHandle()))
        return false;
    m_item = item;
    m_closed = false;
    SetFont(m_grid->GetGuiFont(), false);
    SetSel(0, -1);
    ShowWindow(SW_SHOW);
    SetFocus();
    return true;
}

void SPropertyCtrl::_SEditCtrl::Close(bool commit, bool redraw)
{
    if (m_closed)
        return;
    m_closed = true;
    _SItem* item = m_item;
    m_item = nullptr;
    if (commit && item && m_grid->LocateItem(item, nullptr, nullptr))
    {
        const SString typed = GetWindowText();
        const _SItem old = *item;
        if (item->kind == KIND_INTEGER)
            item->text = IntToString(std::atoi(typed.GetText() ? typed.GetText() : ""));
        else if (item->kind == KIND_REAL)
            item->text.FormatDouble(std::atof(typed.GetText() ? typed.GetText() : ""));
        else
            item->text = typed;
        m_grid->RunChangeProtocol(item, old);
    }
    DestroyWindow();
    if (redraw)
        m_grid->Redraw();
}

LRESULT SPropertyCtrl::_SEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_KEYDOWN:
        if (CloseOnKey(*this, *m_grid, wParam))
            return 0;
        break;
    case WM_KILLFOCUS:
        Close(true, true);
        // Gone when this closed it; a close already running passes the message on.
        if (!m_handle)
            return 0;
        break;
    default:
        break;
    }
    return SEditCtrl::WindowProc(message, wParam, lParam);
}

// --- The drop-down list -------------------------------------------------------

bool SPropertyCtrl::_SListCtrl::Open(SPropertyCtrl::_SItem* item, int width)
{
    const RECT rect = {0, 0, width, DROPDOWN_HEIGHT};
    if (!Create(WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, WS_EX_CLIENTEDGE, &rect, m_popup->GetHandle()))
        return false;
    m_item = item;
    m_closed = false;
    SetFont(m_grid->GetGuiFont(), false);
    for (int i = 0; i < item->choices.GetCount(); i++)
        AddItem(item->GetChoiceText(i).GetText());
    if (!item->mixed)
        SetSelection(item->GetCurrentChoice());
    return true;
}

void SPropertyCtrl::_SListCtrl::Close(bool commit, bool redraw)
{
    if (m_closed)
        return;
    m_closed = true;
    SPropertyCtrl::_SItem* item = m_item;
    m_item = nullptr;
    const int selection = GetSelection();
    if (commit && item && selection >= 0 && m_grid->LocateItem(item, nullptr, nullptr))
    {
        const SPropertyCtrl::_SItem old = *item;
        item->text = item->GetChoiceValue(selection);
        m_grid->RunChangeProtocol(item, old);
    }
    DestroyWindow();
    m_popup->DestroyWindow();
    if (redraw)
        m_grid->Redraw();
}

LRESULT SPropertyCtrl::_SListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_KEYDOWN:
        if (CloseOnKey(*this, *m_grid, wParam))
            return 0;
        break;
    case WM_LBUTTONUP:
        // The press already selected the entry under the mouse.
        Close(true, true);
        m_grid->SetFocus();
        return 0;
    case WM_KILLFOCUS:
        Close(false, true);
        if (!m_handle)
            return 0;
        break;
    default:
        break;
    }
    return SListCtrl::WindowProc(message, wParam, lParam);
}

bool SPropertyCtrl::_SWndList::Open(const RECT& cell, int rowHeight, _SItem* item)
{
    RECT rect = cell;
    rect.top = cell.top + rowHeight;
    rect.bottom = rect.top + DROPDOWN_HEIGHT;
    if (!Create("", WS_POPUP, 0, &rect, m_grid->GetHandle()))
        return false;
    SetBackgroundColor(COLOR_NONE);
    if (!m_list.Open(item, cell.right - cell.left))
    {
        DestroyWindow();
        return false;
    }
    Place(cell, rowHeight);
    ShowWindow(SW_SHOW);
    m_list.SetFocus();
    return true;
}

// Six entries high, under the cell; above the row when the work area ends first.
void SPropertyCtrl::_SWndList::Place(const RECT& cell, int rowHeight)
{
    const int width = cell.right - cell.left;
    const int height = DROPDOWN_ROWS * m_list.GetItemHeight() + m_list.GetWindowHeight() - m_list.GetClientHeight();
    m_list.MoveWindow(0, 0, width, height, false);
    RECT work = {0, 0, GetScreenWidth(), GetScreenHeight()};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    int top = cell.top + rowHeight;
    if (top + height > work.bottom)
        top = cell.top - 2 - height;
    MoveWindow(cell.left, top, width, height, false);
}
