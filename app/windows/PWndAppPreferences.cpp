// The Preferences dialog and the folder Properties dialog of the main window,
// both built from the descriptions among the program's resources.
#include "PWndApp.h"
#include "PWndSetting.h"
#include "SMemory.h"
#include "SWndDialog.h"

namespace
{
const int PREFERENCES_DESCRIPTION = 162;
const int PROPERTIES_DESCRIPTION = 215;

bool BuildDialog(SWndDialog& dialog, int resource, HWND owner)
{
    SMemory description("BINARY", resource);
    return description.GetSize() > 0 && dialog.CreateFromDescription(&description, owner, nullptr, true, 0);
}
}

void PWndApp::ShowPreferences()
{
    ++m_preferencesRequests;
    PWndSetting dialog;
    if (!BuildDialog(dialog, PREFERENCES_DESCRIPTION, m_handle) || RunModal(dialog) != 0)
        return;
    dialog.WriteSettings();
    dialog.DestroyWindow();
    SetToolbarImages(!PSettings().GetFlag("ToolBar"), false);
    ShowWindow(SW_HIDE);
    LoadSettings(false);
    ShowWindow(SW_SHOW);
}

bool PWndApp::ShowProperties(const char* iniFile)
{
    if (!m_folderIni.Open(iniFile, false))
        return false;
    SWndDialog dialog;
    bool written = false;
    if (BuildDialog(dialog, PROPERTIES_DESCRIPTION, m_handle))
    {
        dialog.SetWindowText("Properties");
        if (SWnd* label = dialog.FindChildByName("TXT_SITE"))
            label->SetWindowText("Site:");
        SWnd* site = dialog.FindChildByName("EDIT_SITE");
        if (site)
        {
            site->SetWindowText(TextOf(m_folderIni.GetString("", "site")));
            // Shown first: activating a hidden dialog would take the focus back.
            dialog.ShowWindow(SW_SHOW);
            site->EditSetSel(0, -1);
            site->SetFocus();
        }
        if (RunModal(dialog) == 0 && site)
        {
            written = m_folderIni.SetString("", "site", TextOf(site->GetWindowText()));
            UpdateInfoText();
        }
    }
    m_folderIni.Close();
    dialog.DestroyWindow();
    return written;
}
