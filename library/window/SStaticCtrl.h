// A frame: an owner-drawn native static on which the library draws an edge of
// a chosen type along chosen sides.
#pragma once
#include "SWnd.h"

class SStaticCtrl : public SWnd
{
public:
    SStaticCtrl();
    ~SStaticCtrl() override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);
    // Accepts the edge types 1, 2, 4, 5, 6, 8, 9 and 10; any other stores 0 (no edge).
    void SetEdge(int type);
    int GetEdge() const { return m_edge; }
    // The sides the edge runs along (BF_* bits).
    void SetBorders(int flags) { m_borders = flags; }
    int GetBorders() const { return m_borders; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawFrame(HDC dc) const;

    int m_edge;
    int m_borders;
};
