#include "STabCtrl.h"
#include "SControlNotify.h"
#include "SNativeCtrl.h"
#include <commctrl.h>

namespace
{
bool TabNotify(SWnd* parent, SWnd* child, NMHDR* header, LRESULT&)
{
    if (header->code != static_cast<UINT>(TCN_SELCHANGE))
        return true;
    STabCtrl* tab = static_cast<STabCtrl*>(child);
    const int current = tab->GetCurSel();
    tab->ShowPage(current);
    parent->SendMessage(SWM_TAB_SELCHANGE, reinterpret_cast<WPARAM>(tab), current);
    return true;
}
} // namespace

STabCtrl::STabCtrl()
{
    // Registered by every tab, so a translation replaced meanwhile comes back.
    SControlNotify::Register(STYPE_TAB, nullptr, TabNotify);
    SetTypeId(STYPE_TAB);
}

STabCtrl::~STabCtrl() = default;

bool STabCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id,
                      LPARAM param)
{
    return SNativeCtrl::Create(this, WC_TABCONTROLA, "", style, 0, exStyle, rect, parent, id, param);
}

int STabCtrl::InsertTab(const char* text, int index, int image)
{
    if (!m_handle)
        return -1;
    TCITEMA item = {};
    item.mask = TCIF_TEXT | (image >= 0 ? TCIF_IMAGE : 0);
    item.pszText = const_cast<char*>(text ? text : "");
    item.iImage = image;
    if (index < 0)
        index = GetItemCount();
    const int inserted =
        static_cast<int>(SendMessage(TCM_INSERTITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
    ShowPage(GetCurSel());
    return inserted;
}

int STabCtrl::GetItemCount() const
{
    return m_handle ? TabGetItemCount() : 0;
}

int STabCtrl::GetCurSel() const
{
    return m_handle ? TabGetCurSel() : -1;
}

bool STabCtrl::IsValidTab(int t) const
{
    return t >= 0 && t < GetItemCount();
}

void STabCtrl::SetSelection(int t)
{
    SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(t));
    ShowPage(t);
}

bool STabCtrl::AttachPage(int t, SWnd* window)
{
    if (!window || !IsValidTab(t))
        return false;
    for (int i = 0; i < m_pages.GetCount(); i++)
    {
        if (m_pages.GetAt(i) == window && m_pageTabs.GetAt(i) == t)
            return false;
    }
    m_pages.Add(window);
    m_pageTabs.Add(t);
    return true;
}

void STabCtrl::ShowPage(int t)
{
    if (m_pages.GetCount() == 0 || !IsValidTab(t))
        return;
    for (int i = 0; i < m_pages.GetCount(); i++)
    {
        SWnd* page = m_pages.GetAt(i);
        if (page->GetHandle())
            page->ShowWindow(SW_HIDE);
    }
    for (int i = 0; i < m_pages.GetCount(); i++)
    {
        SWnd* page = m_pages.GetAt(i);
        if (m_pageTabs.GetAt(i) == t && page->GetHandle())
            page->ShowWindow(SW_SHOW);
    }
}

void STabCtrl::SetTabTip(int i, const char* text)
{
    if (!IsValidTab(i))
        return;
    HWND tips = reinterpret_cast<HWND>(SendMessage(TCM_GETTOOLTIPS));
    if (!tips)
        return;
    TTTOOLINFOA tool = {};
    tool.cbSize = sizeof(tool);
    if (!::SendMessageA(tips, TTM_ENUMTOOLSA, static_cast<WPARAM>(i + 1), reinterpret_cast<LPARAM>(&tool)))
        return;
    tool.lpszText = const_cast<char*>(text ? text : "");
    ::SendMessageA(tips, TTM_SETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool));
}

LRESULT STabCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SWM_CREATED)
    {
        m_pages.RemoveAll();
        m_pageTabs.RemoveAll();
    }
    SMouseNotify::RelayToParent(this, SWM_TAB_MOUSE, message, lParam);
    return SWnd::WindowProc(message, wParam, lParam);
}
