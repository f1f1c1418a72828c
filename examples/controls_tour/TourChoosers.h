// The tour's page of choosers: a row of buttons opening the system's colour,
// font, file and folder dialogs, the library's system-colour window and month
// calendar, and printing a short text; the line below shows what was chosen.
#pragma once
#include "SButtonCtrl.h"
#include "SLabelCtrl.h"
#include "SSelector.h"

class ChoosersPage : public SWnd
{
public:
    bool Open(HWND parent);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum { COLOR, FONT, FILES, FOLDER, SYSTEM_COLOR, CALENDAR, PRINT, BUTTONS };

    void Choose(int which);
    SString ChooseFiles(SSelector& selector);
    SString ChooseDate();
    SString PrintSample();
    HWND GetTopWindow() const;

    SButtonCtrl m_buttons[BUTTONS];
    SLabelCtrl m_result;
};
