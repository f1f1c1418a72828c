// The help window: the program's documentation page "help.htm", from the
// program's folder, in a browser of its own with its address in the status bar.
#pragma once
#include "PWndSecondary.h"
#include "SBrowserCtrl.h"

class PWndHelp : public PWndSecondary
{
public:
    PWndHelp();
    ~PWndHelp() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SBrowserCtrl& GetBrowser() { return m_browser; }

private:
    void OnCreated();

    SBrowserCtrl m_browser;
};
