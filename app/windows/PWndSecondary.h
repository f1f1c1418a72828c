// What the main window's secondary windows share: their owner, the program's
// icons and a caption, a first size centred on the work area, a one-part status
// bar, and the placement restored when made and saved when closed.
#pragma once
#include "SStatusBarCtrl.h"
#include "SWnd.h"

class PWndApp;

class PWndSecondary : public SWnd
{
public:
    // The registry value under which the window keeps its placement.
    explicit PWndSecondary(const char* placementName);
    ~PWndSecondary() override;

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    SStatusBarCtrl& GetStatusBar() { return m_statusBar; }
    void SetStatusText(const char* text) { m_statusBar.SetText(0, text); }

protected:
    // Icons 107 and 108 and the smallest size 640 x 480 around PlaceFrame.
    void SetUpFrame(const char* caption, int width, int height);
    // The caption and the size at (0, 0), then centred on the work area.
    void PlaceFrame(const char* caption, int width, int height);
    void CreateStatusBar();
    void RestoreSavedPlacement();
    void SaveCurrentPlacement() const;

    PWndApp* m_owner;
    SStatusBarCtrl m_statusBar;

private:
    const char* m_placementName;
};
