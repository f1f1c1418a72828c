// A small captionless window on top of everything with one progress bar from
// 0 to 1000, shown over the main window while a long job runs.
#pragma once
#include "SProgressCtrl.h"
#include "SWnd.h"

class PWndProgress : public SWnd
{
public:
    static const int RANGE = 1000;

    PWndProgress();
    ~PWndProgress() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // A visible topmost tool popup with a thin border over the parent.
    bool Create(HWND parent);
    void SetPos(int position);
    int GetPos() const;
    // Item i of count done: the bar moves to (i + 1) / count x 1000 and the
    // window is redrawn only when that changes its position.
    bool Step(int i, int count);

private:
    SProgressCtrl m_bar;
};
