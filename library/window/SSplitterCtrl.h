// A control that divides its client area into a grid of pane windows separated
// by bars the user drags with the left button; the owner places its windows
// into the panes.
#pragma once
#include <memory>
#include "SWnd.h"

class SSplitterCtrl : public SWnd
{
public:
    // One pane: asks its splitter's filter about every message first.
    class _SWnd : public SWnd
    {
    public:
        _SWnd() : m_owner(nullptr), m_entry(-1), m_text("") {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

        SSplitterCtrl* GetOwner() const { return m_owner; }
        int GetEntry() const { return m_entry; }
        const SString& GetText() const { return m_text; }
        void SetText(const char* text) { m_text = text ? text : ""; }

    private:
        friend class SSplitterCtrl;
        SSplitterCtrl* m_owner;
        int m_entry;  // c + r x columns
        SString m_text;
    };

    SSplitterCtrl();
    ~SSplitterCtrl() override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);

    // Asked by a pane for every message: true lets the pane handle it, false
    // makes the pane answer *result at once.
    virtual bool FilterPaneMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT* result);

    bool SetGrid(int columns, int rows);
    // Null outside the grid.
    _SWnd* GetPane(int column, int row) const;
    int GetColumnCount() const { return m_columns; }
    int GetRowCount() const { return m_rows; }
    int GetBarWidth() const { return m_barWidth; }
    int GetBarHeight() const { return m_barHeight; }
    void SetBarColor(COLORREF color);
    COLORREF GetBarColor() const { return m_paneColor; }
    void SetColumnWidth(int column, int width);
    // The column size operations under the names the program uses.
    void SetPaneSize(int column, int width) { SetColumnWidth(column, width); }
    int GetPaneSize(int column) const;
    int GetRowHeight(int row) const;
    RECT GetPaneRect(int column, int row) const;
    RECT GetPaneClientRect(int column, int row) const;

    // The size arithmetic, kept pure so that it can be checked without windows.
    // Fits the sizes into the free size keeping the fixed entry (-1: none).
    static void FitSizes(SArray<int>& sizes, int fixed, int freeSize);
    // A drag of d pixels on the bar between sizes a and b: their new sizes.
    static void DragSizes(int a, int b, int d, int& first, int& second);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FreeGrid();
    int GetFreeWidth() const;
    int GetFreeHeight() const;
    void Relayout(int fixedColumn, int fixedRow);
    void PlacePanes();
    // The bar under a client point: vertical bars first; index -1 when none.
    int HitTestBar(int x, int y, bool& vertical) const;
    RECT GetBarRect(int index, bool vertical) const;
    void PaintBars(HDC dc) const;
    void DragBar(int index, bool vertical, POINT press);

    COLORREF m_paneColor;
    int m_barWidth;
    int m_barHeight;
    std::unique_ptr<_SWnd[]> m_panes;
    SArray<int> m_columnWidths;
    SArray<int> m_rowHeights;
    int m_columns;
    int m_rows;
};
