#include "SComboCtrl.h"
#include "SNativeCtrl.h"

SComboCtrl::SComboCtrl()
{
    SetTypeId(STYPE_COMBO);
}

SComboCtrl::~SComboCtrl() = default;

bool SComboCtrl::Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                        UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, "COMBOBOX", text, style, 0, exStyle, rect, parent, id, param);
}

int SComboCtrl::AddString(const char* text, int index) const
{
    const LPARAM item = reinterpret_cast<LPARAM>(text ? text : "");
    const LRESULT answer = index >= 0 ? SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), item)
                                      : SendMessage(CB_ADDSTRING, 0, item);
    return answer < 0 ? -1 : static_cast<int>(answer);
}
