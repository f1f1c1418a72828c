// A dialog whose modal run clicks one named button from a timer, then ends the
// run with RUN_NOT_ENDED if the click did not end it.
#pragma once
#include "SWndDialog.h"

const int RUN_NOT_ENDED = 77;

class ClickingDialog : public SWndDialog
{
public:
    // The run's result once the named button was clicked.
    int RunClicking(const char* name)
    {
        m_toClick = name;
        SetTimer(1, 10);
        return DoModal();
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 1)
        {
            KillTimer(1);
            if (SWnd* button = FindChildByName(m_toClick))
                button->SendMessage(BM_CLICK);
            EndModal(RUN_NOT_ENDED);
            return 0;
        }
        return SWndDialog::WindowProc(message, wParam, lParam);
    }

private:
    const char* m_toClick = "";
};
