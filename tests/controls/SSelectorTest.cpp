#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "SLibrary.h"
#include "SIdentifiants.h"
#include "SMessages.h"
#include "SSelector.h"

TEST(SSelector, ColorFlags)
{
    struct Case { COLORREF initial; bool full, prevent, any; DWORD flags; };
    const Case cases[] = {
        {0xFF000000, false, false, false, CC_SOLIDCOLOR},
        {0x00FFFFFF, false, false, false, CC_RGBINIT | CC_SOLIDCOLOR},
        {0, true, false, true, CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR},
        {0x01000000, false, true, false, CC_PREVENTFULLOPEN | CC_SOLIDCOLOR},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.flags, SSelector::GetColorFlags(c.initial, c.full, c.prevent, c.any)) << c.initial;
}

TEST(SSelector, FontResultGivesPointsAndStyleBits)
{
    LOGFONTA font = {};
    font.lfWeight = FW_BOLD;
    font.lfItalic = TRUE;
    int size = 0, style = 0;
    SSelector::ReadFontResult(&font, 125, &size, &style);
    EXPECT_EQ(12, size);
    EXPECT_EQ(3, style);
}

TEST(SSelector, FilterTextAndIndex)
{
    SArrayString filters;
    filters.Add("Images|*.png;*.jpg;*.jpeg;*.gif;*.bmp");
    const SString text = SSelector::BuildFilterText(&filters);
    const std::string expected("Images\0*.png;*.jpg;*.jpeg;*.gif;*.bmp\0\0", 39);
    ASSERT_EQ(int(expected.size()), text.GetLength());
    EXPECT_EQ(expected, std::string(text.GetText(), text.GetLength()));
    EXPECT_EQ(1, SSelector::GetFilterIndex(&filters, 0));
    EXPECT_EQ(1, SSelector::GetFilterIndex(&filters, 5));
    EXPECT_EQ(1, SSelector::GetFilterIndex(nullptr, 0));
    EXPECT_EQ(0, SSelector::BuildFilterText(nullptr).GetLength());
}

TEST(SSelector, SelectionSplitsIntoFullPaths)
{
    struct Case { std::string buffer; bool multiple; std::vector<std::string> paths; };
    const Case cases[] = {
        {std::string("D:\\Music\0a\0b\0\0", 15), true, {"D:\\Music\\a", "D:\\Music\\b"}},
        {std::string("D:\\Music\\one.mp3\0\0", 18), true, {"D:\\Music\\one.mp3"}},
        {std::string("D:\\\0a\0\0", 7), true, {"D:\\a"}},
        {std::string("D:\\x.mp3\0", 9), false, {"D:\\x.mp3"}},
        {std::string("\0\0", 2), true, {}},
    };
    for (const Case& c : cases)
    {
        SArrayString out;
        EXPECT_EQ(int(c.paths.size()), SSelector::SplitSelection(c.buffer.data(), int(c.buffer.size()), c.multiple, &out));
        ASSERT_EQ(int(c.paths.size()), out.GetCount());
        for (size_t i = 0; i < c.paths.size(); i++)
            EXPECT_STREQ(c.paths[i].c_str(), out.GetAt(int(i)).GetText());
    }
}

TEST(SSelector, FolderResultKeepsOneSeparator)
{
    EXPECT_STREQ("D:\\", SSelector::GetFolderResult("D:\\", true).GetText());
    EXPECT_STREQ("D:\\Music\\", SSelector::GetFolderResult("D:\\Music", true).GetText());
    EXPECT_STREQ("D:\\Music", SSelector::GetFolderResult("D:\\Music", false).GetText());
    EXPECT_STREQ("", SSelector::GetFolderResult("", true).GetText());
}

namespace
{
// What the timer step saw inside the system-colour window's modal run.
struct ColorRun
{
    UINT message = SWM_DIALOGOK;
    int items = 0;
    std::string first;
};
ColorRun* g_colorRun = nullptr;

void CALLBACK AnswerColorWindow(HWND, UINT, UINT_PTR timer, DWORD)
{
    HWND window = FindWindowA(nullptr, "System colour");
    if (!window)
        return;
    KillTimer(nullptr, timer);
    HWND list = GetDlgItem(window, SSelector::_SWndColor::LIST_ID);
    g_colorRun->items = int(SendMessageA(list, CB_GETCOUNT, 0, 0));
    char text[64] = "";
    SendMessageA(list, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    g_colorRun->first = text;
    SWnd::SharedWindowProc(window, g_colorRun->message, 0, 0);
}

void CALLBACK SendDialogOk(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    SWnd::SharedWindowProc(window, SWM_DIALOGOK, 0, 0);
}

RECT Rect(int l, int t, int r, int b)
{
    RECT rect = {l, t, r, b};
    return rect;
}
} // namespace

TEST(SSelector, SystemColorWindowAnswersWithTheIndexOrCancel)
{
    SWnd owner;
    RECT r = Rect(0, 0, 200, 100);
    ASSERT_TRUE(owner.CreatePopup("owner", &r, nullptr));
    for (UINT message : {SWM_DIALOGOK, SWM_DIALOGCANCEL})
    {
        ColorRun run;
        run.message = message;
        g_colorRun = &run;
        SSelector selector(owner.GetHandle());
        SetTimer(nullptr, 0, 50, AnswerColorWindow);
        const bool chosen = selector.ChooseSystemColor("System colour");
        EXPECT_EQ(message == SWM_DIALOGOK, chosen);
        EXPECT_EQ(GetIdentifiants()->GetColorNames().GetCount(), run.items);
        EXPECT_EQ(GetIdentifiants()->GetColorNames().GetAt(0).ToUpper().GetText(), run.first);
        const COLORREF expected = message == SWM_DIALOGOK ? 0xFE000000 + GetIdentifiants()->GetColorIndexes().GetAt(0) : 0;
        EXPECT_EQ(expected, selector.GetColor());
    }
    EXPECT_FALSE(SSelector(nullptr).ChooseSystemColor("System colour"));
}

TEST(SSelector, MonthCells)
{
    int days[42], tags[42];
    SSelector::_SWndDate::FillCells(2026, 2, days, tags); // begins on a Sunday
    EXPECT_EQ(1, days[0]);
    EXPECT_EQ(0, tags[0]);
    EXPECT_EQ(28, days[27]);
    EXPECT_EQ(1, days[28]);
    EXPECT_EQ(1, tags[28]);
    SSelector::_SWndDate::FillCells(2024, 2, days, tags); // leap year, begins on a Thursday
    EXPECT_EQ(31, days[3]);
    EXPECT_EQ(-1, tags[3]);
    EXPECT_EQ(29, days[32]);
    EXPECT_EQ(0, tags[32]);
    EXPECT_EQ(1, tags[33]);
}

TEST(SSelector, CalendarWindowMovesByGreyCellsAndEndsOnOk)
{
    STimer start;
    start.Set(2026, 2, 10);
    SSelector::_SWndDate window;
    RECT r = Rect(0, 0, 210, 161);
    ASSERT_TRUE(window.CreatePopup("Date", &r, nullptr, reinterpret_cast<LPARAM>(&start), false));
    SMediaCtrl& next = window.GetCell(30); // 3 March, grey
    EXPECT_EQ(1, window.GetCellTag(30));
    EXPECT_EQ(4, GetWindowLongPtrA(next.GetHandle(), GWLP_USERDATA)); // its row
    next.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    next.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(3, window.GetDate().GetMonth());
    EXPECT_EQ(3, window.GetDate().GetDay());
    const int march3 = 2; // March 2026 begins on a Sunday too
    EXPECT_EQ(0, window.GetCellTag(march3));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), window.GetCell(march3).GetBackgroundColor());
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), window.GetCell(march3 + 1).GetBackgroundColor());
    SetTimer(window.GetHandle(), 7, 50, SendDialogOk);
    EXPECT_EQ(0, window.DoModal());
    window.DestroyWindow();
}
