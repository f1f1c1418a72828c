// The cover search window against the HTTP test server standing in for the
// image search: paging, the scan's stop, size labels, the chosen picture and
// the messages.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "HttpStandIn.h"
#include "Hosts.h"
#include "PWndGoogle.h"

using namespace apptest;
using namespace httptest;

namespace
{
// One record as the service writes it; an empty address is a record without one.
std::string Record(int id, bool address = true)
{
    const std::string number = std::to_string(id);
    return "<a href=/imgres?imgurl=" + (address ? "http://pictures.example/full" + number + ".png" : "") +
           "&w=" + (id % 2 ? "120&h=300" : "200&h=160") + ">" + "<img src=http://" + IMAGE_SEARCH_HOST +
           "/images?q=tbn:" + number + " width=75></a>\r\n";
}

std::string Page(const std::string& query, int start)
{
    return "images?hl=en&q=" + query + "&start=" + std::to_string(start);
}

// Records first to first + count - 1 with their thumbnails, then the tail.
void ServePage(const std::string& query, int start, int first, int count, const std::string& tail = "")
{
    std::string page;
    for (int id = first; id < first + count; ++id)
    {
        page += Record(id);
        Serve("images?q=tbn:" + std::to_string(id), BandedPicture(SImage::FORMAT_PNG));
    }
    Serve(Page(query, start), page + tail);
}

bool Shown(SWnd& window)
{
    return (window.GetStyle() & WS_VISIBLE) != 0;
}

class PWndGoogleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const int port = ServerPort();
        if (port == 0)
            GTEST_SKIP() << "no test server (run through ctest)";
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

    std::unique_ptr<ProxyGuard> proxy;
    QuestionRecorder questions;
    PWndGoogle search;
};
}

TEST_F(PWndGoogleTest, PagesShowSixAtATimeMoreAsksTheNextStartAndARecordWithoutAddressStops)
{
    // The text holds a blank, "&" and "#": it must arrive as one query value.
    const std::string query = "Rock%20%26%20Roll%20%231";
    ServePage(query, 0, 0, 20);
    ServePage(query, 20, 100, 20);
    ServePage(query, 40, 200, 6, Record(300, false) + Record(301));
    search.SetSearchText("Rock & Roll #1");
    ASSERT_TRUE(search.Search());
    SScrollCtrl& scroll = search.GetScrollBar();
    EXPECT_EQ(20, search.GetResultCount());
    EXPECT_EQ(14, scroll.GetMax());
    EXPECT_TRUE(scroll.IsEnabled());
    for (int k = 0; k < PWndGoogle::VIEW_COUNT; ++k)
    {
        EXPECT_TRUE(Shown(search.GetView(k))) << k;
        EXPECT_STREQ(k % 2 ? "120 x 300" : "200 x 160", search.GetSizeLabel(k).GetWindowText().GetText());
        EXPECT_EQ(k % 2 ? 0xFFFF0000u : 0xFF000000u, search.GetSizeLabel(k).GetTextColor()) << k;  // red below 150
    }
    for (int i = 0; i < 2; ++i)
        search.SendMessage(SWM_BUTTON_CLICKED, reinterpret_cast<WPARAM>(&search.GetMoreButton()), 0);
    EXPECT_EQ(6, search.GetResultCount());
    EXPECT_EQ(46, search.GetStart());
    EXPECT_FALSE(scroll.IsEnabled());
    std::vector<std::string> pages;
    for (const std::string& target : Targets())
        if (target.find("/images?hl=") == 0)
            pages.push_back(target);
    EXPECT_EQ((std::vector<std::string>{"/" + Page(query, 0), "/" + Page(query, 20), "/" + Page(query, 40)}), pages);

    // Fewer than six: the rest hidden.
    Serve(Page(query, 46), Record(1) + Record(2));
    ASSERT_TRUE(search.Search());
    for (int k = 0; k < PWndGoogle::VIEW_COUNT; ++k)
        EXPECT_EQ(k < 2, Shown(search.GetView(k)) && Shown(search.GetSizeLabel(k))) << k;
    EXPECT_TRUE(questions.Texts().empty());
}

TEST_F(PWndGoogleTest, AFailedPictureKeepsTheWindowAClickedOneEndsItWithTheSquare)
{
    ServePage("Blues", 0, 0, 8);
    Serve("full1.png", BandedPicture(SImage::FORMAT_PNG));
    search.SetSearchText("Blues");
    // Return does not end the run, nor does picture 0, which cannot be had;
    // picture 1, after a step of the scroll bar, does.
    PostMessageA(search.GetHandle(), WM_KEYDOWN, VK_RETURN, 0);
    Click(0);
    PostMessageA(search.GetHandle(), WM_HSCROLL, SB_LINEDOWN,
                 reinterpret_cast<LPARAM>(search.GetScrollBar().GetHandle()));
    Click(0);
    EXPECT_EQ(0, search.DoModal());
    EXPECT_EQ(std::vector<std::string>{"Cannot download the cover."}, questions.Texts());
    SImage& chosen = search.GetChosenImage();
    ASSERT_EQ(150, chosen.GetWidth());
    ASSERT_EQ(150, chosen.GetHeight());
    Gdiplus::ARGB left = 0, right = 0;
    chosen.GetPixel(20, 75, &left);
    chosen.GetPixel(130, 75, &right);
    EXPECT_TRUE(NearColor(left, 0xFF00FF00) && NearColor(right, 0xFF0000FF)) << std::hex << left << " " << right;
}

TEST_F(PWndGoogleTest, NothingFoundOrNoServerEndsTheRunWithAMessage)
{
    Serve(Page("None", 0), "<html>no results</html>");
    search.SetSearchText("None");
    EXPECT_EQ(-1, search.DoModal());
    proxy.reset(new ProxyGuard(ClosedPort()));
    EXPECT_FALSE(search.Search());
    EXPECT_EQ((std::vector<std::string>{"No image file found.", "No active connection."}), questions.Texts());
    EXPECT_EQ((std::vector<std::string>{"KLV Sonavel", "KLV Sonavel"}), questions.Captions());
    EXPECT_EQ(0, search.GetStart());
}
