#include "PWndBook.h"

PWndBook::PWndBook() : PWndSecondary("WindowBook")
{
}

PWndBook::~PWndBook()
{
}

LRESULT PWndBook::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_SETFOCUS:
        m_browser.SetFocus();
        break;
    case WM_CLOSE:
        SaveCurrentPlacement();
        m_browser.DestroyBrowser();
        break;
    case SWM_BROWSER_BEFORENAVIGATE:
        if (OnBeforeNavigate(reinterpret_cast<const char*>(lParam)) != 0)
            return -1;
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndBook::OnCreated()
{
    SetUpFrame("Book - KLV Sonavel", 640, 600);
    CreateStatusBar();
    RECT area = {};
    GetClientRectWithoutBars(&area);
    m_browser.Create(WS_VISIBLE, 0, &area, m_handle);
    m_browser.SetAnchors(0x44);
    m_browser.SetSilent(false);
    RestoreSavedPlacement();
}

bool PWndBook::Navigate(const char* address)
{
    if (!m_handle)
        return false;
    SetStatusText(address ? address : "");
    return m_browser.Navigate(address, nullptr);
}
