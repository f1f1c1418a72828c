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

    // The system's folder and colour choosers wait for a person; tests put
    // their own in (null restores the system's). False when nothing was chosen.
    typedef bool (*FolderChoiceFunction)(SSelector& selector, const char* title, const char* start, SString* chosen);
    typedef bool (*ColorChoiceFunction)(SSelector& selector, COLORREF initial, COLORREF* chosen);
    static void SetFolderChoiceFunction(FolderChoiceFunction function);
    static void SetColorChoiceFunction(ColorChoiceFunction function);

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
