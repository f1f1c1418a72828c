#include <gtest/gtest.h>
#include <vector>
#include "DockingTestSupport.h"
#include "SMemory.h"
#include "SPaintCtrl.h"

namespace
{
const Gdiplus::ARGB RED = 0xFFFF0000, GREEN = 0xFF00FF00, BLUE = 0xFF0000FF, BLACK = 0xFF000000;

class RecordingEditor : public SPaintCtrl
{
public:
    std::vector<std::pair<bool, Gdiplus::ARGB>> picked;
    void OnColorPicked(bool main, Gdiplus::ARGB color) override { picked.push_back({main, color}); }
};

struct Editor
{
    AnsweringParent parent;
    RecordingEditor paint;
    // A red picture of that size in a 200 x 100 window.
    explicit Editor(int width = 20, int height = 20)
    {
        const RECT r = {0, 0, 200, 100};
        paint.CreateChildUntitled(WS_VISIBLE, 0, &r, parent.GetHandle());
        paint.GetImage().Create(width, height);
        paint.GetImage().FillRectangle(nullptr, RED);
    }
    Gdiplus::ARGB At(int x, int y) const
    {
        Gdiplus::ARGB color = 0;
        const_cast<RecordingEditor&>(paint).GetImage().GetPixel(x, y, &color);
        return color;
    }
    // The select tool pressed at one pixel, moved to another and released.
    void DragSelection(POINT from, POINT to)
    {
        paint.BeginSelection(from);
        paint.SelectionTo(to);
        paint.EndSelection();
    }
    std::vector<Gdiplus::ARGB> All()
    {
        std::vector<Gdiplus::ARGB> all;
        for (int y = 0; y < paint.GetPictureHeight(); y++)
            for (int x = 0; x < paint.GetPictureWidth(); x++)
                all.push_back(At(x, y));
        return all;
    }
};

bool s_chooserCalled = false;
bool ChooseTeal(HWND, COLORREF, COLORREF* chosen)
{
    s_chooserCalled = true;
    *chosen = RGB(0, 128, 128);
    return true;
}
} // namespace

TEST(SPaintCtrlTest, ToolsPenSizeLanguageAndWheel)
{
    Editor editor;
    const int tools[][2] = {{7, 0}, {-1, 0}, {6, 6}, {1, 1}};
    for (const auto& t : tools)
    {
        editor.paint.SetTool(t[0]);
        EXPECT_EQ(t[1], editor.paint.GetTool()) << t[0];
    }
    editor.paint.SetPenSize(-3);
    EXPECT_EQ(0, editor.paint.GetPenSize());
    editor.paint.SetPenSize(1);
    for (int i = 0; i < 2; i++)
        editor.paint.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(0, editor.paint.GetPenSize());
    editor.paint.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(1, editor.paint.GetPenSize());
    editor.paint.SetTool(SPaintCtrl::TOOL_ZOOM);
    editor.paint.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(2.0, editor.paint.GetZoom());

    EXPECT_STREQ("Square Pen", editor.paint.GetText("TOOLS_PEN_SQUARE").GetText());
    editor.paint.SetLanguage(false);
    EXPECT_STREQ("S\xE9lection", editor.paint.GetText("TOOLS_SELECT").GetText());
    EXPECT_STREQ("Stylo Pointe Carr\xE9" "e", editor.paint.GetText("TOOLS_PEN_SQUARE").GetText());
    EXPECT_STREQ("", editor.paint.GetText("TOOLS_NONE").GetText());
}

TEST(SPaintCtrlTest, ZoomStaysInItsRangeAndOneMappingHoldsAtEveryZoom)
{
    struct Axis
    {
        int zoomed, scroll, client, start, length;
    };
    const Axis axes[] = {{50, 0, 100, 25, 50}, {200, 0, 100, 0, 100}, {200, 150, 100, 25, 50}, {0, 0, 100, 50, 0}};
    for (const Axis& a : axes)
    {
        int start = 0, length = 0;
        SPaintCtrl::PlaceAxis(a.zoomed, a.scroll, a.client, start, length);
        EXPECT_EQ(a.start, start) << a.zoomed << " " << a.scroll;
        EXPECT_EQ(a.length, length) << a.zoomed << " " << a.scroll;
    }

    Editor editor(40, 20);
    int steps = 0;
    while (editor.paint.Zoom(true))
        steps++;
    EXPECT_EQ(5, steps);
    EXPECT_EQ(32.0, editor.paint.GetZoom());
    steps = 0;
    while (editor.paint.Zoom(false))
        steps++;
    EXPECT_EQ(9, steps);
    EXPECT_EQ(1.0 / 16, editor.paint.GetZoom());

    // Picture 40 x 20 centred in 200 x 100: zoom 2 from (60, 30), zoom 1/2 from (90, 45).
    struct Case
    {
        int zoomIns;
        int x, y, px, py;
    };
    const Case cases[] = {{5, 60 + 13, 30 + 7, 6, 3}, {3, 90 + 5, 45 + 3, 10, 6}, {4, 80 + 39, 40 + 19, 39, 19}};
    for (const Case& c : cases)
    {
        editor.paint.ResetView();
        while (editor.paint.Zoom(false))
        {
        }
        for (int i = 0; i < c.zoomIns; i++)
            editor.paint.Zoom(true);
        POINT pixel = {};
        ASSERT_TRUE(editor.paint.ScreenToPixel(c.x, c.y, pixel)) << c.zoomIns;
        EXPECT_EQ(c.px, pixel.x) << c.zoomIns;
        EXPECT_EQ(c.py, pixel.y) << c.zoomIns;
        const POINT back = editor.paint.PixelToScreen(pixel.x, pixel.y);
        EXPECT_LE(back.x, c.x);
        EXPECT_GT(back.x + editor.paint.GetZoom(), c.x);
    }
    POINT outside = {};
    EXPECT_FALSE(editor.paint.ScreenToPixel(5, 5, outside));

    Editor large(400, 300);
    large.paint.ScrollTo(30, 40);
    POINT pixel = {};
    ASSERT_TRUE(large.paint.ScreenToPixel(5, 6, pixel));
    EXPECT_EQ(35, pixel.x);
    EXPECT_EQ(46, pixel.y);
}

TEST(SPaintCtrlTest, AMovedSelectionLeavesTheSecondColour)
{
    Editor editor;
    editor.paint.GetImage().SetPixel(2, 2, BLUE);
    editor.paint.SetSecondColor(GREEN);
    editor.paint.SetTool(SPaintCtrl::TOOL_SELECT);
    editor.DragSelection(POINT{2, 2}, POINT{6, 6});
    ASSERT_TRUE(editor.paint.HasSelection());
    editor.DragSelection(POINT{3, 3}, POINT{13, 3});
    EXPECT_EQ(GREEN, editor.At(2, 2));
    EXPECT_EQ(GREEN, editor.At(5, 5));
    EXPECT_EQ(BLUE, editor.At(12, 2));
    EXPECT_EQ(RED, editor.At(15, 5));
    EXPECT_EQ(RED, editor.At(16, 5));
    const RECT moved = editor.paint.GetSelectionRect();
    EXPECT_EQ(12, moved.left);
    EXPECT_EQ(16, moved.right);
    EXPECT_EQ(1, editor.parent.Count(SWM_CHANGED));

    editor.paint.SendMessage(WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(3, editor.paint.GetSelectionRect().top);
    editor.paint.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_FALSE(editor.paint.HasSelection());
    EXPECT_EQ(RED, editor.At(12, 2));
    EXPECT_EQ(GREEN, editor.At(2, 2));
}

TEST(SPaintCtrlTest, AnotherToolsEditSurvivesALaterMoveOrDeleteOfTheSelection)
{
    // The pen draws inside the selection, then the selection is dragged or deleted.
    struct Case
    {
        bool choosePen, drag;
    };
    const Case cases[] = {{true, true}, {false, false}};
    for (const Case& c : cases)
    {
        Editor editor;
        editor.paint.SetSecondColor(GREEN);
        editor.paint.SetTool(SPaintCtrl::TOOL_SELECT);
        editor.DragSelection(POINT{2, 2}, POINT{6, 6});
        ASSERT_TRUE(editor.paint.HasSelection());
        if (c.choosePen)
            editor.paint.SetTool(SPaintCtrl::TOOL_PEN);
        editor.paint.BeginPen(true);
        const POINT dot = {4, 4};
        editor.paint.PenTo(&dot);
        editor.paint.SetTool(SPaintCtrl::TOOL_SELECT);
        if (c.drag)
            editor.DragSelection(POINT{3, 3}, POINT{13, 3});
        else
            editor.paint.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
        EXPECT_EQ(BLACK, editor.At(4, 4)) << c.drag;
        EXPECT_EQ(RED, editor.At(14, 4)) << c.drag;
        EXPECT_EQ(RED, editor.At(2, 2)) << c.drag;
    }
}

TEST(SPaintCtrlTest, EscapeRestoresThePictureAndToolsDrawInTheirColours)
{
    Editor editor;
    editor.paint.GetImage().SetPixel(4, 4, BLUE);
    const std::vector<Gdiplus::ARGB> before = editor.All();
    editor.paint.SetShape(SPaintCtrl::SHAPE_RECTANGLE);
    editor.paint.SetPenSize(2);
    editor.paint.BeginShape(POINT{1, 1}, true);
    editor.paint.ShapeTo(POINT{12, 10});
    EXPECT_NE(before, editor.All());
    editor.paint.CancelShape();
    EXPECT_EQ(before, editor.All());

    editor.paint.SetPenSize(1);
    editor.paint.BeginPen(true);
    const POINT dot = {15, 15};
    EXPECT_TRUE(editor.paint.PenTo(&dot));
    EXPECT_EQ(BLACK, editor.At(15, 15));
    editor.paint.SetSecondColor(GREEN);
    EXPECT_TRUE(editor.paint.FillAt(POINT{0, 19}, false));
    EXPECT_EQ(GREEN, editor.At(19, 0));
    EXPECT_EQ(BLUE, editor.At(4, 4));
    EXPECT_TRUE(editor.paint.PickColor(POINT{4, 4}, true));
    EXPECT_EQ(BLUE, editor.paint.GetMainColor());
    ASSERT_EQ(1u, editor.paint.picked.size());
    EXPECT_TRUE(editor.paint.picked[0].first);
    EXPECT_FALSE(editor.paint.PickColor(POINT{40, 4}, true));
}

TEST(SPaintCtrlTest, EditsWhoseCopyOfThePictureCannotBeMadeLeaveIt)
{
    // A shape with no copy of the picture at its press; a selection whose
    // pixels GDI+ refuses to clone (it reaches off the picture), then moved and deleted.
    for (int selection = 0; selection < 2; selection++)
    {
        Editor editor;
        editor.paint.SetSecondColor(GREEN);
        editor.paint.GetImage().SetPixel(4, 4, BLUE);
        const std::vector<Gdiplus::ARGB> before = editor.All();
        if (!selection)
        {
            editor.paint.ShapeTo(POINT{12, 10});
            editor.paint.CancelShape();
        }
        else
        {
            editor.paint.SetTool(SPaintCtrl::TOOL_SELECT);
            editor.DragSelection(POINT{2, 2}, POINT{50, 50});
            EXPECT_FALSE(editor.paint.HasSelection());
            editor.DragSelection(POINT{3, 3}, POINT{13, 3});
            editor.paint.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
        }
        EXPECT_EQ(before, editor.All()) << selection;
        EXPECT_EQ(0, editor.parent.Count(SWM_CHANGED)) << selection;
    }
}

TEST(SPaintCtrlTest, ToolPanelPicksToolsAndColours)
{
    Editor editor;
    SPaintCtrl::_SToolPanel* panel = new SPaintCtrl::_SToolPanel(&editor.paint);
    editor.paint.SetToolPanel(panel);
    editor.paint.FillToolPanel(0, 0);
    ASSERT_EQ(2, panel->GetGroupCount());
    EXPECT_STREQ("Tools", panel->GetGroup(SPaintCtrl::GROUP_TOOLS)->title.GetText());
    EXPECT_TRUE(panel->IsButtonChecked(SPaintCtrl::GROUP_TOOLS, 0));
    struct Case
    {
        int button, tool, tip, shape;
    };
    const Case cases[] = {{4, 1, 1, 0}, {5, 1, 0, 0}, {9, 3, 0, 2}, {1, 5, 0, 2}};
    for (const Case& c : cases)
    {
        panel->OnButtonClick(SPaintCtrl::GROUP_TOOLS, c.button, nullptr);
        EXPECT_EQ(c.tool, editor.paint.GetTool()) << c.button;
        EXPECT_EQ(c.tip, editor.paint.GetPenTip()) << c.button;
        EXPECT_EQ(c.shape, editor.paint.GetShape()) << c.button;
    }
    SPaintCtrl::SetColorFunction(&ChooseTeal);
    panel->OnButtonClick(SPaintCtrl::GROUP_COLORS, 1, nullptr);
    SPaintCtrl::SetColorFunction(nullptr);
    EXPECT_TRUE(s_chooserCalled);
    EXPECT_EQ(0xFF008080u, editor.paint.GetSecondColor());
    EXPECT_EQ(RGB(0, 128, 128), panel->GetButton(SPaintCtrl::GROUP_COLORS, 1)->color);
}

TEST(SPaintCtrlTest, LoadedPicturesPaintAtTheZoom)
{
    Editor editor;
    SImage blue(40, 20);
    blue.FillRectangle(nullptr, BLUE);
    SMemory png;
    ASSERT_TRUE(blue.Save(&png, SImage::FORMAT_PNG));
    png.SeekToStart();
    editor.paint.Zoom(true);
    ASSERT_TRUE(editor.paint.LoadImage(&png));
    EXPECT_EQ(1.0, editor.paint.GetZoom());
    EXPECT_EQ(0xFF00FFu, editor.paint.GetImage().GetBackgroundColor());
    SMemory garbage;
    garbage.WriteText("no picture");
    garbage.SeekToStart();
    EXPECT_FALSE(editor.paint.LoadImage(&garbage));

    editor.paint.Zoom(true);
    MemoryDib dib(200, 100, RGB(1, 2, 3));
    editor.paint.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.GetDC()), PRF_CLIENT);
    // 80 x 40 from (60, 30).
    EXPECT_EQ(RGB(0, 0, 255), dib.Pixel(60, 30));
    EXPECT_EQ(RGB(0, 0, 255), dib.Pixel(139, 69));
    const COLORREF ground = dib.Pixel(59, 50);
    EXPECT_TRUE(ground == GetSysColor(COLOR_APPWORKSPACE) || ground == GetSysColor(COLOR_3DFACE)) << ground;
}
