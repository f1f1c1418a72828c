#include "PWndSecondary.h"
#include "PSettings.h"
#include "SLibrary.h"

PWndSecondary::PWndSecondary(const char* placementName)
    : m_owner(nullptr), m_placementName(placementName)
{
}

PWndSecondary::~PWndSecondary()
{
}

void PWndSecondary::SetUpFrame(const char* caption, int width, int height)
{
    HICON bigIcon = LoadIconA(GetInstance(), MAKEINTRESOURCEA(107));
    HICON smallIcon = LoadIconA(GetInstance(), MAKEINTRESOURCEA(108));
    SetClassIcon(bigIcon, smallIcon);
    SetIcon(bigIcon, smallIcon);
    SetMinTrackSize(640, 480);
    PlaceFrame(caption, width, height);
}

void PWndSecondary::PlaceFrame(const char* caption, int width, int height)
{
    SetWindowText(caption);
    MoveWindow(0, 0, width, height, false);
    CenterWindow(false);
}

void PWndSecondary::CreateStatusBar()
{
    m_statusBar.Create(WS_VISIBLE, 0, m_handle);
    m_statusBar.SetEqualParts(1);
}

void PWndSecondary::RestoreSavedPlacement()
{
    RestorePlacement(PSettings::COMPANY, PSettings::PRODUCT, m_placementName, true);
}

void PWndSecondary::SaveCurrentPlacement() const
{
    SavePlacement(PSettings::COMPANY, PSettings::PRODUCT, m_placementName);
}
