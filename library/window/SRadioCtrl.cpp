#include "SRadioCtrl.h"
#include "SControlNotify.h"
#include "SNativeCtrl.h"

namespace
{
// A click selects the button (the native control never checks itself).
void RadioCommand(SWnd* parent, SWnd* child, int code)
{
    if (code != BN_CLICKED)
        return;
    static_cast<SRadioCtrl*>(child)->Select();
    parent->SendMessage(SWM_RADIO_CLICKED, reinterpret_cast<WPARAM>(child), 0);
}
} // namespace

SRadioCtrl::SRadioCtrl() : m_group(-1)
{
    SetTypeId(STYPE_RADIO);
    // Registered by every radio button, so a translation replaced meanwhile comes back.
    SControlNotify::Register(STYPE_RADIO, RadioCommand, nullptr);
}

SRadioCtrl::~SRadioCtrl() = default;

bool SRadioCtrl::Create(const char* caption, DWORD style, DWORD exStyle, const RECT* rect,
                        HWND parent, UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, "BUTTON", caption, style, BS_RADIOBUTTON, exStyle, rect, parent,
                               id, param);
}

void SRadioCtrl::Select()
{
    ButtonSetCheck(BST_CHECKED);
    if (m_group == -1)
        return;
    SArray<SWnd*> siblings;
    CollectSiblings(&siblings, nullptr, STYPE_RADIO);
    for (int i = 0; i < siblings.GetCount(); i++)
    {
        SRadioCtrl* radio = static_cast<SRadioCtrl*>(siblings.GetAt(i));
        if (radio->m_group == m_group)
            radio->ButtonSetCheck(BST_UNCHECKED);
    }
}

LRESULT SRadioCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return SNativeCtrl::RelayAndHandle(this, SWM_RADIO_MOUSE, message, wParam, lParam);
}

HBRUSH SRadioCtrl::OnCtlColorStatic(HDC dc)
{
    return m_color.MakeBrush(GetBackgroundColor());
}
