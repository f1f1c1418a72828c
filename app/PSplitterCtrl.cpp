#include "PSplitterCtrl.h"

bool PSplitterCtrl::FilterPaneMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT* result)
{
    if (!m_owner || !m_owner->GetHandle())
        return SSplitterCtrl::FilterPaneMessage(pane, message, wParam, lParam, result);
    switch (message)
    {
    case SWM_BROWSER_BEFORENAVIGATE:
    case SWM_MEDIA_LINK:
        *result = m_owner->SendMessage(message, wParam, lParam);
        return false;
    case SWM_CHANGED:
    case SWM_LIST_KEYDOWN:
    case SWM_LIST_MOUSE:
    case SWM_LIST_SELCHANGE:
    case SWM_LIST_DBLCLK:
    case SWM_MEDIA_MOUSE:
    case SWM_SLIDER_CHANGED:
        m_owner->SendMessage(message, wParam, lParam);
        break;
    default:
        break;
    }
    return SSplitterCtrl::FilterPaneMessage(pane, message, wParam, lParam, result);
}
