#include "SStatusBarCtrl.h"
#include "SNativeCtrl.h"
#include <commctrl.h>
#include <vector>

SStatusBarCtrl::SStatusBarCtrl()
{
    SetTypeId(STYPE_STATUSBAR);
}

SStatusBarCtrl::~SStatusBarCtrl() = default;

bool SStatusBarCtrl::Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, STATUSCLASSNAMEA, "", style, 0, exStyle, nullptr, parent, id, param);
}

void SStatusBarCtrl::ComputeEqualEdges(int width, int n, int* edges)
{
    const int part = width / n;
    for (int k = 0; k < n - 1; k++)
        edges[k] = (k + 1) * part;
    edges[n - 1] = -1;
}

bool SStatusBarCtrl::SetEqualParts(int n)
{
    // The bar's own limit on parts: more would be cut off anyway.
    if (n < 1 || n > 256 || !m_handle)
        return false;
    RECT client = {};
    if (HWND parent = GetParent())
        ::GetClientRect(parent, &client);
    std::vector<int> edges(n);
    ComputeEqualEdges(client.right - client.left, n, edges.data());
    return SendMessage(SB_SETPARTS, n, reinterpret_cast<LPARAM>(edges.data())) != 0;
}

int SStatusBarCtrl::GetPartCount() const
{
    return m_handle ? StatusBarGetParts(0, nullptr) : 0;
}

bool SStatusBarCtrl::SetPartEdge(int i, int edge)
{
    const int count = GetPartCount();
    if (count < 1 || i < 0 || i >= count)
        return false;
    std::vector<int> edges(count);
    StatusBarGetParts(count, edges.data());
    edges[i] = edge;
    return SendMessage(SB_SETPARTS, count, reinterpret_cast<LPARAM>(edges.data())) != 0;
}

bool SStatusBarCtrl::SetText(int i, const char* text)
{
    return SendMessage(SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text ? text : "")) != 0;
}

LRESULT SStatusBarCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    SMouseNotify::RelayToParent(this, SWM_STATUSBAR_MOUSE, message, lParam);
    if (message == SWM_PARENTSIZED)
        SendMessage(WM_SIZE, 0, 0);
    return SWnd::WindowProc(message, wParam, lParam);
}
