// The cover search window against the HTTP test server standing in for the
// image search: result pages, paging, the scan's stop, size labels, the chosen
// picture and the messages.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "HttpStandIn.h"
#include "Hosts.h"
#include "PWndGoogle.h"

using namespace apptest;
using namespace httptest;

namespace
{
const std::string THUMBNAILS = std::string("http://") + IMAGE_SEARCH_HOST + "/images?q=tbn:";

// One record as the service writes it; full pictures lie on another host.
std::string Record(int id, int width, int height, bool address = true)
{
    const std::string full = address ? "http://pictures.example/full" + std::to_string(id) + ".png" : "";
    return "<td><a href=/imgres?imgurl=" + full + "&imgrefurl=x&w=" + std::to_string(width) +
           "&h=" + std::to_string(height) + "&sz=9>" + "<img src=" + THUMBNAILS + std::to_string(id) +
           " width=75 height=75></a></td>\r\n";
}

std::string SearchTarget(const std::string& query, int start)
{
    return "images?hl=en&q=" + query + "&start=" + std::to_string(start);
}

// count records from id first; the sizes alternate 200 x 160 and 120 x 300.
void ServePage(const std::string& query, int start, int first, int count)
{
    std::string page = "<html><body><table><tr>\r\n";
    for (int id = first; id < first + count; ++id)
    {
        page += Record(id, id % 2 ? 120 : 200, id % 2 ? 300 : 160);
        Serve("images?q=tbn:" + std::to_string(id), BandedPicture(SImage::FORMAT_PNG));
    }
    Serve(SearchTarget(query, start), page + "</tr></table></body></html>");
}

// Shown by its own style (the window itself stays hidden outside a modal run).
bool Shown(SWnd& window)
{
    return (window.GetStyle() & WS_VISIBLE) != 0;
}

class PWndGoogleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        port = ServerPort();
        if (port == 0)
            GTEST_SKIP() << "no test server (run through ctest)";
        ASSERT_GT(port, 0);
        proxy.reset(new ProxyGuard(port));
        ClearRequests();
        ASSERT_TRUE(search.CreatePopup("Web...", nullptr, nullptr, 0, false));
    }

    void Click(int view)
    {
        HWND handle = search.GetView(view).GetHandle();
        PostMessageA(handle, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        PostMessageA(handle, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    }

    void PostKey(WPARAM key) { PostMessageA(search.GetHandle(), WM_KEYDOWN, key, 0); }

    int port = 0;
    std::unique_ptr<ProxyGuard> proxy;
    QuestionRecorder questions;
    PWndGoogle search;
};
}

TEST_F(PWndGoogleTest, PagesOfTwentyShowSixAndMoreAsksTheNextStart)
{
    ServePage("Rock", 0, 0, 20);
    ServePage("Rock", 20, 100, 20);
    ServePage("Rock", 40, 200, 6);
    search.SetSearchText("Rock");
    ASSERT_TRUE(search.Search());
    EXPECT_EQ(20, search.GetResultCount());
    SScrollCtrl& scroll = search.GetScrollBar();
    EXPECT_EQ(0, scroll.GetMin());
    EXPECT_EQ(14, scroll.GetMax());
    EXPECT_TRUE(scroll.IsEnabled());
    for (int k = 0; k < PWndGoogle::VIEW_COUNT; ++k)
    {
        EXPECT_TRUE(Shown(search.GetView(k))) << k;
        EXPECT_STREQ(k % 2 ? "120 x 300" : "200 x 160", search.GetSizeLabel(k).GetWindowText().GetText());
        // Below 150 either way: red.
        EXPECT_EQ(k % 2 ? 0xFFFF0000u : 0xFF000000u, search.GetSizeLabel(k).GetTextColor()) << k;
        EXPECT_EQ(75, search.GetView(k).GetBackgroundImage().GetWidth());
    }
    search.SendMessage(SWM_BUTTON_CLICKED, reinterpret_cast<WPARAM>(&search.GetMoreButton()), 0);
    search.SendMessage(SWM_BUTTON_CLICKED, reinterpret_cast<WPARAM>(&search.GetMoreButton()), 0);
    EXPECT_EQ(46, search.GetStart());
    EXPECT_EQ(6, search.GetResultCount());
    EXPECT_FALSE(scroll.IsEnabled());
    std::vector<std::string> pages;
    for (const std::string& target : Targets())
        if (target.find("/images?hl=") == 0)
            pages.push_back(target);
    EXPECT_EQ((std::vector<std::string>{"/" + SearchTarget("Rock", 0), "/" + SearchTarget("Rock", 20),
                                        "/" + SearchTarget("Rock", 40)}),
              pages);
    EXPECT_TRUE(questions.Texts().empty());
}

TEST_F(PWndGoogleTest, ARecordWithoutAddressEndsTheScanAndFewerThanSixHideTheRest)
{
    std::string page = Record(1, 400, 400) + Record(2, 400, 400) + Record(3, 400, 400, false) + Record(4, 400, 400);
    for (int id = 1; id <= 4; ++id)
        Serve("images?q=tbn:" + std::to_string(id), BandedPicture(SImage::FORMAT_JPEG));
    Serve(SearchTarget("Jazz", 0), page);
    search.SetSearchText("Jazz");
    ASSERT_TRUE(search.Search());
    EXPECT_EQ(2, search.GetResultCount());
    EXPECT_EQ(2, search.GetStart());
    EXPECT_FALSE(search.GetScrollBar().IsEnabled());
    for (int k = 0; k < PWndGoogle::VIEW_COUNT; ++k)
    {
        EXPECT_EQ(k < 2, Shown(search.GetView(k))) << k;
        EXPECT_EQ(k < 2, Shown(search.GetSizeLabel(k))) << k;
    }
}

TEST_F(PWndGoogleTest, TheSearchTextArrivesAsOneQueryValue)
{
    ServePage("Rock%20%26%20Roll%20%231", 0, 0, 1);
    search.SetSearchText("Rock & Roll #1");
    ASSERT_TRUE(search.Search());
    ASSERT_FALSE(Targets().empty());
    EXPECT_EQ("/" + SearchTarget("Rock%20%26%20Roll%20%231", 0), Targets()[0]);
}

TEST_F(PWndGoogleTest, AClickEndsWithTheSquareAndAFailedDownloadKeepsTheWindow)
{
    ServePage("Blues", 0, 0, 8);
    Serve("full1.png", BandedPicture(SImage::FORMAT_PNG));
    search.SetSearchText("Blues");
    // Return does not end the window, nor does a picture that cannot be had;
    // the next one, after a step of the scroll bar, does.
    PostKey(VK_RETURN);
    Click(0);
    PostMessageA(search.GetHandle(), WM_HSCROLL, SB_LINEDOWN,
                 reinterpret_cast<LPARAM>(search.GetScrollBar().GetHandle()));
    Click(0);
    EXPECT_EQ(0, search.DoModal());
    EXPECT_EQ(std::vector<std::string>{"Cannot download the cover."}, questions.Texts());
    EXPECT_EQ(1, search.GetScrollBar().GetPos());
    SImage& chosen = search.GetChosenImage();
    ASSERT_EQ(150, chosen.GetWidth());
    ASSERT_EQ(150, chosen.GetHeight());
    Gdiplus::ARGB left = 0, right = 0;
    chosen.GetPixel(20, 75, &left);
    chosen.GetPixel(130, 75, &right);
    EXPECT_TRUE(NearColor(left, 0xFF00FF00)) << std::hex << left;
    EXPECT_TRUE(NearColor(right, 0xFF0000FF)) << std::hex << right;
}

TEST_F(PWndGoogleTest, NothingFoundOrNoServerEndsTheRunWithAMessage)
{
    Serve(SearchTarget("None", 0), "<html>no results</html>");
    search.SetSearchText("None");
    EXPECT_EQ(-1, search.DoModal());
    EXPECT_EQ(std::vector<std::string>{"No image file found."}, questions.Texts());
    EXPECT_EQ(0, search.GetStart());

    questions.Clear();
    proxy.reset(new ProxyGuard(ClosedPort()));
    EXPECT_FALSE(search.Search());
    EXPECT_EQ(std::vector<std::string>{"No active connection."}, questions.Texts());
    EXPECT_EQ(std::vector<std::string>{"KLV Sonavel"}, questions.Captions());
}
