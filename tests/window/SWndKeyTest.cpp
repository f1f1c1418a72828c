#include <gtest/gtest.h>
#include "HeldKeys.h"
#include "TraceWnd.h"

namespace
{
// Counts the edit commands its shortcut keys call.
class CommandWnd : public TraceWnd
{
public:
    int undo = 0, copy = 0, remove = 0, escape = 0, save = 0, saveAs = 0;
    void OnUndo() override { undo++; }
    void OnCopy() override { copy++; }
    void OnDelete() override { remove++; }
    void OnEscape() override { escape++; }
    void OnSave() override { save++; }
    void OnSaveAs() override { saveAs++; }
};

class SWndKeyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(20, 20, 420, 220);
        ASSERT_TRUE(parent.Create("Keys", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        parent.SetForegroundWindow();
        RECT c = MakeRect(10, 10, 60, 40);
        for (TraceWnd* child : {&a, &b, &c1, &other})
        {
            ASSERT_TRUE(child->CreateChild("", WS_VISIBLE, 0, &c, parent.GetHandle()));
            OffsetRect(&c, 60, 0);
        }
        a.SetTabIndex(0);
        b.SetTabIndex(0);
        c1.SetTabIndex(0);
        other.SetTabIndex(1);
    }

    // Tab on the window; true when the pre-processor consumed it.
    static bool PressTab(TraceWnd& window)
    {
        window.SetFocus();
        window.Forget();
        window.SendMessage(WM_KEYDOWN, VK_TAB, 0);
        return window.Count(WM_KEYDOWN) == 0;
    }

    TraceWnd parent, a, b, c1, other;
};
} // namespace

TEST_F(SWndKeyTest, TabGoesToTheNextMemberInCreationOrderAndWraps)
{
    EXPECT_TRUE(PressTab(a));
    EXPECT_TRUE(b.HasFocus());
    EXPECT_TRUE(PressTab(b));
    EXPECT_TRUE(c1.HasFocus());
    EXPECT_TRUE(PressTab(c1));
    EXPECT_TRUE(a.HasFocus());
}

TEST_F(SWndKeyTest, TabSkipsDisabledAndHiddenMembers)
{
    b.EnableWindow(false);
    EXPECT_TRUE(PressTab(a));
    EXPECT_TRUE(c1.HasFocus());
    c1.ShowWindow(SW_HIDE);
    b.EnableWindow(true);
    EXPECT_TRUE(PressTab(b));
    EXPECT_TRUE(a.HasFocus());
}

TEST_F(SWndKeyTest, TabOutsideTheTabOrderOrAloneInItsGroupReachesTheHandler)
{
    a.SetTabIndex(-1);
    EXPECT_FALSE(PressTab(a));
    EXPECT_TRUE(a.HasFocus());
    // The only member of group 1.
    EXPECT_FALSE(PressTab(other));
    EXPECT_TRUE(other.HasFocus());
}

TEST_F(SWndKeyTest, EveryKeyOfAChildIsRelayedToItsPopupAncestor)
{
    parent.Forget();
    a.SendMessage(WM_KEYDOWN, 'Q', 0);
    ASSERT_EQ(1, parent.Count(SWM_CHILDKEYDOWN));
    EXPECT_EQ(static_cast<WPARAM>('Q'), parent.Last(SWM_CHILDKEYDOWN).wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(&a), parent.Last(SWM_CHILDKEYDOWN).lParam);
    // A popup has no popup ancestor to tell.
    parent.SendMessage(WM_KEYDOWN, 'Q', 0);
    EXPECT_EQ(1, parent.Count(SWM_CHILDKEYDOWN));
}

TEST_F(SWndKeyTest, PlainKeysCallTheirCommandsAndStillReachTheHandler)
{
    CommandWnd editor;
    RECT r = MakeRect(10, 100, 100, 150);
    ASSERT_TRUE(editor.CreateChild("", WS_VISIBLE, 0, &r, parent.GetHandle()));
    editor.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(0, editor.escape);
    editor.SetKeyCommandMask(SWnd::KEY_ESCAPE | SWnd::KEY_DELETE);
    editor.SendMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    editor.SendMessage(WM_KEYDOWN, VK_DELETE, 0);
    EXPECT_EQ(1, editor.escape);
    EXPECT_EQ(1, editor.remove);
    EXPECT_EQ(3, editor.Count(WM_KEYDOWN));
}

TEST_F(SWndKeyTest, ControlLettersCallOnlyTheEnabledCommands)
{
    CommandWnd editor;
    RECT r = MakeRect(10, 100, 100, 150);
    ASSERT_TRUE(editor.CreateChild("", WS_VISIBLE, 0, &r, parent.GetHandle()));
    editor.SetKeyCommandMask(SWnd::KEY_UNDO | SWnd::KEY_SAVE | SWnd::KEY_SAVEAS | SWnd::KEY_DELETE);
    {
        HeldKeys control({VK_CONTROL});
        for (WPARAM key : {WPARAM('Z'), WPARAM('C'), WPARAM('S'), WPARAM(VK_DELETE)})
        {
            // C is not enabled; Delete goes without modifiers only.
            control.Hold();
            editor.SendMessage(WM_KEYDOWN, key, 0);
        }
    }
    EXPECT_EQ(1, editor.undo);
    EXPECT_EQ(0, editor.copy);
    EXPECT_EQ(1, editor.save);
    EXPECT_EQ(0, editor.saveAs);
    EXPECT_EQ(0, editor.remove);
    {
        HeldKeys controlShift({VK_CONTROL, VK_SHIFT});
        for (WPARAM key : {WPARAM('S'), WPARAM('Z')})
        {
            // Ctrl+Shift+Z calls nothing.
            controlShift.Hold();
            editor.SendMessage(WM_KEYDOWN, key, 0);
        }
    }
    EXPECT_EQ(1, editor.saveAs);
    EXPECT_EQ(1, editor.save);
    EXPECT_EQ(1, editor.undo);
    {
        HeldKeys shift({VK_SHIFT});
        editor.SendMessage(WM_KEYDOWN, VK_DELETE, 0); // Shift+Delete calls nothing
    }
    EXPECT_EQ(0, editor.remove);
}

TEST_F(SWndKeyTest, AnEditDoesNotGetTheTabCharacter)
{
    TraceWnd edit;
    edit.SetTypeId(STYPE_EDIT);
    RECT r = MakeRect(10, 100, 100, 130);
    ASSERT_TRUE(edit.CreateSubclassed("EDIT", "", WS_CHILD | WS_VISIBLE, 0, &r, parent.GetHandle()));
    edit.SendMessage(WM_CHAR, '\t', 0);
    edit.SendMessage(WM_CHAR, 'x', 0);
    EXPECT_EQ(1, edit.Count(WM_CHAR));
    EXPECT_STREQ("x", edit.GetWindowText().GetText());
    a.SendMessage(WM_CHAR, '\t', 0);
    EXPECT_EQ(1, a.Count(WM_CHAR));
}
