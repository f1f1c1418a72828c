#include <gtest/gtest.h>
#include "TraceWnd.h"

namespace
{
class SWndFamilyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(0, 0, 300, 200);
        ASSERT_TRUE(top.Create("Top", WS_POPUP, 0, &r, nullptr));
        ASSERT_TRUE(owned.CreatePopup("Owned", &r, top.GetHandle()));
        ASSERT_TRUE(child.CreateChild("", 0, 0, &r, owned.GetHandle()));
        ASSERT_TRUE(grandChild.CreateChild("", 0, 0, &r, child.GetHandle()));
        button.SetTypeId(STYPE_BUTTON);
        ASSERT_TRUE(button.CreateChild("", 0, 0, &r, owned.GetHandle()));
    }

    SWnd top, owned, child, grandChild, button;
};
} // namespace

TEST_F(SWndFamilyTest, PopupAncestorIsTheNearestPopupAbove)
{
    EXPECT_EQ(owned.GetHandle(), grandChild.GetPopupAncestor(false));
    EXPECT_EQ(nullptr, owned.GetPopupAncestor(false));
    EXPECT_EQ(top.GetHandle(), owned.GetPopupAncestor(true));
    EXPECT_EQ(nullptr, top.GetPopupAncestor(true));
}

TEST_F(SWndFamilyTest, OutermostPopupAncestorIsTheLastPopupOfTheChain)
{
    EXPECT_EQ(top.GetHandle(), grandChild.GetOutermostPopupAncestor(true));
    EXPECT_EQ(top.GetHandle(), top.GetOutermostPopupAncestor(true));
    EXPECT_EQ(owned.GetHandle(), grandChild.GetOutermostPopupAncestor(false));
    EXPECT_EQ(nullptr, owned.GetOutermostPopupAncestor(false));
}

TEST_F(SWndFamilyTest, SiblingsShareTheParentAndMayBeFilteredByType)
{
    SArray<SWnd*> all, buttons, rest;
    EXPECT_EQ(1, child.CollectSiblings(&all, nullptr));
    EXPECT_EQ(&button, all.GetAt(0));
    EXPECT_EQ(0, button.CollectSiblings(&buttons, nullptr, STYPE_BUTTON));
    SArray<SWnd*> exclude;
    exclude.Add(&button);
    EXPECT_EQ(0, child.CollectSiblings(&rest, &exclude));
}

TEST_F(SWndFamilyTest, TopLevelWindowsAreTheUnownedPopups)
{
    SArray<SWnd*> tops;
    EXPECT_GT(SWnd::CollectTopLevelWindows(&tops), 0);
    EXPECT_GE(tops.Find(&top), 0);
    EXPECT_LT(tops.Find(&owned), 0);
    EXPECT_LT(tops.Find(&child), 0);
}

TEST_F(SWndFamilyTest, ChildHandlesIncludeNativeWindowsDepthFirst)
{
    HWND native = CreateWindowExA(0, "STATIC", "", WS_CHILD, 0, 0, 10, 10, child.GetHandle(),
                                  nullptr, nullptr, nullptr);
    SArray<HWND__*> direct, deep, skipping;
    EXPECT_EQ(2, SWnd::CollectChildHandles(owned.GetHandle(), &direct, nullptr, false));
    EXPECT_EQ(4, SWnd::CollectChildHandles(owned.GetHandle(), &deep, nullptr, true));
    const int at = deep.Find(child.GetHandle());
    ASSERT_GE(at, 0);
    // The child's own children follow it.
    EXPECT_GE(deep.Find(native), at + 1);
    EXPECT_GE(deep.Find(grandChild.GetHandle()), at + 1);
    SArray<HWND__*> exclude;
    exclude.Add(child.GetHandle());
    EXPECT_EQ(1, SWnd::CollectChildHandles(owned.GetHandle(), &skipping, &exclude, true));
    DestroyWindow(native);
}
