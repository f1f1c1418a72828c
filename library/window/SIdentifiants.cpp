#include "SIdentifiants.h"

namespace
{
struct NamedNumber
{
    int number;
    const char* name;
};

const NamedNumber cursorNames[] = {
    {0, "Arrow"}, {1, "AppStarting"}, {2, "Cross"}, {4, "Help"}, {5, "IBeam"}, {6, "No"},
    {7, "SizeAll"}, {8, "SizeNESW"}, {9, "SizeNS"}, {10, "SizeNWSE"}, {11, "SizeWE"},
    {12, "UpArrow"}, {13, "Wait"}, {15, "Dropper"}, {16, "Fill"}, {17, "HandMove"},
    {18, "Pen"}, {19, "Zoom"},
};

const NamedNumber colorNames[] = {
    {21, "3DDkShadow"}, {15, "3DFace"}, {20, "3DHighLight"}, {22, "3DLight"},
    {16, "3DShadow"}, {10, "ActiveBorder"}, {2, "ActiveCaption"}, {12, "AppWorkspace"},
    {1, "Background"}, {18, "BtnText"}, {9, "CaptionText"}, {27, "GradientActiveCaption"},
    {28, "GradientInactiveCaption"}, {17, "GrayText"}, {13, "HighLight"},
    {14, "HighLightText"}, {26, "HotLight"}, {11, "InactiveBorder"}, {3, "InactiveCaption"},
    {19, "InactiveCaptionText"}, {24, "InfoBk"}, {23, "InfoText"}, {4, "Menu"},
    {29, "MenuHiLight"}, {30, "MenuBar"}, {7, "MenuText"}, {0, "ScrollBar"}, {5, "Window"},
    {6, "WindowFrame"}, {8, "WindowText"},
};

SString NameOf(const SArray<int>& numbers, const SArrayString& names, int number)
{
    const int i = numbers.Find(number);
    return i < 0 ? SString("") : names.GetAt(i);
}
} // namespace

SIdentifiants::SIdentifiants()
{
    for (const NamedNumber& entry : cursorNames)
    {
        m_cursorNumbers.Add(entry.number);
        m_cursorNames.Add(entry.name);
    }
    for (const NamedNumber& entry : colorNames)
    {
        m_colorIndexes.Add(entry.number);
        m_colorNames.Add(entry.name);
    }
}

SString SIdentifiants::GetColorName(int index) const
{
    return NameOf(m_colorIndexes, m_colorNames, index);
}

SString SIdentifiants::GetCursorName(int number) const
{
    return NameOf(m_cursorNumbers, m_cursorNames, number);
}
