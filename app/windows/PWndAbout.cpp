#include "PWndAbout.h"
#include "SMemory.h"

PWndAbout::PWndAbout()
{
}

PWndAbout::~PWndAbout()
{
    DestroyWindow();
}

LRESULT PWndAbout::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        OnCreated();
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndAbout::OnCreated()
{
    const COLORREF white = RGB(255, 255, 255);
    SetBackgroundColor(white);
    SetClientSize(270, 220);
    CenterWindow(true);
    const int width = GetClientWidth();
    RECT rect = {0, 5, width, 69};
    m_picture.CreateChild("", WS_VISIBLE, 0, &rect, m_handle);
    m_picture.SetBackgroundColor(white);
    m_picture.SetBackgroundImageFromResource(MAKEINTRESOURCEA(148), "BINARY", COLOR_NONE, SImage::DRAW_FIT);
    rect = {0, 75, width, GetClientHeight()};
    SMemory credits("BINARY", 147);
    m_text.CreateChild(credits.ReadText().GetText(), WS_VISIBLE, 0, &rect, m_handle);
    m_text.SetBackgroundColor(white);
    m_text.SetTags(true);
    m_text.SetAlignment(SMediaCtrl::ALIGN_CENTER);
    // Upwards; the view brings the credits round again once they have left it.
    m_text.SetAutoScroll(0, -10, true);
}
