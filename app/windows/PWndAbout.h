// The About window, run modally: the program's picture above credits that keep
// scrolling slowly upwards.
#pragma once
#include "SMediaCtrl.h"
#include "SWnd.h"

class PWndAbout : public SWnd
{
public:
    PWndAbout();
    ~PWndAbout() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SMediaCtrl& GetPictureView() { return m_picture; }
    SMediaCtrl& GetTextView() { return m_text; }

private:
    void OnCreated();

    SMediaCtrl m_picture;
    SMediaCtrl m_text;
};
