#include "PWndHelp.h"
#include "SLibrary.h"

PWndHelp::PWndHelp() : PWndSecondary("WindowHelp")
{
}

PWndHelp::~PWndHelp()
{
    DestroyWindow();
}

LRESULT PWndHelp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    case WM_CLOSE:
        m_browser.DestroyBrowser();
        SaveCurrentPlacement();
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// Unlike the book and the description editor, help keeps the default icons and
// no smallest size.
void PWndHelp::OnCreated()
{
    PlaceFrame("Documentation - KLV Sonavel", 800, 600);
    const SString page = GetProgramFolder() + "help.htm";
    CreateStatusBar();
    SetStatusText(page.GetText());
    RECT area = {};
    GetClientRectWithoutBars(&area);
    m_browser.Create(WS_VISIBLE, 0, &area, m_handle);
    m_browser.SetAnchors(0x44);
    m_browser.SetSilent(false);
    m_browser.Navigate(page.GetText(), nullptr);
    RestoreSavedPlacement();
}
