// The help window: the program's documentation page "help.htm", from the
// program's folder, in a browser of its own with its address in the status bar.
#pragma once
#include "SBrowserCtrl.h"
#include "SStatusBarCtrl.h"
#include "SWnd.h"

class PWndApp;

class PWndHelp : public SWnd
{
public:
    PWndHelp();
    ~PWndHelp() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    SStatusBarCtrl& GetStatusBar() { return m_statusBar; }
    SBrowserCtrl& GetBrowser() { return m_browser; }

private:
    void OnCreated();

    PWndApp* m_owner;
    SStatusBarCtrl m_statusBar;
    SBrowserCtrl m_browser;
};
