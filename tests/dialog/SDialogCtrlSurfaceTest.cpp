#include <gtest/gtest.h>
#include "DialogTestSupport.h"
#include "SClipboard.h"
#include "MemoryDib.h"

namespace
{
typedef SDialogCtrl::_SCtrl Record;

// A designer filling a visible host at the screen's top left, holding the demo
// dialog; design point (0, 0) is client point (22, 22).
class Surface : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT rect = {0, 0, 640, 480};
        ASSERT_TRUE(host.Create("Host", WS_POPUP | WS_VISIBLE, 0, &rect, nullptr));
        ASSERT_TRUE(designer.CreateChild("", WS_VISIBLE, 0, &rect, host.GetHandle()));
        ASSERT_TRUE(ReadText(designer, DemoText()));
        button = designer.GetElement(0);
        PumpMessages();
        host.changes = 0;
    }
    void TearDown() override
    {
        designer.DestroyWindow();
        host.DestroyWindow();
        PumpMessages();
    }

    static void SendMouse(POINT screen, DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = screen.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = screen.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
        input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(input));
    }

    ChangeCounter host;
    SDialogCtrl designer;
    Record* button = nullptr;
};

// Ends the test run as a user's Cancel would, once its dialog is up.
void CALLBACK CancelTestRun(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND dialog = FindWindowA(nullptr, "Demo dialog");
    if (!dialog)
        return;
    KillTimer(nullptr, timer);
    PostMessageA(dialog, SWM_DIALOGCANCEL, 0, 0);
}
} // namespace

TEST_F(Surface, ArrowKeysMoveAndDeleteReportsTwice)
{
    designer.SelectOnly(button);
    designer.PostMessage(WM_KEYDOWN, VK_RIGHT, 0);
    designer.PostMessage(WM_KEYDOWN, VK_DOWN, 0);
    PumpMessages();
    EXPECT_EQ(105, button->GetX());
    EXPECT_EQ(55, button->GetY());
    EXPECT_EQ(2, host.changes);
    host.changes = 0;
    designer.PostMessage(WM_KEYDOWN, VK_DELETE, 0);
    PumpMessages();
    EXPECT_EQ(0, designer.GetElementCount());
    EXPECT_EQ(2, host.changes);
    designer.OnUndo();
    EXPECT_EQ(1, designer.GetElementCount());
    EXPECT_EQ(designer.GetElement(0), designer.GetSelected(0));
}

TEST_F(Surface, AButtonDraggedWithTheMouseLandsOnTheGrid)
{
    host.SetForegroundWindow();
    POINT from = {22 + 110, 22 + 60};
    designer.ClientToScreen(&from);
    const POINT to = {from.x + 23, from.y + 12};
    SendMouse(from, MOUSEEVENTF_MOVE);
    SendMouse(from, MOUSEEVENTF_LEFTDOWN);
    SendMouse(to, MOUSEEVENTF_MOVE);
    SendMouse(to, MOUSEEVENTF_LEFTUP);
    for (int i = 0; i < 400 && button->GetX() == 100; i++)
    {
        PumpMessages();
        Sleep(5);
    }
    EXPECT_EQ(button, designer.GetSelected(0));
    EXPECT_EQ(120, button->GetX());
    EXPECT_EQ(60, button->GetY());
    EXPECT_EQ(1, designer.GetUndoCount());
    EXPECT_EQ(1, host.changes);
}

TEST_F(Surface, CopyAndPasteThroughTheClipboard)
{
    designer.SelectOnly(button);
    designer.OnCopy();
    EXPECT_TRUE(designer.CanPaste());
    designer.OnPaste();
    ASSERT_EQ(2, designer.GetElementCount());
    EXPECT_EQ(designer.GetElement(1), designer.GetSelected(0));
    EXPECT_STREQ("Button1", designer.GetElement(1)->GetName().GetText());
    EXPECT_EQ(2, designer.GetElement(1)->GetIdValue());
    EXPECT_EQ(1, host.changes);
    SClipboard().SetText("plain");
    EXPECT_FALSE(designer.CanPaste());
}

// A block cut short inside its second record: the first is added, and that is a change.
TEST_F(Surface, APasteCutShortReportsWhatItAdded)
{
    SMemory block;
    block.WriteStringWithNull(DIALOG_HEADER);
    button->WriteRecord(&block);
    block.Write("\x01", 1);
    block.SeekToStart();
    ASSERT_TRUE(SClipboard().SetData(&block));
    designer.OnPaste();
    EXPECT_EQ(2, designer.GetElementCount());
    EXPECT_EQ(1, host.changes);
    EXPECT_EQ(1, designer.GetUndoCount());
}

TEST_F(Surface, PaintsThePageAndFramesAnElementWithoutPreview)
{
    button->SetLiveControl(nullptr);
    designer.ClearSelection();
    MemoryDib dc(640, 480, RGB(0, 0, 0));
    designer.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.GetDC()), PRF_CLIENT);
    const struct
    {
        int x, y;
        COLORREF color;
    } probes[] = {{22 + 2, 22 + 3, GetSysColor(COLOR_3DFACE)},     {22 + 102, 22 + 52, GetSysColor(COLOR_3DFACE)},
                  {22 + 100, 22 + 62, GetSysColor(COLOR_WINDOWFRAME)}, {22 + 150, 22 + 74, GetSysColor(COLOR_WINDOWFRAME)},
                  {22 + 5, 22 + 5, GetSysColor(COLOR_BTNTEXT)},    {22 + 350, 22 + 50, GetSysColor(COLOR_APPWORKSPACE)}};
    for (const auto& p : probes)
        EXPECT_EQ(p.color, dc.Pixel(p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(Surface, PreviewsAreRemadeOrKeptAndATestRunEndsOnCancel)
{
    SWnd* preview = button->GetLiveControl();
    ASSERT_NE(nullptr, preview);
    EXPECT_FALSE(preview->IsVisible());
    EXPECT_TRUE(designer.RemakeLiveControl(button));
    EXPECT_NE(nullptr, button->GetFontHandle());
    EXPECT_EQ(button->GetFontHandle(), button->GetLiveControl()->GetFont());
    RECT place = {};
    button->GetLiveControl()->GetWindowRect(&place);
    designer.ScreenToClientRect(&place);
    EXPECT_EQ(0, place.left);
    EXPECT_EQ(100, place.right);
    // A record the factory cannot make keeps the control it had.
    preview = button->GetLiveControl();
    button->SetType(DTYPE_DIALOG);
    EXPECT_FALSE(designer.RemakeLiveControl(button));
    EXPECT_EQ(preview, button->GetLiveControl());
    button->SetType(DTYPE_BUTTON);

    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CancelTestRun);
    EXPECT_TRUE(designer.TestRun());
    KillTimer(nullptr, timer);
    EXPECT_EQ(nullptr, FindWindowA(nullptr, "Demo dialog"));
}
