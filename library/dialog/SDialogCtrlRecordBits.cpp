#include "SDialogCtrl.h"

void SDialogCtrl::_SCtrl::SetStyleBits(DWORD mask, bool exstyle)
{
    (exstyle ? m_exstyle : m_style) |= mask;
}

void SDialogCtrl::_SCtrl::ClearStyleBits(DWORD mask, bool exstyle)
{
    (exstyle ? m_exstyle : m_style) &= ~mask;
}

bool SDialogCtrl::_SCtrl::ToggleStyleBits(DWORD mask, bool exstyle)
{
    if (HasStyleBits(mask, exstyle))
        ClearStyleBits(mask, exstyle);
    else
        SetStyleBits(mask, exstyle);
    return HasStyleBits(mask, exstyle);
}

bool SDialogCtrl::_SCtrl::HasStyleBits(DWORD mask, bool exstyle) const
{
    return ((exstyle ? m_exstyle : m_style) & mask) == mask;
}

void SDialogCtrl::_SCtrl::SwapSize()
{
    const short width = m_width;
    m_width = m_height;
    m_height = width;
}
