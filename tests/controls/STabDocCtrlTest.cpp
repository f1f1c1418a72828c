#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "DockingTestSupport.h"
#include "STabDocCtrl.h"

namespace
{
struct Strip
{
    AnsweringParent parent;
    STabDocCtrl tabs;
    explicit Strip(int width = 400)
    {
        const RECT r = {0, 0, width, 200};
        tabs.CreateChildUntitled(WS_VISIBLE, 0, &r, parent.GetHandle());
    }
    std::string Captions() const
    {
        std::string all;
        for (int i = 0; i < tabs.GetItemCount(); i++)
            all += tabs.GetItem(i)->caption.GetText();
        return all;
    }
    LPARAM Centre(const RECT& r) const { return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2); }
};
} // namespace

TEST(STabDocCtrlTest, StripHeightButtonsAndTabPlacement)
{
    Strip strip;
    {
        SWindowDCGuard dc(strip.tabs.GetHandle());
        SSelectGuard font(dc.Get(), strip.tabs.GetFont());
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc.Get(), &metrics);
        EXPECT_EQ(metrics.tmHeight + 6, strip.tabs.GetStripHeight());
    }
    RECT close, right, left;
    STabDocCtrl::PlaceButtons(400, 2, 20, true, close, right, left);
    EXPECT_EQ(378, close.left);
    EXPECT_EQ(358, right.left);
    EXPECT_EQ(338, left.left);
    STabDocCtrl::PlaceButtons(400, 2, 20, false, close, right, left);
    EXPECT_TRUE(IsRectEmpty(&close));
    EXPECT_EQ(378, right.left);

    struct Case
    {
        int first, fit;
        std::vector<LONG> lefts, rights; // -1: not shown
    };
    const int widths[3] = {30, 40, 50};
    const Case cases[] = {{0, 2, {0, 31, -1}, {30, 71, -1}}, {1, 2, {-1, 0, 41}, {-1, 40, 91}}, {2, 1, {-1, -1, 0}, {-1, -1, 50}}};
    for (const Case& c : cases)
    {
        RECT out[3];
        EXPECT_EQ(c.fit, STabDocCtrl::PlaceTabs(widths, 3, c.first, 100, 1, 20, out)) << c.first;
        for (int i = 0; i < 3; i++)
        {
            EXPECT_EQ(c.lefts[i] < 0, IsRectEmpty(&out[i])) << c.first << " " << i;
            if (c.lefts[i] >= 0)
            {
                EXPECT_EQ(std::vector<LONG>({c.lefts[i], c.rights[i], 0, 20}),
                          std::vector<LONG>({out[i].left, out[i].right, out[i].top, out[i].bottom}));
            }
        }
    }
}

TEST(STabDocCtrlTest, ItemsPagesAndTheCurrentItem)
{
    Strip strip;
    EXPECT_EQ(0, strip.tabs.InsertItem("a"));
    EXPECT_EQ(1, strip.tabs.InsertItem("b", -1, 7));
    EXPECT_EQ(0, strip.tabs.InsertItem("c", 0));
    EXPECT_EQ(2, strip.tabs.InsertItem("d", 2));
    EXPECT_EQ("cadb", strip.Captions());
    EXPECT_EQ(3, strip.tabs.FindItem(7));
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(i == 2, strip.tabs.GetPage(i)->IsVisible()) << i;
    RECT page = {};
    GetWindowRect(strip.tabs.GetPage(2)->GetHandle(), &page);
    strip.tabs.ScreenToClientRect(&page);
    EXPECT_EQ(strip.tabs.GetStripHeight(), page.top);
    EXPECT_EQ(200, page.bottom);

    EXPECT_TRUE(strip.tabs.MoveItem(2, 0));
    EXPECT_EQ("dcab", strip.Captions());
    EXPECT_EQ(0, strip.tabs.GetSelection());
    EXPECT_FALSE(strip.tabs.MoveItem(4, 0));
    EXPECT_FALSE(strip.tabs.MoveItem(1, -2));

    // Deleting the current last item makes the new last one current.
    strip.tabs.SetSelection(3);
    EXPECT_TRUE(strip.tabs.DeleteItem(3));
    EXPECT_EQ(2, strip.tabs.GetSelection());
    EXPECT_TRUE(strip.tabs.GetPage(2)->IsVisible());
    for (const int outside : {-1, 3, 100})
        EXPECT_FALSE(strip.tabs.DeleteItem(outside)) << outside;
    EXPECT_EQ("dca", strip.Captions());

    EXPECT_TRUE(strip.tabs.SetItemModified(2, true));
    EXPECT_STREQ("a*", strip.tabs.GetItem(2)->GetShownCaption().GetText());
    EXPECT_EQ(3, strip.tabs.InsertItem("e", 99));
    strip.tabs.DeleteAllItems();
    EXPECT_EQ(-1, strip.tabs.GetSelection());
    EXPECT_EQ(0, strip.tabs.InsertItem("only"));
    EXPECT_TRUE(strip.tabs.DeleteItem(0));
    EXPECT_EQ(-1, strip.tabs.GetSelection());

    STabDocCtrl unplaced;
    EXPECT_EQ(-1, unplaced.InsertItem("x"));
    EXPECT_EQ(0, unplaced.GetItemCount());
}

TEST(STabDocCtrlTest, TheParentDecidesOnClosingSelectingAndMoving)
{
    Strip strip;
    strip.tabs.InsertItem("first");
    strip.tabs.InsertItem("second");
    const LPARAM closeBox = strip.Centre(strip.tabs.GetCloseRect());
    strip.parent.answers[SWM_TABDOC_CLOSEQUERY] = 1;
    strip.tabs.SendMessage(SWM_LCLICK, 0, closeBox);
    EXPECT_EQ(2, strip.tabs.GetItemCount());
    EXPECT_EQ(1, strip.parent.asked.back().lParam);
    strip.parent.answers[SWM_TABDOC_CLOSEQUERY] = 0;
    strip.tabs.SendMessage(SWM_LCLICK, 0, closeBox);
    EXPECT_EQ("first", strip.Captions());

    strip.tabs.InsertItem("third");
    const LPARAM first = strip.Centre(strip.tabs.GetTabRect(0));
    strip.parent.answers[SWM_TABDOC_SELCHANGING] = 1;
    strip.tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, first);
    EXPECT_EQ(1, strip.tabs.GetSelection());
    strip.parent.answers[SWM_TABDOC_SELCHANGING] = 0;
    strip.tabs.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, first);
    EXPECT_EQ(0, strip.tabs.GetSelection());
    EXPECT_EQ(MAKELPARAM(1, 0), strip.parent.asked.back().lParam);
    const int relayed = strip.parent.Count(SWM_TABDOC_MOUSE);
    EXPECT_GE(relayed, 2);

    // Dragging the current tab well over its neighbour swaps them unless the parent refuses.
    const RECT second = strip.tabs.GetTabRect(1);
    int dragged = 0;
    strip.parent.answers[SWM_TABDOC_MOVING] = 1;
    EXPECT_FALSE(strip.tabs.DragOver(dragged, second.right - 2, 5));
    EXPECT_EQ("firstthird", strip.Captions());
    strip.parent.answers[SWM_TABDOC_MOVING] = 0;
    EXPECT_TRUE(strip.tabs.DragOver(dragged, second.right - 2, 5));
    EXPECT_EQ("thirdfirst", strip.Captions());
    EXPECT_EQ(1, dragged);
    EXPECT_EQ(1, strip.tabs.GetSelection());

    // A middle click on the current tab closes it after asking.
    const LPARAM current = strip.Centre(strip.tabs.GetTabRect(1));
    strip.tabs.SendMessage(WM_MBUTTONUP, 0, current);
    EXPECT_EQ("third", strip.Captions());
    strip.tabs.DeleteAllItems();
    const int asked = strip.parent.Count(SWM_TABDOC_CLOSEQUERY);
    strip.tabs.SendMessage(SWM_LCLICK, 0, closeBox);
    EXPECT_EQ(asked, strip.parent.Count(SWM_TABDOC_CLOSEQUERY));
}

TEST(STabDocCtrlTest, ADragOntoAWiderTabSwapsThemOnce)
{
    Strip strip;
    strip.tabs.InsertItem("WWWWWWWWWWWW");
    strip.tabs.InsertItem("n", 0);
    const RECT narrow = strip.tabs.GetTabRect(0), wide = strip.tabs.GetTabRect(1);
    ASSERT_GE(wide.right - wide.left, 2 * (narrow.right - narrow.left));
    // The pointer crosses the wide tab, polled at every pixel, and back again.
    int dragged = 0;
    for (int x = (narrow.left + narrow.right) / 2; x < wide.right; x++)
        ASSERT_TRUE(strip.tabs.DragOver(dragged, x, 5));
    EXPECT_EQ(1, strip.parent.Count(SWM_TABDOC_MOVING));
    EXPECT_EQ("WWWWWWWWWWWWn", strip.Captions());
    EXPECT_EQ(1, dragged);
    for (int x = wide.right - 1; x >= 0; x--)
        ASSERT_TRUE(strip.tabs.DragOver(dragged, x, 5));
    EXPECT_EQ(2, strip.parent.Count(SWM_TABDOC_MOVING));
    EXPECT_EQ("nWWWWWWWWWWWW", strip.Captions());
    EXPECT_EQ(0, dragged);
}

TEST(STabDocCtrlTest, ArrowsScrollTabsAndItemsMoveToOtherStrips)
{
    Strip strip(160);
    for (const char* caption : {"one", "two", "three", "four", "five", "six"})
        strip.tabs.InsertItem(caption);
    ASSERT_LT(strip.tabs.GetVisibleCount(), 6);
    strip.tabs.SendMessage(SWM_LCLICK, 0, strip.Centre(strip.tabs.GetRightArrowRect()));
    EXPECT_EQ(1, strip.tabs.GetFirstVisible());
    const RECT hidden = strip.tabs.GetTabRect(0);
    EXPECT_TRUE(IsRectEmpty(&hidden));
    strip.tabs.SendMessage(SWM_LCLICK, 0, strip.Centre(strip.tabs.GetLeftArrowRect()));
    EXPECT_EQ(0, strip.tabs.GetFirstVisible());

    STabDocCtrl other;
    const RECT r = {0, 250, 160, 350};
    ASSERT_TRUE(other.CreateChildUntitled(WS_VISIBLE, 0, &r, strip.parent.GetHandle()));
    EXPECT_TRUE(strip.tabs.AddDropTarget(&other));
    EXPECT_FALSE(strip.tabs.AddDropTarget(&other));
    RECT window = {};
    other.GetWindowRect(&window);
    EXPECT_EQ(&other, strip.tabs.FindDropTarget(POINT{window.left + 5, window.top + 5}));
    EXPECT_EQ(nullptr, strip.tabs.FindDropTarget(POINT{window.left - 5, window.top + 5}));

    SWnd* page = strip.tabs.GetPage(5);
    EXPECT_TRUE(strip.tabs.MoveItemTo(5, &other));
    EXPECT_FALSE(strip.tabs.MoveItemTo(5, &other));
    EXPECT_EQ(4, strip.tabs.GetSelection());
    EXPECT_EQ(0, other.GetSelection());
    EXPECT_EQ(other.GetHandle(), GetParent(page->GetHandle()));
    EXPECT_EQ(&other, other.GetItem(0)->owner);

    // A strip that goes is no longer a drop target, nor drops onto the others.
    {
        STabDocCtrl gone;
        const RECT below = {0, 360, 160, 390};
        ASSERT_TRUE(gone.CreateChildUntitled(WS_VISIBLE, 0, &below, strip.parent.GetHandle()));
        EXPECT_TRUE(strip.tabs.AddDropTarget(&gone));
        EXPECT_TRUE(gone.AddDropTarget(&strip.tabs));
        EXPECT_EQ(2, strip.tabs.GetDropTargetCount());
        gone.DestroyWindow();
        EXPECT_EQ(1, strip.tabs.GetDropTargetCount());
    }
    EXPECT_TRUE(strip.tabs.RemoveDropTarget(&other));
    EXPECT_EQ(0, strip.tabs.GetDropTargetCount());
}

TEST(STabDocCtrlTest, PaintsTheStripBandAndCurrentTab)
{
    Strip strip;
    strip.tabs.SetBackColors(RGB(10, 20, 30), RGB(200, 0, 0), RGB(0, 200, 0));
    strip.tabs.SetTextColors(RGB(0, 0, 250), RGB(250, 250, 0));
    const int height = strip.tabs.GetStripHeight();
    MemoryDib dib(400, 200, RGB(1, 2, 3));
    strip.tabs.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.GetDC()), PRF_CLIENT);
    EXPECT_EQ(GetSysColor(COLOR_APPWORKSPACE), dib.Pixel(200, height + 20));
    strip.tabs.InsertItem("x");
    strip.tabs.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dib.GetDC()), PRF_CLIENT);
    EXPECT_EQ(RGB(200, 0, 0), dib.Pixel(0, 0));
    EXPECT_EQ(RGB(10, 20, 30), dib.Pixel(200, 1));
    EXPECT_EQ(RGB(0, 0, 250), dib.Pixel(200, height - 1));
}
