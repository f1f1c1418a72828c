#include "PWndHelp.h"
#include "PSettings.h"
#include "SLibrary.h"

namespace
{
const char PLACEMENT[] = "WindowHelp";
}

PWndHelp::PWndHelp() : m_owner(nullptr)
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
        SavePlacement(PSettings::COMPANY, PSettings::PRODUCT, PLACEMENT);
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndHelp::OnCreated()
{
    SetWindowText("Documentation - KLV Sonavel");
    MoveWindow(0, 0, 800, 600, false);
    CenterWindow(false);
    const SString page = GetProgramFolder() + "help.htm";
    m_statusBar.Create(WS_VISIBLE, 0, m_handle);
    m_statusBar.SetEqualParts(1);
    m_statusBar.SetText(0, page.GetText());
    RECT area = {};
    GetClientRectWithoutBars(&area);
    m_browser.Create(WS_VISIBLE, 0, &area, m_handle);
    m_browser.SetAnchors(0x44);
    m_browser.SetSilent(false);
    m_browser.Navigate(page.GetText(), nullptr);
    RestorePlacement(PSettings::COMPANY, PSettings::PRODUCT, PLACEMENT, true);
}
