// A thin wrapper of the native list view "SysListView32" for report lists with
// columns, sub-item texts, one picture per item and multiple selection. Its
// notices reach the parent through the parent's pre-processor; the control itself
// relays only its left and right button presses.
#pragma once
#include "SWnd.h"
#include <commctrl.h>
#include "SArray.h"

class SExListCtrl : public SWnd
{
public:
    SExListCtrl();
    ~SExListCtrl() override;

    // The image lists stay the caller's (LVS_SHAREIMAGELISTS).
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);
    DWORD SetExtendedStyle(DWORD styles) const;
    HIMAGELIST SetImageList(HIMAGELIST list, bool small) const;

    // Columns.
    int GetColumnCount() const;
    // An index below 0 or past the last column appends.
    int InsertColumn(const char* text, int width, int index = -1, int format = LVCFMT_LEFT) const;
    bool SetColumnWidth(int column, int width) const;

    // Items.
    int GetItemCount() const;
    // Index -1 appends; image -1 gives none.
    int InsertItem(const char* text, int index = -1, int image = -1) const;
    bool SetItem(LVITEMA* item) const;
    bool SetItemText(int item, const char* text, int subItem = 0) const;
    bool SetItemImage(int item, int image) const;
    // The whole text, whatever its length; "" for an empty text or a failure.
    SString GetItemText(int item, int subItem = 0) const;
    bool DeleteItem(int item) const;
    bool DeleteAllItems() const { return ListViewDeleteAllItems(); }
    // The number of items actually deleted.
    int DeleteSelectedItems(bool reselect) const;

    // Selection and position.
    int GetNextItem(int start, int flags) const;
    int GetFirstSelected() const;
    int GetSelectedCount() const;
    int GetSelectedItems(SArray<int>* out) const;
    // Selects and focuses one item; any other value clears the selection.
    void SetSelection(int item) const;
    bool EnsureVisible(int item, bool partialOk) const;
    int HitTest(int x, int y, UINT* flags = nullptr) const;

    // The list view keeps the colour itself.
    COLORREF GetBackgroundColor() override;
    void SetBackgroundColor(COLORREF color) override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
