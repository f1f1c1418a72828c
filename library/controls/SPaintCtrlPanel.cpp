// The tool panel the image editor can fill: its tools in one radio run and its
// two colours, which open the colour dialog.
#include "SPaintCtrl.h"
#include "SControlColor.h"
#include "SSelector.h"

namespace
{
const int TOOL_BUTTONS = 10;
const char* const TOOL_KEYS[TOOL_BUTTONS] = {"TOOLS_DEFAULT",    "TOOLS_SELECT",    "TOOLS_ZOOM", "TOOLS_DROPPER",
                                             "TOOLS_PEN_SQUARE", "TOOLS_PEN_ROUND", "TOOLS_FILL", "TOOLS_LINE",
                                             "TOOLS_RECTANGLE",  "TOOLS_ELLIPSE"};

// What each tool button selects; -1 leaves the pen tip or the shape alone.
struct ToolChoice
{
    int tool, tip, shape;
};
const ToolChoice TOOL_CHOICES[TOOL_BUTTONS] = {{0, -1, -1}, {5, -1, -1}, {6, -1, -1}, {4, -1, -1}, {1, 1, -1},
                                               {1, 0, -1},  {2, -1, -1}, {3, -1, 0},  {3, -1, 1},  {3, -1, 2}};

bool ChooseWithDialog(HWND owner, COLORREF initial, COLORREF* chosen)
{
    SSelector selector(owner);
    if (!selector.ChooseColor(initial, true, false, true))
        return false;
    *chosen = selector.GetColor();
    return true;
}

SPaintCtrl::ColorFunction s_chooseColor = &ChooseWithDialog;

// Ten 16 x 16 pictures side by side, in the order of the tool buttons.
bool DrawToolPictures(SImage& strip)
{
    if (!strip.Create(16 * TOOL_BUTTONS, 16))
        return false;
    Gdiplus::Graphics g(strip.GetBitmap());
    g.Clear(Gdiplus::Color(0, 0, 0, 0));
    Gdiplus::Pen ink(Gdiplus::Color(255, 40, 60, 110), 1.0f);
    Gdiplus::Pen dots(Gdiplus::Color(255, 40, 60, 110), 1.0f);
    dots.SetDashStyle(Gdiplus::DashStyleDot);
    Gdiplus::SolidBrush blue(Gdiplus::Color(255, 50, 110, 200));
    const Gdiplus::Point arrow[3] = {{3, 2}, {12, 9}, {3, 13}};
    g.FillPolygon(&blue, arrow, 3);
    g.DrawRectangle(&dots, 16 + 2, 3, 11, 9);
    g.DrawEllipse(&ink, 32 + 2, 2, 8, 8);
    g.DrawLine(&ink, 32 + 9, 9, 32 + 14, 14);
    g.DrawLine(&ink, 48 + 3, 13, 48 + 11, 5);
    g.FillEllipse(&blue, 48 + 10, 2, 4, 4);
    g.FillRectangle(&blue, 64 + 5, 5, 6, 6);
    g.FillEllipse(&blue, 80 + 5, 5, 6, 6);
    const Gdiplus::Point bucket[4] = {{96 + 3, 7}, {96 + 8, 2}, {96 + 13, 7}, {96 + 8, 12}};
    g.FillPolygon(&blue, bucket, 4);
    g.DrawLine(&ink, 112 + 2, 13, 112 + 13, 2);
    g.DrawRectangle(&ink, 128 + 2, 3, 11, 9);
    g.DrawEllipse(&ink, 144 + 2, 3, 11, 9);
    return true;
}
} // namespace

void SPaintCtrl::SetColorFunction(ColorFunction function)
{
    s_chooseColor = function ? function : &ChooseWithDialog;
}

void SPaintCtrl::SetToolPanel(SPanelCtrl* panel)
{
    m_toolPanel.reset(panel);
}

void SPaintCtrl::FillToolPanel(LPARAM, LPARAM)
{
    SPanelCtrl* panel = m_toolPanel.get();
    if (!panel || !panel->AddGroup(GROUP_TOOLS, GetText("$TOOLS").GetText()))
        return;
    int checked = 0;
    for (int i = 0; i < TOOL_BUTTONS; i++)
    {
        panel->AddButton(i, GetText(TOOL_KEYS[i]).GetText(), GROUP_TOOLS);
        const ToolChoice& c = TOOL_CHOICES[i];
        if (c.tool == m_tool && (c.tip < 0 || c.tip == m_penTip) && (c.shape < 0 || c.shape == m_shape))
            checked = i;
    }
    panel->SetButtonChecked(GROUP_TOOLS, checked, true);
    SImage strip;
    if (DrawToolPictures(strip))
        panel->GetGroup(GROUP_TOOLS)->pictures.CreateFromStrip(&strip, 16, 16);
    panel->AddGroup(GROUP_COLORS, GetText("$COLORS").GetText());
    panel->AddButton(0, GetText("COLORS_MAIN").GetText(), GROUP_COLORS, SControlColor::ArgbToColorRef(m_mainColor));
    panel->AddButton(1, GetText("COLORS_SECOND").GetText(), GROUP_COLORS,
                     SControlColor::ArgbToColorRef(m_secondColor));
}

void SPaintCtrl::ChooseColorOf(SPanelCtrl* panel, int buttonId)
{
    Gdiplus::ARGB& color = buttonId == 0 ? m_mainColor : m_secondColor;
    COLORREF chosen = 0;
    if (!s_chooseColor(m_handle, SControlColor::ArgbToColorRef(color), &chosen))
        return;
    color = SControlColor::ColorRefToArgb(chosen, 0xFF);
    panel->SetButtonColor(GROUP_COLORS, buttonId, chosen & 0xFFFFFF);
}

void SPaintCtrl::HandleToolPanelClick(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* hit)
{
    if (!panel)
        return;
    if (groupId == GROUP_TOOLS && buttonId >= 0 && buttonId < TOOL_BUTTONS && panel->SelectButton(groupId, buttonId))
    {
        const ToolChoice& c = TOOL_CHOICES[buttonId];
        SetTool(c.tool);
        if (c.tip >= 0)
            SetPenTip(c.tip);
        if (c.shape >= 0)
            SetShape(c.shape);
    }
    else if (groupId == GROUP_COLORS && (buttonId == 0 || buttonId == 1))
        ChooseColorOf(panel, buttonId);
    OnToolPanelClick(panel, groupId, buttonId, hit);
}

void SPaintCtrl::_SToolPanel::OnButtonClick(int groupId, int buttonId, _SButton* button)
{
    if (m_editor)
        m_editor->HandleToolPanelClick(this, groupId, buttonId, button);
    SPanelCtrl::OnButtonClick(groupId, buttonId, button);
}
