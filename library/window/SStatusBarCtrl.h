// The native status bar: parts with texts along the bottom of its parent,
// lined up again whenever the parent changes size.
#pragma once
#include "SWnd.h"

class SStatusBarCtrl : public SWnd
{
public:
    SStatusBarCtrl();
    ~SStatusBarCtrl() override;

    bool Create(DWORD style, DWORD exStyle, HWND parent, UINT_PTR id = 0, LPARAM param = 0);
    // n parts of equal width over the parent's client width, the last to the end.
    bool SetEqualParts(int n);
    // The right edge of part i (-1: to the end); false when i is not a part.
    bool SetPartEdge(int i, int edge);
    bool SetText(int i, const char* text);
    int GetPartCount() const;

    // The part edges of n parts of equal width over a given width.
    static void ComputeEqualEdges(int width, int n, int* edges);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
