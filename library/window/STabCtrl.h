// The native tab control: the page windows attached to the selected tab are
// shown, the others hidden. The pages belong to their owners.
#pragma once
#include "SWnd.h"

class STabCtrl : public SWnd
{
public:
    STabCtrl();
    ~STabCtrl() override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);
    // index < 0: after the last tab; image < 0: none. Returns the new index.
    int InsertTab(const char* text, int index = -1, int image = -1);
    int GetItemCount() const;
    int GetCurSel() const;
    bool IsValidTab(int t) const;
    void SetSelection(int t);
    // False for a null window, an invalid tab, or a window already on tab t.
    bool AttachPage(int t, SWnd* window);
    void ShowPage(int t);
    void SetTabTip(int i, const char* text);
    int GetPageCount() const { return m_pages.GetCount(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SArray<SWnd*> m_pages;  // not owned
    SArray<int> m_pageTabs; // parallel to m_pages
};
