// A text label painted by the library itself during the buffered erase, with
// one horizontal and one vertical alignment flag and, on request, its text
// turned by a quarter turn to read from bottom to top. Its text is its window text.
#pragma once
#include "SWnd.h"

class SLabelCtrl : public SWnd
{
public:
    enum Alignment
    {
        ALIGN_CENTER = 1,
        ALIGN_RIGHT = 2,
        ALIGN_LEFT = 4,
        ALIGN_VCENTER = 16,
        ALIGN_BOTTOM = 32
    };

    SLabelCtrl();
    ~SLabelCtrl() override;

    bool Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    void SetTextColor(COLORREF color) { m_textColor = color; }
    COLORREF GetTextColor() const { return m_textColor; }
    // Keeps one horizontal flag (4 before 2 before 1) and one vertical (32 before 16).
    void SetAlignment(int flags);
    int GetAlignment() const { return m_alignment; }
    void SetHorizontalAlignment(int flag);
    void SetVerticalAlignment(int flag);
    int GetHorizontalAlignment() const;
    int GetVerticalAlignment() const;
    void SetVertical(bool vertical);
    bool IsVertical() const { return m_vertical; }

    // The label's text drawn into a context over a client area of its size.
    void Paint(HDC dc) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawTextInto(HDC dc, RECT rect) const;
    void PaintTurned(HDC dc, int width, int height) const;

    COLORREF m_textColor;
    int m_alignment;
    bool m_vertical;
};
