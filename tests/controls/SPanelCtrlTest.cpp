#include <gtest/gtest.h>
#include <algorithm>
#include <vector>
#include "SGuards.h"
#include "SImage.h"
#include "SMemory.h"
#include "SPanelCtrl.h"

namespace
{
// Records what the panel tells itself and its derived class.
class RecordingPanel : public SPanelCtrl
{
public:
    std::vector<LPARAM> sent;
    std::vector<int> clicked;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_PANEL_BUTTON)
            sent.push_back(lParam);
        return SPanelCtrl::WindowProc(message, wParam, lParam);
    }
    void OnButtonClick(int groupId, int buttonId, _SButton*) override { clicked.push_back(buttonId); }
};

// Group 1: buttons 10, 11 | 12, 13 | 14 (a separator between each run).
void FillRuns(SPanelCtrl& panel)
{
    panel.AddGroup(1, "Tools");
    const int layout[] = {10, 11, -1, 12, 13, -1, 14};
    for (int id : layout)
        id < 0 ? panel.AddSeparator() : panel.AddButton(id, "b");
}
} // namespace

TEST(SPanelCtrlTest, LayoutFlowsButtonsAndSeparatorsInRows)
{
    struct Case
    {
        int width;
        int index; // entry of group 1
        int x, y, w;
    };
    // Header 20: entries start at y = 21, rows are 24 high.
    const Case cases[] = {
        {200, 0, 12, 21, 24}, {200, 1, 36, 21, 24}, {200, 2, 60, 21, 7},  {200, 3, 67, 21, 24},
        {100, 3, 67, 21, 24}, {100, 5, 36, 45, 7},  {100, 6, 43, 45, 24}, {20, 0, 12, 21, 24},
        {20, 1, 12, 45, 24},  {20, 6, 12, 165, 24},
    };
    SPanelCtrl panel;
    panel.SetHeaderHeight(20);
    FillRuns(panel);
    panel.AddGroup(2, "Second");
    panel.AddButton(1, "x");
    for (const Case& c : cases)
    {
        panel.Layout(c.width);
        const SPanelCtrl::_SButton* b = panel.GetGroup(1)->buttons.GetAt(c.index);
        EXPECT_EQ(c.x, b->x) << c.width << " " << c.index;
        EXPECT_EQ(c.y, b->y) << c.width << " " << c.index;
        EXPECT_EQ(c.w, b->width) << c.width << " " << c.index;
    }
    // Width 20: seven rows, then the next group's header one pixel below.
    EXPECT_EQ(21 + 7 * 24, panel.GetGroup(1)->area.bottom);
    EXPECT_EQ(21 + 7 * 24 + 1, panel.GetGroup(2)->header.top);
    int group = 0, button = 0;
    EXPECT_TRUE(panel.HitTest(12, 21, false, group, button));
    EXPECT_EQ(1, group);
    EXPECT_EQ(10, button);
    EXPECT_FALSE(panel.HitTest(11, 21, false, group, button));
    EXPECT_EQ(-1, group);
}

TEST(SPanelCtrlTest, GroupsButtonsAndRuns)
{
    SPanelCtrl panel;
    EXPECT_FALSE(panel.AddButton(1, "none"));
    FillRuns(panel);
    EXPECT_EQ(nullptr, panel.AddGroup(1, "again"));
    EXPECT_EQ(nullptr, panel.AddGroup(-1, "bad"));
    EXPECT_EQ(1, panel.GetGroupCount());
    EXPECT_EQ(2, panel.GetButton(1, 12)->picture);

    ASSERT_TRUE(panel.SetButtonChecked(1, 10, true));
    ASSERT_TRUE(panel.SetButtonChecked(1, 14, true));
    EXPECT_TRUE(panel.SelectButton(1, 13));
    EXPECT_FALSE(panel.SelectButton(1, 13));
    EXPECT_TRUE(panel.SelectButton(1, 12));
    const int expected[][2] = {{10, 1}, {11, 0}, {12, 1}, {13, 0}, {14, 1}};
    for (const auto& e : expected)
        EXPECT_EQ(e[1] != 0, panel.IsButtonChecked(1, e[0])) << e[0];

    EXPECT_TRUE(panel.EnableButton(1, 12, false, true, false));
    EXPECT_FALSE(panel.GetButton(1, 13)->enabled);
    EXPECT_TRUE(panel.GetButton(1, 11)->enabled);
    EXPECT_FALSE(panel.EnableButton(1, 12, false, false, false));
    panel.GetGroup(1)->open = false;
    EXPECT_FALSE(panel.EnableGroup(1, true, false));
}

TEST(SPanelCtrlTest, HeaderFollowsTheFontAndClicksReportEnabledButtonsOnly)
{
    SWnd parent;
    RECT r = {0, 0, 300, 200};
    ASSERT_TRUE(parent.Create("Panel", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    RecordingPanel panel;
    RECT child = {0, 0, 200, 150};
    ASSERT_TRUE(panel.CreateChild("", WS_VISIBLE, 0, &child, parent.GetHandle()));
    {
        SWindowDCGuard dc(panel.GetHandle());
        SSelectGuard font(dc.Get(), panel.GetFont() ? panel.GetFont() : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc.Get(), &metrics);
        EXPECT_EQ(std::max<int>(metrics.tmHeight + 2, 16), panel.GetHeaderHeight());
    }
    panel.AddGroup(3, "G");
    panel.AddButton(7, "seven");
    panel.AddButton(9, "nine");
    panel.EnableButton(3, 7, false, false, false);
    const int top = panel.GetHeaderHeight() + 1;
    panel.SendMessage(SWM_LCLICK, 0, MAKELPARAM(13, top + 2));
    EXPECT_TRUE(panel.sent.empty());
    panel.SendMessage(SWM_LCLICK, 0, MAKELPARAM(40, top + 2));
    ASSERT_EQ(1u, panel.sent.size());
    EXPECT_EQ(3 | (9 << 16), panel.sent[0]);
    EXPECT_EQ(std::vector<int>{9}, panel.clicked);
}

TEST(SPanelCtrlTest, GroupPicturesAreCutFromAStream)
{
    SImage strip(64, 16);
    SMemory png;
    ASSERT_TRUE(strip.Save(&png, SImage::FORMAT_PNG));
    png.SeekToStart();
    SPanelCtrl panel;
    ASSERT_NE(nullptr, panel.AddGroup(4, "Pictures", &png));
    EXPECT_EQ(4, ImageList_GetImageCount(panel.GetGroup(4)->pictures.GetHandle()));
    SMemory garbage;
    garbage.WriteText("not a picture");
    garbage.SeekToStart();
    EXPECT_FALSE(panel.SetGroupPictures(4, &garbage));
    EXPECT_EQ(nullptr, panel.GetGroup(4)->pictures.GetHandle());
    EXPECT_FALSE(panel.SetGroupPictures(5, &garbage));
}
