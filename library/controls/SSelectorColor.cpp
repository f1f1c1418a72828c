#include "SSelector.h"
#include "SIdentifiants.h"
#include "SLibrary.h"
#include "SMessages.h"

namespace
{
const int CLIENT_WIDTH = 300;
const int CLIENT_HEIGHT = 95;
}

bool SSelector::ChooseSystemColor(const char* title)
{
    if (!m_owner)
        return false;
    _SWndColor window;
    RECT rect = {0, 0, CLIENT_WIDTH, CLIENT_HEIGHT};
    if (!window.CreatePopup(title, &rect, m_owner, 0, false))
        return false;
    window.SetClientSize(CLIENT_WIDTH, CLIENT_HEIGHT);
    window.CenterWindow(false);
    const int result = window.DoModal();
    window.DestroyWindow();
    if (result == -1)
        return false;
    m_color = 0xFE000000 + static_cast<COLORREF>(result);
    return true;
}

void SSelector::_SWndColor::CreateChildren()
{
    RECT list = {5, 35, 295, 200}, preview = {5, 5, 295, 30}, ok = {110, 65, 200, 90}, cancel = {205, 65, 295, 90};
    m_list.Create("", WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL, 0, &list, GetHandle(), LIST_ID);
    const SArrayString& names = GetIdentifiants()->GetColorNames();
    for (int i = 0; i < names.GetCount(); i++)
        m_list.AddString(names.GetAt(i).ToUpper().GetText());
    m_list.SendMessage(CB_SETCURSEL, 0, 0);
    m_preview.CreateChild("", WS_VISIBLE, WS_EX_CLIENTEDGE, &preview, GetHandle());
    m_ok.Create("OK", WS_VISIBLE, 0, &ok, GetHandle(), OK_ID);
    m_cancel.Create("Cancel", WS_VISIBLE, 0, &cancel, GetHandle(), CANCEL_ID);
}

int SSelector::_SWndColor::GetSelectedIndex() const
{
    const int entry = static_cast<int>(m_list.SendMessage(CB_GETCURSEL, 0, 0));
    const SArray<int>& indexes = GetIdentifiants()->GetColorIndexes();
    return entry >= 0 && entry < indexes.GetCount() ? indexes.GetAt(entry) : -1;
}

void SSelector::_SWndColor::ShowSelectedColor()
{
    const int index = GetSelectedIndex();
    if (index >= 0)
        m_preview.SetBackgroundColor(GetSysColor(index));
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

LRESULT SSelector::_SWndColor::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        CreateChildren();
        ShowSelectedColor();
        break;
    case SWM_COMBO_SELCHANGE:
        ShowSelectedColor();
        break;
    case SWM_BUTTON_CLICKED:
    {
        SWnd* button = reinterpret_cast<SWnd*>(wParam);
        if (button == &m_ok)
            EndModal(GetSelectedIndex());
        else if (button == &m_cancel)
            EndModal(-1);
        break;
    }
    case SWM_DIALOGOK:
        EndModal(GetSelectedIndex());
        return 0;
    case SWM_DIALOGCANCEL:
        EndModal(-1);
        return 0;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}
