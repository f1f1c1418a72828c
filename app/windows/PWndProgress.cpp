#include "PWndProgress.h"

PWndProgress::PWndProgress()
{
}

PWndProgress::~PWndProgress()
{
}

bool PWndProgress::Create(HWND parent)
{
    return SWnd::Create("", WS_POPUP | WS_VISIBLE | WS_BORDER, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, nullptr,
                        parent);
}

LRESULT PWndProgress::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SWM_CREATED)
    {
        SetClientSize(300, 35);
        CenterWindow(true);
        const RECT bar = {5, 5, 295, 30};
        m_bar.Create(WS_VISIBLE, 0, &bar, m_handle);
        m_bar.SetRange(0, RANGE);
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

void PWndProgress::SetPos(int position)
{
    m_bar.SetPos(position);
}

int PWndProgress::GetPos() const
{
    return m_bar.GetPos();
}

bool PWndProgress::Step(int i, int count)
{
    if (count <= 0)
        return false;
    const int position = static_cast<int>(static_cast<long long>(i + 1) * RANGE / count);
    if (position == GetPos())
        return false;
    SetPos(position);
    // The bar alone is drawn again, and only where the new position left it
    // invalid: the window around it does not change.
    m_bar.UpdateWindow();
    return true;
}
