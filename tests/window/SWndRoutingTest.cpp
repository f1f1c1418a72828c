#include <gtest/gtest.h>
#include <vector>
#include "SGlobals.h"
#include "SGuards.h"
#include "SLibrary.h"
#include "SWnd.h"

namespace
{
// Keeps the messages its handler saw, in order.
class JournalWnd : public SWnd
{
public:
    std::vector<UINT> seen;
    WPARAM lastWParam = 0;
    LPARAM lastLParam = 0;
    bool Saw(UINT message) const
    {
        for (UINT m : seen)
            if (m == message)
                return true;
        return false;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        if (message == WM_APP + 1)
            return 1234;
        if (message == SWM_PARENTSIZED || message == SWM_CHANGED)
        {
            lastWParam = wParam;
            lastLParam = lParam;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

// One level further down: its own message, then its base's.
class DerivedJournalWnd : public JournalWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_APP + 2)
            return 5678;
        return JournalWnd::WindowProc(message, wParam, lParam);
    }
};

// A pre-processor that keeps WM_DESTROY to itself.
class KeepingDestroyWnd : public JournalWnd
{
public:
    bool PreProcessMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result) override
    {
        if (message == WM_DESTROY)
            return false;
        return SWnd::PreProcessMessage(message, wParam, lParam, result);
    }
};

// A handler that takes WM_DESTROY without falling back, so its handle is never forgotten by the base.
class SwallowingDestroyWnd : public SWnd
{
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DESTROY)
            return 0;
        return SWnd::WindowProc(message, wParam, lParam);
    }
};

int RegistryCount()
{
    SLockGuard lock(GetWindowRegistryLock());
    return GetWindowRegistry().GetCount();
}

RECT Rect(int left, int top, int right, int bottom)
{
    RECT r = {left, top, right, bottom};
    return r;
}
} // namespace

TEST(SWndRouting, DerivedHandlerAnswersAndFallsBackToBase)
{
    DerivedJournalWnd wnd;
    ASSERT_TRUE(wnd.CreateMessageWindow());
    EXPECT_EQ(5678, wnd.SendMessage(WM_APP + 2));
    EXPECT_EQ(1234, wnd.SendMessage(WM_APP + 1));
    // Unhandled messages end in DefWindowProcA: the text is kept by the system.
    EXPECT_TRUE(wnd.SetWindowText("Routed"));
    EXPECT_STREQ("Routed", wnd.GetWindowText().GetText());
}

TEST(SWndRouting, MessagesDuringCreateWindowNeverReachTheObject)
{
    JournalWnd wnd;
    ASSERT_TRUE(wnd.Create("Journal", WS_OVERLAPPED, 0, nullptr, nullptr));
    // The first messages are the font the pre-processor gives on SWM_CREATED, then SWM_CREATED.
    EXPECT_TRUE(wnd.Saw(SWM_CREATED));
    EXPECT_FALSE(wnd.Saw(WM_CREATE));
    EXPECT_FALSE(wnd.Saw(WM_NCCREATE));
}

TEST(SWndRouting, CreatedWindowGetsTheSmallGuiFont)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.Create("Font", WS_OVERLAPPED, 0, nullptr, nullptr));
    EXPECT_EQ(GetSmallGuiFont(), wnd.GetFont());
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), wnd.GetBackgroundColor());
}

TEST(SWndRouting, WindowWithoutParentIsAlwaysPopup)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.Create("Top", WS_OVERLAPPED | WS_CAPTION, 0, nullptr, nullptr));
    EXPECT_TRUE(wnd.IsPopup());
}

TEST(SWndRouting, VisibleStyleIsAppliedAfterCreation)
{
    SWnd wnd;
    RECT r = Rect(0, 0, 100, 80);
    ASSERT_TRUE(wnd.Create("Shown", WS_VISIBLE, 0, &r, nullptr));
    EXPECT_TRUE(wnd.IsVisible());
}

TEST(SWndRouting, SecondCreateFailsAndKeepsTheWindow)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.CreateMessageWindow(1));
    HWND first = wnd.GetHandle();
    EXPECT_FALSE(wnd.CreateMessageWindow(2));
    EXPECT_FALSE(wnd.Create("Again", 0, 0, nullptr, nullptr));
    EXPECT_EQ(first, wnd.GetHandle());
    EXPECT_TRUE(IsWindow(first));
}

TEST(SWndRouting, WindowCanBeCreatedAgainAfterDestruction)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.CreateMessageWindow());
    ASSERT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(wnd.DestroyWindow());
    EXPECT_TRUE(wnd.CreateMessageWindow());
}

TEST(SWndRouting, DeletingTheObjectDestroysItsWindowAndEntry)
{
    const int before = RegistryCount();
    auto* wnd = new SWnd;
    ASSERT_TRUE(wnd->CreateMessageWindow());
    HWND handle = wnd->GetHandle();
    delete wnd;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(nullptr, SWnd::FromHandle(handle));
    EXPECT_EQ(before, RegistryCount());
}

TEST(SWndRouting, DestroyKeptByPreProcessorStillLeavesNoEntry)
{
    const int before = RegistryCount();
    KeepingDestroyWnd wnd;
    ASSERT_TRUE(wnd.CreateMessageWindow());
    HWND handle = wnd.GetHandle();
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_FALSE(wnd.Saw(WM_DESTROY));
    EXPECT_EQ(nullptr, SWnd::FromHandle(handle));
    EXPECT_EQ(before, RegistryCount());
}

TEST(SWndRouting, HandlerThatSwallowsDestroyStillLosesItsHandle)
{
    SwallowingDestroyWnd wnd;
    ASSERT_TRUE(wnd.CreateMessageWindow());
    HWND handle = wnd.GetHandle();
    ASSERT_TRUE(DestroyWindow(handle));
    EXPECT_EQ(nullptr, wnd.GetHandle());
    EXPECT_EQ(nullptr, SWnd::FromHandle(handle));
}

TEST(SWndRouting, ParentSizeIsRelayedToEachLibraryChild)
{
    JournalWnd parent;
    RECT r = Rect(0, 0, 300, 200);
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPEDWINDOW, 0, &r, nullptr));
    JournalWnd first, second;
    RECT c = Rect(0, 0, 50, 50);
    ASSERT_TRUE(first.CreateChild("", 0, 0, &c, parent.GetHandle()));
    ASSERT_TRUE(second.CreateChild("", 0, 0, &c, parent.GetHandle()));
    parent.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(123, 45));
    EXPECT_EQ(static_cast<WPARAM>(SIZE_RESTORED), first.lastWParam);
    EXPECT_EQ(MAKELPARAM(123, 45), first.lastLParam);
    EXPECT_EQ(MAKELPARAM(123, 45), second.lastLParam);
}

TEST(SWndRouting, ChildrenTakeTheirParentsSequenceNumbers)
{
    SWnd parent, a, b, c;
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPED, 0, nullptr, nullptr));
    ASSERT_TRUE(a.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    ASSERT_TRUE(b.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    ASSERT_TRUE(c.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    EXPECT_EQ(0, a.GetChildSequence());
    EXPECT_EQ(1, b.GetChildSequence());
    EXPECT_EQ(2, c.GetChildSequence());
    EXPECT_EQ(3, parent.GetNextChildSequence());
}

TEST(SWndRouting, CollectChildrenFiltersByTypeExcludesAndRecurses)
{
    SWnd parent, a, b, grandChild;
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPED, 0, nullptr, nullptr));
    ASSERT_TRUE(a.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    b.SetTypeId(STYPE_BUTTON);
    ASSERT_TRUE(b.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    ASSERT_TRUE(grandChild.CreateChild("", 0, 0, nullptr, a.GetHandle()));

    SArray<SWnd*> direct;
    EXPECT_EQ(2, parent.CollectChildren(&direct, nullptr, false));
    SArray<SWnd*> all;
    EXPECT_EQ(3, parent.CollectChildren(&all, nullptr, true));
    SArray<SWnd*> buttons;
    EXPECT_EQ(1, parent.CollectChildren(&buttons, nullptr, true, STYPE_BUTTON));
    EXPECT_EQ(&b, buttons.GetAt(0));
    SArray<SWnd*> exclude;
    exclude.Add(&a);
    SArray<SWnd*> rest;
    EXPECT_EQ(1, parent.CollectChildren(&rest, &exclude, true));
    EXPECT_EQ(&b, rest.GetAt(0));
}

TEST(SWndRouting, NotifyChangedReachesTheParentWithTheSender)
{
    JournalWnd parent;
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPED, 0, nullptr, nullptr));
    SWnd child, other;
    ASSERT_TRUE(child.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    child.NotifyChanged(17);
    EXPECT_EQ(reinterpret_cast<WPARAM>(&child), parent.lastWParam);
    EXPECT_EQ(17, parent.lastLParam);
    child.NotifyChanged(18, &other);
    EXPECT_EQ(reinterpret_cast<WPARAM>(&other), parent.lastWParam);
    SWnd orphan;
    ASSERT_TRUE(orphan.Create("Orphan", WS_OVERLAPPED, 0, nullptr, nullptr));
    EXPECT_EQ(0, orphan.NotifyChanged(1));
}

TEST(SWndRouting, TabIndexBelowZeroIsStoredAsMinusOne)
{
    SWnd wnd;
    wnd.SetTabIndex(-7);
    EXPECT_EQ(-1, wnd.GetTabGroup());
    wnd.SetTabIndex(3);
    EXPECT_EQ(3, wnd.GetTabGroup());
}

TEST(SWndSubclass, NativeControlMessagesReachTheDerivedHandler)
{
    SWnd parent;
    RECT r = Rect(0, 0, 200, 100);
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPED, 0, &r, nullptr));
    DerivedJournalWnd button;
    RECT b = Rect(5, 5, 105, 30);
    ASSERT_TRUE(button.CreateSubclassed("BUTTON", "Press", WS_CHILD | WS_VISIBLE, 0, &b,
                                        parent.GetHandle(), 10));
    EXPECT_TRUE(button.IsSubclassed());
    EXPECT_TRUE(button.Saw(SWM_CREATED));
    EXPECT_FALSE(button.Saw(WM_CREATE));
    EXPECT_EQ(5678, button.SendMessage(WM_APP + 2));
    // The control's own procedure still answers what the class passes on.
    EXPECT_STREQ("Press", button.GetWindowText().GetText());
    EXPECT_EQ(10, button.GetId());
    EXPECT_EQ(static_cast<LRESULT>(BST_UNCHECKED), button.SendMessage(BM_GETCHECK));
}

TEST(SWndSubclass, DestroyedControlGetsItsOwnProcedureBack)
{
    SWnd parent;
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPED, 0, nullptr, nullptr));
    JournalWnd edit;
    ASSERT_TRUE(edit.CreateSubclassed("EDIT", "text", WS_CHILD, 0, nullptr, parent.GetHandle()));
    ASSERT_TRUE(edit.DestroyWindow());
    EXPECT_TRUE(edit.Saw(WM_DESTROY));
    // The last message went to the control's own procedure, not to the object.
    EXPECT_FALSE(edit.Saw(WM_NCDESTROY));
}

TEST(SWndSubclass, RefusedControlLeavesNoWindowAndNoEntry)
{
    class RefusingControl : public SWnd
    {
    public:
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            return message == SWM_CREATED ? 1 : SWnd::WindowProc(message, wParam, lParam);
        }
    };
    SWnd parent;
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPED, 0, nullptr, nullptr));
    const int before = RegistryCount();
    RefusingControl control;
    EXPECT_FALSE(control.CreateSubclassed("STATIC", "x", WS_CHILD, 0, nullptr, parent.GetHandle()));
    EXPECT_EQ(nullptr, control.GetHandle());
    EXPECT_EQ(before, RegistryCount());
}

TEST(SWndCreate, PopupStylesFollowTheResizableFlag)
{
    SWnd sizable, fixed;
    RECT r = Rect(10, 10, 210, 110);
    ASSERT_TRUE(sizable.CreatePopup("Sizable", &r, nullptr, 0, true));
    ASSERT_TRUE(fixed.CreatePopup("Fixed", &r, nullptr, 0, false));
    EXPECT_EQ(0x80CC0000u, sizable.GetStyle() & 0xFFFF0000u & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(0x80C80000u, fixed.GetStyle() & 0xFFFF0000u & ~WS_CLIPSIBLINGS);
}

TEST(SWndCreate, ChildCallsAddChildStyleUnlessPopup)
{
    SWnd parent, child;
    ASSERT_TRUE(parent.Create("Parent", WS_OVERLAPPED, 0, nullptr, nullptr));
    ASSERT_TRUE(child.CreateChildUntitled(0, 0, nullptr, parent.GetHandle(), 5, 0, 0));
    EXPECT_TRUE(child.GetStyle() & WS_CHILD);
    EXPECT_EQ(parent.GetHandle(), child.GetParent());
    EXPECT_EQ(5, child.GetId());
}

TEST(SWndCreate, MessageWindowHasNoVisibleParent)
{
    SWnd wnd;
    ASSERT_TRUE(wnd.CreateMessageWindow(3));
    EXPECT_FALSE(wnd.IsPopup());
    EXPECT_EQ(0, wnd.GetWindowTextLength());
}
