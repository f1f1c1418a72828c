#include <gtest/gtest.h>
#include "HeldKeys.h"
#include "SComboCtrl.h"
#include "SEditCtrl.h"
#include "SListCtrl.h"
#include "SMemory.h"
#include "SRichEditCtrl.h"

namespace
{
// A stream whose reads fail.
class FailingStream : public SMemory
{
public:
    int Read(void*, int) override { return -1; }
};

class SEditCtrlTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RECT r = MakeRect(20, 20, 420, 320);
        ASSERT_TRUE(parent.Create("Edits", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        parent.SetForegroundWindow();
        RECT e = MakeRect(10, 10, 200, 34);
        ASSERT_TRUE(edit.Create("", WS_VISIBLE | ES_AUTOHSCROLL, 0, &e, parent.GetHandle(), 5));
        for (const char* word : {"abc", "Abd", "xab", "a*c"})
            edit.GetSuggestionWords().Add(word);
        edit.EnableSuggestions(true);
    }
    // The words the list offers after a key-up with the edit holding the text.
    std::vector<std::string> Offered(const char* text, WPARAM key)
    {
        edit.CloseSuggestions();
        edit.SetWindowText(text);
        edit.SendMessage(WM_KEYUP, key, 0);
        std::vector<std::string> words;
        if (SListCtrl* list = edit.GetSuggestionList())
            for (int i = 0; i < list->GetCount(); i++)
                words.push_back(list->GetItemText(i).GetText());
        return words;
    }
    TraceWnd parent;
    SEditCtrl edit;
};
} // namespace

TEST_F(SEditCtrlTest, SuggestionsBeginWithTheTypedTextCaseSensitivelyAndWildcardsAreLiteral)
{
    using Words = std::vector<std::string>;
    const struct { const char* text; WPARAM key; Words words; } cases[] = {
        {"ab", 'B', {"abc"}},
        {"a*", VK_MULTIPLY, {"a*c"}},
        {"a?", 'C', {}},
        {"", 'A', {}},
        {"", VK_DOWN, {"abc", "Abd", "xab", "a*c"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.words, Offered(c.text, c.key)) << c.text;
}

TEST_F(SEditCtrlTest, EscapeClosesTheListAndReturnTakesTheSelectedWord)
{
    ASSERT_EQ(4u, Offered("", VK_DOWN).size());
    edit.SendMessage(WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_EQ(nullptr, edit.GetSuggestionList());

    // The Down that opens the list also selects its first word.
    ASSERT_EQ(4u, Offered("", VK_DOWN).size());
    EXPECT_EQ(0, edit.GetSuggestionList()->GetSelection());
    edit.SendMessage(WM_KEYUP, VK_UP, 0);
    EXPECT_EQ(0, edit.GetSuggestionList()->GetSelection());
    edit.SendMessage(WM_KEYUP, VK_DOWN, 0);
    EXPECT_EQ(1, edit.GetSuggestionList()->GetSelection());
    parent.Forget();
    edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    edit.SendMessage(WM_KEYUP, VK_RETURN, 0);
    EXPECT_EQ(0, parent.Count(SWM_EDIT_RETURN));
    EXPECT_STREQ("Abd", edit.GetWindowText().GetText());
    EXPECT_EQ(nullptr, edit.GetSuggestionList());
    DWORD start = 0, end = 0;
    edit.SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(3u, start);
    EXPECT_EQ(3u, end);
    // Without a list, Return is reported.
    edit.SendMessage(WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(1, parent.Count(SWM_EDIT_RETURN));
}

TEST_F(SEditCtrlTest, CtrlBIsSwallowedWhileCtrlCStillCopies)
{
    edit.EnableSuggestions(false);
    edit.SetFocus();
    edit.SetWindowText("copied");
    edit.SetSel(0, -1);
    {
        HeldKeys control({VK_CONTROL, 'B'});
        edit.SendMessage(WM_CHAR, 2, 0);
    }
    EXPECT_STREQ("copied", edit.GetWindowText().GetText());
    {
        HeldKeys control({VK_CONTROL, 'C'});
        edit.SendMessage(WM_CHAR, 3, 0);
    }
    ASSERT_TRUE(OpenClipboard(parent.GetHandle()));
    HANDLE data = GetClipboardData(CF_TEXT);
    const std::string text = data ? static_cast<const char*>(GlobalLock(data)) : "";
    if (data)
        GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ("copied", text);
}

TEST_F(SEditCtrlTest, RichTextFromAStreamsMiddleKeepsItsPositionAndAFailingStreamGivesFalse)
{
    SRichEditCtrl rich;
    RECT r = MakeRect(10, 50, 300, 200);
    ASSERT_TRUE(rich.Create("", WS_VISIBLE, 0, &r, parent.GetHandle()));
    EXPECT_EQ(STYPE_RICHEDIT, rich.GetType());
    EXPECT_NE(0u, rich.GetStyle() & ES_MULTILINE);
    SMemory rtf;
    rtf.WriteText("{\\rtf1\\ansi One\\par Two}");
    rtf.Seek(7);
    EXPECT_TRUE(rich.LoadStream(&rtf, true));
    EXPECT_EQ(7, rtf.GetPosition());
    EXPECT_STREQ("One\r\nTwo", rich.GetWindowText().GetText());

    FailingStream failing;
    failing.WriteText("plain");
    failing.Seek(2);
    EXPECT_FALSE(rich.LoadStream(&failing, false));
    EXPECT_EQ(2, failing.GetPosition());
    EXPECT_FALSE(rich.LoadStream(nullptr, false));
}

TEST_F(SEditCtrlTest, ComboAddsAtTheEndOrInsertsAtTheIndex)
{
    SComboCtrl combo;
    RECT r = MakeRect(10, 210, 200, 300);
    ASSERT_TRUE(combo.Create("", WS_VISIBLE | CBS_DROPDOWNLIST, 0, &r, parent.GetHandle()));
    EXPECT_EQ(0, combo.AddString("b"));
    EXPECT_EQ(1, combo.AddString("c", -1));
    EXPECT_EQ(0, combo.AddString("a", 0));
    EXPECT_EQ(-1, combo.AddString("z", 9));
    char text[8] = {};
    combo.SendMessage(CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("a", text);
}
