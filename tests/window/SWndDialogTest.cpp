#include <gtest/gtest.h>
#include "ClickingDialog.h"
#include "SControlDescription.h"
#include "SWndDialog.h"
#include "TraceWnd.h"

namespace
{
class Description : public SControlDescription
{
public:
    Description(unsigned short id, const char* name, const char* face = "", int style = 0)
        : id(id), name(name), face(face), style(style)
    {
    }
    unsigned short GetId() const override { return id; }
    SString GetName() const override { return SString(name); }
    SString GetFontName() const override { return SString(face); }
    short GetFontSize() const override { return 14; }
    int GetFontStyle() const override { return style; }

    unsigned short id;
    const char* name;
    const char* face;
    int style;
};

SWnd* MakeButton(SWnd& dialog, const char* text, int id)
{
    SWnd* button = new SWnd;
    button->SetTypeId(STYPE_BUTTON);
    RECT r = MakeRect(10, 10 + id * 30, 90, 35 + id * 30);
    button->CreateSubclassed("BUTTON", text, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, &r,
                             dialog.GetHandle(), id);
    return button;
}

template <class Dialog>
void OpenDialog(Dialog& dialog)
{
    RECT r = MakeRect(100, 100, 400, 300);
    ASSERT_TRUE(dialog.CreatePopup("Dialog", &r, nullptr));
}
} // namespace

TEST(SWndDialog, ChildrenFoundByIdAndByName)
{
    SWndDialog dialog;
    OpenDialog(dialog);
    const Description descriptions[] = {{5, "OK"}, {6, "CANCEL"}, {7, "Name"}, {7, "Twin"}};
    SWnd* made[4] = {};
    for (int i = 0; i < 4; i++)
    {
        made[i] = MakeButton(dialog, descriptions[i].name, i);
        ASSERT_TRUE(dialog.AddChild(made[i], &descriptions[i]));
    }
    EXPECT_FALSE(dialog.AddChild(nullptr, &descriptions[0]));
    EXPECT_FALSE(dialog.AddChild(made[0], nullptr));
    EXPECT_EQ(4, dialog.GetChildCount());
    EXPECT_EQ(made[1], dialog.FindChildById(6));
    EXPECT_EQ(made[2], dialog.FindChildById(7));  // the first one registered
    EXPECT_EQ(nullptr, dialog.FindChildById(8));
    EXPECT_EQ(made[3], dialog.FindChildByName("Twin"));
    EXPECT_EQ(nullptr, dialog.FindChildByName("ok"));
    EXPECT_EQ(nullptr, dialog.FindChildByName(nullptr));
    EXPECT_STREQ("CANCEL", dialog.GetChildName(6).GetText());
    EXPECT_STREQ("", dialog.GetChildName(9).GetText());
    EXPECT_EQ(2, dialog.FindChildIndex(made[2]));
    EXPECT_EQ(-1, dialog.FindChildIndex(&dialog));
    dialog.DestroyChildren();
    EXPECT_EQ(0, dialog.GetChildCount());
    EXPECT_EQ(nullptr, dialog.FindChildByName("OK"));
}

TEST(SWndDialog, OnlyExactOkAndCancelEndAModalRun)
{
    struct Case
    {
        const char* click;
        int result;
    };
    const Case cases[] = {{"ok", RUN_NOT_ENDED}, {"OK", 0}, {"CANCEL", -1}, {"Cancel", RUN_NOT_ENDED}};
    for (const Case& c : cases)
    {
        ClickingDialog dialog;
        OpenDialog(dialog);
        const Description description(1, c.click);
        ASSERT_TRUE(dialog.AddChild(MakeButton(dialog, c.click, 1), &description));
        EXPECT_EQ(c.result, dialog.RunClicking(c.click)) << c.click;
    }
}

TEST(SWndDialog, FontOnlyWhenTheDescriptionNamesAFace)
{
    SWndDialog dialog;
    OpenDialog(dialog);
    const Description plain(1, "Plain");
    const Description styled(2, "Styled", "Tahoma", 1);
    SWnd* first = MakeButton(dialog, "Plain", 1);
    SWnd* second = MakeButton(dialog, "Styled", 2);
    ASSERT_TRUE(dialog.AddChild(first, &plain));
    ASSERT_TRUE(dialog.AddChild(second, &styled));
    EXPECT_EQ(nullptr, dialog.GetChildFont(0));
    HFONT font = dialog.GetChildFont(1);
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(font, second->GetFont());
    LOGFONTA log = {};
    ASSERT_TRUE(GetObjectA(font, sizeof(log), &log));
    EXPECT_EQ(700, log.lfWeight);
}

TEST(SWndDialog, ExistingWindowAndSecondStatusBarAreRefused)
{
    SWndDialog dialog;
    OpenDialog(dialog);
    EXPECT_FALSE(dialog.CreateFromDescription("KLV DIALOG EDITOR 1.0.0.0\r\n", nullptr));
    EXPECT_EQ(0, dialog.GetChildCount());
    ASSERT_TRUE(dialog.CreateStatusBar(0));
    SStatusBarCtrl* bar = dialog.GetStatusBar();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(1, bar->GetPartCount());
    EXPECT_FALSE(dialog.CreateStatusBar(3));
    EXPECT_EQ(bar, dialog.GetStatusBar());
    dialog.SetStatusText(0, "Ready");
}

// The header alone is a description without a dialog section: the builder
// refuses it and no window is made.
TEST(SWndDialog, DescriptionWithoutDialogSectionBuildsNoWindow)
{
    SWndDialog dialog;
    EXPECT_FALSE(dialog.CreateFromDescription("KLV DIALOG EDITOR 1.0.0.0\r\n", nullptr));
    EXPECT_EQ(nullptr, dialog.GetHandle());
}

TEST(SWndDialog, ReactivationGivesTheFocusBackToTheChildThatHadIt)
{
    SWndDialog dialog;
    OpenDialog(dialog);
    dialog.ShowWindow(SW_SHOW);
    const Description first(1, "First"), other(2, "Second");
    ASSERT_TRUE(dialog.AddChild(MakeButton(dialog, "First", 0), &first));
    SWnd* second = MakeButton(dialog, "Second", 1);
    ASSERT_TRUE(dialog.AddChild(second, &other));
    second->SetFocus();
    // What the display sends when another window took the activation and gave it back.
    dialog.SendMessage(WM_ACTIVATE, WA_INACTIVE, 0);
    ::SetFocus(dialog.GetHandle());
    dialog.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(second->GetHandle(), GetFocus());
    // A focus already on a child stays there.
    dialog.SendMessage(WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(second->GetHandle(), GetFocus());
}
