// The library's list: a native "LISTBOX", always owner-drawn with variable item
// heights, that keeps one record per item (text, a picture from each of two image
// lists, a user value) and does its own mouse selection, with Shift and Ctrl
// ranges for extended-selection lists. It tells its parent about keys, clicks,
// double clicks and every selection change.
#pragma once
#include "SWnd.h"
#include <commctrl.h>
#include "SArray.h"
#include "SControlColor.h"
#include "SKeyboard.h"

class SListCtrl : public SWnd
{
public:
    // One item; its address is the native item data.
    struct _SItem
    {
        SString text;
        int image = -1;        // in the first (left) image list
        int secondImage = -1;  // in the second (right) image list
        LPARAM data = 0;       // the owner's value; may carry a pointer
        SListCtrl* owner = nullptr;
    };

    SListCtrl();
    ~SListCtrl() override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);

    // Items.
    int AddItem(const char* text, int index = -1, int image = -1, int secondImage = -1);
    bool DeleteItem(int index);
    void RemoveAll();
    int GetCount() const;
    _SItem* GetItemRecord(int index) const;
    SString GetItemText(int index) const;
    bool SetItemText(int index, const char* text);
    LPARAM GetItemData(int index) const;
    bool SetItemData(int index, LPARAM value);
    int GetItemSecondImage(int index) const;
    bool SetItemSecondImage(int index, int image);

    // Selection.
    int GetSelection() const;
    void SetSelection(int index);
    int GetSelectedCount() const;
    int GetSelectedItems(SArray<int>* out) const;
    bool IsItemSelected(int index) const;
    void SetItemSelected(int index, bool on);
    bool ToggleItemSelection(int index);
    bool SelectRange(int first, int last, bool on);
    int GetAnchorIndex() const;
    bool SetAnchorIndex(int index);
    int FindItem(const char* text, int start = 0) const;
    int SelectItemByText(const char* text, bool exact, int start = -1);

    // Position.
    int GetTopIndex() const;
    bool SetTopIndex(int index);
    bool GetItemRect(int index, RECT* rect) const;
    int ItemFromPoint(int x, int y) const;

    // Pictures and colours.
    void SetImageList(HIMAGELIST list);
    void SetSecondImageList(HIMAGELIST list);
    void SetTextColor(COLORREF color) { m_textColor = color; }
    COLORREF GetTextColor() const { return m_textColor; }
    void SetSelectionColors(COLORREF background, COLORREF text);
    COLORREF GetSelectionBackgroundColor() const { return m_selectedBackground; }
    COLORREF GetSelectionTextColor() const { return m_selectedText; }

    // Owner drawing (reached through the owner-draw dispatch of the window that
    // receives the list's WM_MEASUREITEM and WM_DRAWITEM).
    int GetItemHeight() const;
    bool DrawItem(const DRAWITEMSTRUCT* draw);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorListBox(HDC dc) override;

private:
    bool UsesSingleSelection() const;
    bool IsValidIndex(int index) const;
    int FindItemPrefix(const char* text, int start) const;
    void FreeRecord(_SItem* record);
    static bool StoreIconSize(HIMAGELIST list, HIMAGELIST& stored, int& width, int& height);
    void DrawPicture(HIMAGELIST list, int image, int x, int iconHeight, const RECT& item, HDC dc) const;
    void NotifySelectionChange();
    LRESULT OnKeyDown(WPARAM key, LPARAM lParam);
    LRESULT OnButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
    void PressSingle(int item);
    void PressExtended(int item, bool rightButton);
    void PressMultiple(int item);

    SKeyboard m_keyboard;
    SControlColor m_color;
    COLORREF m_textColor;
    COLORREF m_selectedBackground;
    COLORREF m_selectedText;
    HIMAGELIST m_images;
    HIMAGELIST m_secondImages;
    int m_imageWidth, m_imageHeight;
    int m_secondImageWidth, m_secondImageHeight;
};
