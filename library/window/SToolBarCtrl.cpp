#include "SToolBarCtrl.h"
#include "SMenu.h"
#include "SNativeCtrl.h"
#include <commctrl.h>

namespace
{
// The inner window's timer while a drop-down menu is open.
const UINT_PTR MENU_SWITCH_TIMER = 1;
const UINT MENU_SWITCH_PERIOD = 50;
} // namespace

LRESULT SToolBarCtrl::_SWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_COMMAND:
    {
        SWnd* from = FromHandle(reinterpret_cast<HWND>(lParam));
        if (from && from->GetType() == STYPE_TOOLBAR && m_toolBar)
            m_toolBar->SendMessageToParent(SWM_TOOLBAR_COMMAND, reinterpret_cast<WPARAM>(m_toolBar),
                                           LOWORD(wParam));
        break;
    }
    case WM_NOTIFY:
    {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (m_toolBar && header && header->code == static_cast<UINT>(TBN_DROPDOWN))
        {
            const int id = reinterpret_cast<const NMTOOLBARA*>(lParam)->iItem;
            const int button = static_cast<int>(m_toolBar->SendMessage(TB_COMMANDTOINDEX, id));
            if (m_toolBar->OpenDropDownMenu(button))
                return TBDDRET_DEFAULT;
        }
        break;
    }
    case WM_TIMER:
        if (wParam == MENU_SWITCH_TIMER && m_toolBar)
        {
            POINT cursor = {};
            GetCursorPos(&cursor);
            m_toolBar->ScreenToClient(&cursor);
            const int button = m_toolBar->HitTestButton(cursor);
            if (button >= 0)
                m_toolBar->SwitchToButton(button);
            return 0;
        }
        break;
    case WM_EXITMENULOOP:
        if (m_toolBar)
        {
            if (m_toolBar->m_switching)
                m_toolBar->m_switching = false;
            else
                m_toolBar->m_openMenuButton = -1;
        }
        break;
    default:
        if (message == SWM_MENUCOMMAND)
        {
            SMenu* menu = reinterpret_cast<SMenu*>(wParam);
            if (menu && menu->GetOwner())
                return ::SendMessageA(menu->GetOwner(), message, wParam, lParam);
        }
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

SToolBarCtrl::SToolBarCtrl()
    : m_imageList(nullptr), m_autoSize(false), m_openMenuButton(-1), m_switching(false)
{
    SetTypeId(STYPE_TOOLBAR);
}

SToolBarCtrl::~SToolBarCtrl() = default;

bool SToolBarCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                          LPARAM param)
{
    const bool flat = (style & TBSTYLE_FLAT) != 0;
    if (!SNativeCtrl::Create(this, TOOLBARCLASSNAMEA, "", style & ~TBSTYLE_FLAT, CCS_NODIVIDER, exStyle,
                             rect, parent, id, param))
        return false;
    if (flat)
        SetStyle(GetStyle() | TBSTYLE_FLAT);
    return true;
}

bool SToolBarCtrl::AddButton(int id, int image, const char* text, BYTE style, BYTE state,
                             DWORD_PTR userData)
{
    if (!m_handle)
        return false;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    TBBUTTON button = {};
    button.iBitmap = image;
    button.idCommand = id;
    button.fsState = state;
    button.fsStyle = style;
    button.dwData = userData;
    button.iString = reinterpret_cast<INT_PTR>(text);
    return SendMessage(TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&button)) != 0;
}

bool SToolBarCtrl::AddSeparator()
{
    return AddButton(0, 0, nullptr, BTNS_SEP, 0, 0);
}

int SToolBarCtrl::GetButtonCount() const
{
    return m_handle ? static_cast<int>(SendMessage(TB_BUTTONCOUNT)) : 0;
}

void SToolBarCtrl::RemoveAllButtons()
{
    while (GetButtonCount() >= 1)
    {
        if (!ToolBarDeleteButton(0))
            break;
    }
}

bool SToolBarCtrl::EnableButton(int id, bool enable)
{
    return ToolBarEnableButton(id, enable);
}

bool SToolBarCtrl::IsButtonEnabled(int id) const
{
    return SendMessage(TB_ISBUTTONENABLED, static_cast<WPARAM>(id)) != 0;
}

bool SToolBarCtrl::CheckButton(int id, bool check)
{
    return SendMessage(TB_CHECKBUTTON, static_cast<WPARAM>(id), MAKELPARAM(check, 0)) != 0;
}

bool SToolBarCtrl::IsButtonChecked(int id) const
{
    return SendMessage(TB_ISBUTTONCHECKED, static_cast<WPARAM>(id)) != 0;
}

void SToolBarCtrl::SetImageList(_IMAGELIST* list)
{
    m_imageList = list;
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list));
    int width = 0, height = 0;
    if (list && ImageList_GetIconSize(list, &width, &height))
        SetBitmapSize(width, height);
}

bool SToolBarCtrl::SetBitmapSize(int width, int height)
{
    return ToolBarSetBitmapSize(width, height);
}

int SToolBarCtrl::GetButtonHeight() const
{
    return ToolBarGetButtonHeight();
}

void SToolBarCtrl::SetTransparent(bool on)
{
    const DWORD style = GetStyle();
    SetStyle(on ? style | TBSTYLE_TRANSPARENT : style & ~TBSTYLE_TRANSPARENT);
}

bool SToolBarCtrl::IsTransparent() const
{
    return (GetStyle() & TBSTYLE_TRANSPARENT) != 0;
}

void SToolBarCtrl::SetCommandId(int button, int id)
{
    if (button < 0)
        return;
    if (button >= m_commandIds.GetCount())
        m_commandIds.SetCount(button + 1);
    m_commandIds.SetAt(button, id);
}

int SToolBarCtrl::GetCommandId(int button) const
{
    return button >= 0 && button < m_commandIds.GetCount() ? m_commandIds.GetAt(button) : 0;
}

void SToolBarCtrl::SetDropDownMenu(int button, SMenu* menu)
{
    if (button < 0)
        return;
    if (button >= m_menus.GetCount())
        m_menus.SetCount(button + 1);
    m_menus.SetAt(button, menu);
}

SMenu* SToolBarCtrl::GetDropDownMenu(int button) const
{
    return button >= 0 && button < m_menus.GetCount() ? m_menus.GetAt(button) : nullptr;
}

int SToolBarCtrl::HitTestButton(POINT point) const
{
    for (int i = 0, n = GetButtonCount(); i < n; i++)
    {
        RECT rect = {};
        if (SendMessage(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect)) && PtInRect(&rect, point))
            return i;
    }
    return -1;
}

void SToolBarCtrl::SwitchToButton(int button)
{
    if (m_openMenuButton == -1)
        return;
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(button));
    if (button == m_openMenuButton)
        return;
    m_inner.KillTimer(MENU_SWITCH_TIMER);
    m_switching = true;
    m_openMenuButton = button;
    EndMenu();
}

bool SToolBarCtrl::OpenDropDownMenu(int button)
{
    SMenu* menu = GetDropDownMenu(button);
    if (!menu || !m_inner.GetHandle())
        return false;
    while (menu)
    {
        m_openMenuButton = button;
        m_switching = false;
        m_inner.SetTimer(MENU_SWITCH_TIMER, MENU_SWITCH_PERIOD);
        TrackMenuBelow(button, menu);
        m_inner.KillTimer(MENU_SWITCH_TIMER);
        // The menu closed by sliding onto another button: open that one's.
        if (m_openMenuButton == -1 || m_openMenuButton == button)
            break;
        button = m_openMenuButton;
        menu = GetDropDownMenu(button);
    }
    m_openMenuButton = -1;
    m_switching = false;
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(-1));
    return true;
}

void SToolBarCtrl::OnCreated()
{
    m_inner.m_toolBar = this;
    m_inner.CreateChild("", WS_CHILD, 0, nullptr, m_handle);
    SendMessage(CCM_SETUNICODEFORMAT, FALSE);
    SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(m_inner.GetHandle()));
    if (GetStyle() & TBSTYLE_TOOLTIPS)
        SendMessage(TB_SETMAXTEXTROWS, 0);
}

LRESULT SToolBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case SWM_PARENTSIZED:
        if (m_autoSize)
        {
            // A control bar lays out its bands itself.
            SWnd* parent = FromHandle(GetParent());
            if (!parent || parent->GetType() != STYPE_CONTROLBAR)
                SendMessage(TB_AUTOSIZE);
        }
        break;
    case WM_DESTROY:
        m_inner.DestroyWindow();
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// The menu is tracked for the inner window, which sees its menu loop end and
// passes its commands on to the menu's owner.
bool SToolBarCtrl::TrackMenuBelow(int button, SMenu* menu)
{
    RECT rect = {};
    if (!SendMessage(TB_GETITEMRECT, static_cast<WPARAM>(button), reinterpret_cast<LPARAM>(&rect)))
        return false;
    ClientToScreenRect(&rect);
    SendMessage(TB_SETHOTITEM, static_cast<WPARAM>(button));
    return menu->Track(rect.left, rect.bottom, TPM_LEFTALIGN | TPM_TOPALIGN, m_inner.GetHandle());
}
