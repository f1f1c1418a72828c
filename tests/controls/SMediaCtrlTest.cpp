#include <utility>
#include "MediaTestWindows.h"
#include "SImage.h"
#include "SLibrary.h"
#include "SMemory.h"
#include "SResource.h"

namespace
{
std::vector<std::pair<std::string, bool>> opened;

bool RecordOpening(SMediaCtrl&, const char* target, bool mail)
{
    opened.emplace_back(target, mail);
    return true;
}

// A bottom-up 24-bit BMP file of one colour.
void WriteSolidBmp(SMemory& out, int width, int height, COLORREF color)
{
    const int row = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + row * height;
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    out.Write(&file, sizeof(file));
    out.Write(&info, sizeof(info));
    std::vector<unsigned char> pixels(row * height);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++)
        {
            pixels[y * row + x * 3] = GetBValue(color);
            pixels[y * row + x * 3 + 1] = GetGValue(color);
            pixels[y * row + x * 3 + 2] = GetRValue(color);
        }
    out.Write(pixels.data(), static_cast<int>(pixels.size()));
}

class SMediaCtrlTest : public MediaViewTest
{
protected:
    void SetUp() override { opened.clear(); }

    // Two links and a gap: "a@b.c" at x 0-50, " " at 50-60, "http://x" at 60-140.
    void CreateLinks()
    {
        CreateView("<LINK>a@b.c</LINK> <LINK>http://x</LINK>");
        view.SetLinkOpener(&RecordOpening);
        PixelAfterPaint(0, 0);
        ASSERT_EQ(2, view.GetLinkCount());
    }
    void Press(int x, int y) { view.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
};
} // namespace

TEST_F(SMediaCtrlTest, LinkPressOffersTheTargetAndOpensWhatTheParentLeaves)
{
    CreateLinks();
    EXPECT_EQ(60, view.GetLinkRect(1).left);
    EXPECT_EQ(21, view.GetLinkRect(1).bottom);
    Press(55, 5);
    EXPECT_TRUE(parent.links.empty());
    Press(5, 5);
    Press(100, 20);
    ASSERT_EQ((std::vector<std::string>{"a@b.c", "http://x"}), parent.links);
    ASSERT_EQ(2u, opened.size());
    EXPECT_EQ(std::make_pair(std::string("a@b.c"), true), opened[0]);
    EXPECT_EQ(std::make_pair(std::string("http://x"), false), opened[1]);
    parent.linkAnswer = -1;
    Press(5, 5);
    EXPECT_EQ(3u, parent.links.size());
    EXPECT_EQ(2u, opened.size());
    // Every press is relayed as well, with its code and point.
    ASSERT_EQ(4u, parent.mice.size());
    EXPECT_EQ(SMouseNotify::LEFT | SMouseNotify::DOWN, parent.mice[3].code);
    EXPECT_EQ(5, parent.mice[3].x);
}

TEST_F(SMediaCtrlTest, ButtonIsNotDrawnPressedByAPressOnALink)
{
    CreateLinks();
    // Margins keep the text away from the edge the pixels are read at.
    view.SetMargins(5, 5, 5, 5);
    view.SetButton(true);
    const COLORREF raised = GetSysColor(COLOR_BTNHIGHLIGHT), sunken = GetSysColor(COLOR_BTNSHADOW);
    ASSERT_NE(raised, sunken);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelAfterPaint(0, 0));
    view.SendMessage(SWM_MOUSEENTER, 0, 0);
    EXPECT_EQ(raised, PixelAfterPaint(0, 0));
    Press(5, 5);
    EXPECT_EQ(raised, PixelAfterPaint(0, 0));
    Press(150, 80);
    EXPECT_EQ(sunken, PixelAfterPaint(0, 0));
    view.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(150, 80));
    EXPECT_EQ(raised, PixelAfterPaint(0, 0));
    view.SetChecked(true);
    EXPECT_EQ(sunken, PixelAfterPaint(0, 0));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelAfterPaint(100, 50));
}

TEST_F(SMediaCtrlTest, ClickInButtonModeIsReportedWhileEnabled)
{
    CreateView("Play");
    view.SendMessage(SWM_LCLICK, 0, MAKELPARAM(3, 4));
    EXPECT_EQ(0, parent.clicks);
    view.SetButton(true);
    view.SendMessage(SWM_LCLICK, 0, MAKELPARAM(3, 4));
    EXPECT_EQ(1, parent.clicks);
    view.EnableWindow(false);
    view.SendMessage(SWM_LCLICK, 0, MAKELPARAM(3, 4));
    EXPECT_EQ(1, parent.clicks);
    ASSERT_EQ(3u, parent.mice.size());
    EXPECT_EQ(SMouseNotify::LEFT | SMouseNotify::CLICK, parent.mice[2].code);
    EXPECT_EQ(4, parent.mice[2].y);
}

TEST_F(SMediaCtrlTest, PicturesComeFromImageEntriesOfTheResourceStore)
{
    SMemory* pack = new SMemory;
    WriteSolidBmp(*pack, 8, 6, RGB(255, 0, 0));
    SResource store;
    store.SetPackStream(pack);
    store.AddEntry("image\\red", 0, static_cast<int>(pack->GetSize()));
    view.SetResource(&store);
    CreateView("<IMG>red</IMG><IMG>nope</IMG><IMG>RED</IMG>");
    ASSERT_EQ(1, view.GetLines().GetCount());
    const auto& runs = view.GetLines().GetAt(0)->runs;
    ASSERT_EQ(3, runs.GetCount());
    ASSERT_NE(nullptr, runs.GetAt(0)->image);
    EXPECT_EQ(runs.GetAt(0)->image, runs.GetAt(2)->image);
    EXPECT_EQ(nullptr, runs.GetAt(1)->image);
    EXPECT_EQ(40.0f, runs.GetAt(1)->width); // the name, as text
    EXPECT_EQ(48.0f, runs.GetAt(2)->x);
    EXPECT_EQ(RGB(255, 0, 0), PixelAfterPaint(3, 3));
    EXPECT_EQ(RGB(255, 0, 0), PixelAfterPaint(50, 5));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), PixelAfterPaint(100, 50));
}

TEST_F(SMediaCtrlTest, SettingsLayTheTextOutAgain)
{
    CreateView("<B>ab</B>\r\n<LINK>x</LINK>", false);
    // Tags off: the text as written, measured whole (and one pixel more).
    EXPECT_EQ(0, view.GetLines().GetCount());
    EXPECT_EQ(251, view.GetContentWidth());
    EXPECT_EQ(21, view.GetContentHeight());
    view.SetTags(true);
    EXPECT_EQ(24, view.GetContentWidth());
    EXPECT_EQ(40, view.GetContentHeight());
    view.SetLinkColor(0xFF00FF00);
    EXPECT_EQ(0xFF00FF00, view.GetLines().GetAt(1)->runs.GetAt(0)->color);
    view.SetTextColor(RGB(1, 2, 3));
    EXPECT_EQ(0xFF010203, view.GetTextColor());
    EXPECT_EQ(0xFF010203, view.GetLines().GetAt(0)->runs.GetAt(0)->color);
    view.SetAlignment(1 | 2 | 16 | 32);
    EXPECT_EQ(2, view.GetHorizontalAlignment());
    EXPECT_EQ(32, view.GetVerticalAlignment());
    view.SetHorizontalAlignment(4);
    EXPECT_EQ(4, view.GetHorizontalAlignment());
    EXPECT_EQ(32, view.GetVerticalAlignment());
    view.SetMargins(-5, 10, 150, 200);
    const RECT inner = view.GetInnerRect();
    EXPECT_EQ(0, inner.left);
    EXPECT_EQ(10, inner.top);
    EXPECT_EQ(50, inner.right);
    EXPECT_EQ(10, inner.bottom);
}

TEST_F(SMediaCtrlTest, EachPieceOfASplitLinkIsItsOwnTargetWithTheHandOverIt)
{
    CreateView("<LINK>ab<B>cd</B>ef</LINK>");
    PixelAfterPaint(0, 0);
    ASSERT_EQ(3, view.GetLinkCount());
    const char* targets[] = {"ab", "cd", "ef"};
    for (int i = 0; i < 3; i++)
        EXPECT_STREQ(targets[i], view.GetLinkTarget(i).GetText());
    EXPECT_EQ(1, view.LinkAt(30, 10));
    POINT over = {30, 10}, away = {150, 80};
    view.ClientToScreen(&over);
    view.ClientToScreen(&away);
    ASSERT_TRUE(SetCursorPos(over.x, over.y));
    view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, 10));
    EXPECT_EQ(GetLibraryCursor(3), view.GetCursor());
    ASSERT_TRUE(SetCursorPos(away.x, away.y));
    view.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(150, 80));
    EXPECT_EQ(nullptr, view.GetCursor());
}
