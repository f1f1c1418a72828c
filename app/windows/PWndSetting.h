// The Preferences dialog, built from the description "PREF": it shows six of
// the program's settings, lets the user pick the root folder and the taskbar's
// text colour, and writes them back when asked to.
#pragma once
#include "PSettings.h"
#include "SSelector.h"
#include "SWndDialog.h"

class PWndSetting : public SWndDialog
{
public:
    PWndSetting();
    ~PWndSetting() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // "Folder", "Images", "ToolBar", "AutoHideAfterPlay", "Taskbar" and
    // "TaskbarColor" from the controls.
    void WriteSettings() const;

private:
    void ShowTexts();
    void ShowValues();
    void OnButtonClick(const SString& name);
    void ChooseTextColor();
    SWnd* Child(const char* name) const;
    void SetChildText(const char* name, const char* text) const;
    SString GetChildText(const char* name) const;

    PSettings m_settings;
    SSelector m_selector;
};
