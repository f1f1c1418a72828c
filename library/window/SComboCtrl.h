// A combo box on the native "COMBOBOX" class, with an add-or-insert operation.
#pragma once
#include "SWnd.h"

class SComboCtrl : public SWnd
{
public:
    SComboCtrl();
    ~SComboCtrl() override;

    bool Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    // At the index, or at the end for a negative one; the new index, -1 on failure.
    int AddString(const char* text, int index = -1) const;
};
