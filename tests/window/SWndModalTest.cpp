#include <gtest/gtest.h>
#include <functional>
#include "TraceWnd.h"

namespace
{
// What a run returns when the step never ended it.
const int RUN_NOT_ENDED = -12345;

// A popup whose timer runs one step of the test inside its modal run. A second
// timer ends a run that the step failed to end, so a fault fails the test
// instead of leaving it waiting for ever.
class TimedWnd : public TraceWnd
{
public:
    std::function<void(TimedWnd&)> onTimer;

    void StartTimer()
    {
        SetTimer(1, 10);
        SetTimer(2, 10000);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER && wParam == 1)
        {
            KillTimer(1);
            if (onTimer)
                onTimer(*this);
            return 0;
        }
        if (message == WM_TIMER && wParam == 2)
        {
            KillTimer(2);
            EndModal(RUN_NOT_ENDED);
            return 0;
        }
        return TraceWnd::WindowProc(message, wParam, lParam);
    }
};

RECT PopupRect()
{
    return MakeRect(100, 100, 300, 200);
}
} // namespace

TEST(SWndModal, RunEndedByDialogOkFromATimerReturnsZero)
{
    TimedWnd dialog;
    RECT r = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &r, nullptr));
    dialog.onTimer = [](TimedWnd& w) { SWnd::SharedWindowProc(w.GetHandle(), SWM_DIALOGOK, 0, 0); };
    dialog.answers[SWM_MODALSTART] = 0;
    dialog.StartTimer();
    EXPECT_EQ(0, dialog.DoModal(5, 6));
    ASSERT_EQ(1, dialog.Count(SWM_MODALSTART));
    EXPECT_EQ(5u, dialog.Last(SWM_MODALSTART).wParam);
    EXPECT_EQ(6, dialog.Last(SWM_MODALSTART).lParam);
    EXPECT_FALSE(dialog.IsModal());
    // Shown for the run, and still shown after it.
    EXPECT_TRUE(dialog.IsVisible());
}

TEST(SWndModal, RunEndedByCancelOrEndModalReturnsTheirResults)
{
    TimedWnd dialog;
    RECT r = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &r, nullptr));
    dialog.onTimer = [](TimedWnd& w) { w.SendMessage(SWM_DIALOGCANCEL, 0, 0); };
    dialog.StartTimer();
    EXPECT_EQ(-1, dialog.DoModal());
    dialog.onTimer = [](TimedWnd& w) { w.EndModal(42); };
    dialog.StartTimer();
    EXPECT_EQ(42, dialog.DoModal());
}

TEST(SWndModal, CloseDuringTheRunHidesTheWindowAndEndsWithMinusOne)
{
    TimedWnd dialog;
    RECT r = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &r, nullptr));
    dialog.onTimer = [](TimedWnd& w) { w.PostMessage(WM_CLOSE); };
    dialog.StartTimer();
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_TRUE(IsWindow(dialog.GetHandle()));
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_EQ(0, dialog.Count(WM_CLOSE));
    // Outside a run, closing destroys the window.
    EXPECT_TRUE(dialog.Close());
    EXPECT_EQ(nullptr, dialog.GetHandle());
}

TEST(SWndModal, ClosingTheDialogGivesItsOwnerBackAtOnce)
{
    SWnd owner;
    RECT r = MakeRect(0, 0, 400, 300);
    ASSERT_TRUE(owner.Create("Owner", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    TimedWnd dialog;
    RECT d = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &d, owner.GetHandle()));
    bool ownerEnabledBeforeClose = true, ownerEnabledAfterClose = false;
    dialog.onTimer = [&](TimedWnd& w) {
        ownerEnabledBeforeClose = owner.IsEnabled();
        w.SendMessage(WM_CLOSE);
        // Still inside the run: the owner is enabled before the dialog hides.
        ownerEnabledAfterClose = owner.IsEnabled();
    };
    dialog.StartTimer();
    EXPECT_EQ(-1, dialog.DoModal());
    EXPECT_FALSE(ownerEnabledBeforeClose);
    EXPECT_TRUE(ownerEnabledAfterClose);
    EXPECT_TRUE(owner.IsEnabled());
    EXPECT_FALSE(dialog.IsVisible());
}

TEST(SWndModal, RefusedStartEndsAtOnceWithZero)
{
    TraceWnd dialog;
    RECT r = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &r, nullptr));
    dialog.answers[SWM_MODALSTART] = 1;
    EXPECT_EQ(0, dialog.DoModal());
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_FALSE(dialog.IsModal());
}

TEST(SWndModal, ChildWindowCannotRunModally)
{
    SWnd parent;
    TraceWnd child;
    ASSERT_TRUE(parent.Create("Parent", WS_POPUP, 0, nullptr, nullptr));
    ASSERT_TRUE(child.CreateChild("", 0, 0, nullptr, parent.GetHandle()));
    EXPECT_EQ(0, child.DoModal());
    EXPECT_EQ(0, child.Count(SWM_MODALSTART));
}

TEST(SWndModal, OwnerIsDisabledDuringTheRunAndHiddenDialogGivesItBack)
{
    SWnd owner;
    RECT r = MakeRect(0, 0, 400, 300);
    ASSERT_TRUE(owner.Create("Owner", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    TimedWnd dialog;
    RECT d = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &d, owner.GetHandle()));
    bool ownerEnabledDuringRun = true;
    dialog.onTimer = [&](TimedWnd& w) {
        ownerEnabledDuringRun = owner.IsEnabled();
        w.EndModalOk();
    };
    dialog.StartTimer();
    EXPECT_EQ(0, dialog.DoModal(0, 0, false, nullptr, true));
    EXPECT_FALSE(ownerEnabledDuringRun);
    EXPECT_TRUE(owner.IsEnabled());
    EXPECT_FALSE(dialog.IsVisible());
}

TEST(SWndModal, AllWindowsRunLeavesExcludedAndAlreadyDisabledWindowsAsTheyWere)
{
    SWnd other, disabled, excluded;
    RECT r = MakeRect(0, 0, 100, 100);
    ASSERT_TRUE(other.Create("Other", WS_POPUP, 0, &r, nullptr));
    ASSERT_TRUE(disabled.Create("Disabled", WS_POPUP, 0, &r, nullptr));
    ASSERT_TRUE(excluded.Create("Excluded", WS_POPUP, 0, &r, nullptr));
    disabled.EnableWindow(false);
    SArray<SWnd*> exclude;
    exclude.Add(&excluded);
    TimedWnd dialog;
    RECT d = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &d, nullptr));
    bool otherEnabled = true, excludedEnabled = false;
    dialog.onTimer = [&](TimedWnd& w) {
        otherEnabled = other.IsEnabled();
        excludedEnabled = excluded.IsEnabled();
        w.EndModalOk();
    };
    dialog.StartTimer();
    EXPECT_EQ(0, dialog.DoModal(0, 0, true, &exclude, false));
    EXPECT_FALSE(otherEnabled);
    EXPECT_TRUE(excludedEnabled);
    EXPECT_TRUE(other.IsEnabled());
    EXPECT_FALSE(disabled.IsEnabled());
    EXPECT_TRUE(excluded.IsEnabled());
    EXPECT_TRUE(dialog.IsEnabled());
}

TEST(SWndModal, OnlyWindowsThatStillExistAreEnabledAgain)
{
    SWnd recreated;
    auto* deleted = new SWnd;
    RECT r = MakeRect(0, 0, 100, 100);
    ASSERT_TRUE(recreated.Create("Recreated", WS_POPUP, 0, &r, nullptr));
    ASSERT_TRUE(deleted->Create("Deleted", WS_POPUP, 0, &r, nullptr));
    TimedWnd dialog;
    RECT d = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &d, nullptr));
    dialog.onTimer = [&](TimedWnd& w) {
        delete deleted;
        // The same object with a new window, disabled on purpose: the run did not disable it.
        recreated.DestroyWindow();
        recreated.Create("Recreated", WS_POPUP, 0, &r, nullptr);
        recreated.EnableWindow(false);
        w.EndModalOk();
    };
    dialog.StartTimer();
    EXPECT_EQ(0, dialog.DoModal(0, 0, true, nullptr, false));
    EXPECT_FALSE(recreated.IsEnabled());
}

TEST(SWndModal, DestroyingTheWindowEndsTheRunWithMinusOne)
{
    TimedWnd dialog;
    RECT r = PopupRect();
    ASSERT_TRUE(dialog.CreatePopup("Modal", &r, nullptr));
    dialog.onTimer = [](TimedWnd& w) { w.DestroyWindow(); };
    dialog.StartTimer();
    EXPECT_EQ(-1, dialog.DoModal(0, 0, false, nullptr, true));
    EXPECT_EQ(nullptr, dialog.GetHandle());
    EXPECT_FALSE(dialog.IsModal());
}
