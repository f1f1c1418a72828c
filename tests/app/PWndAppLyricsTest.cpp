// Lyrics from the HTTP test server standing in for the lyrics site: the query,
// the page address found in the search page, the parsing between the markers
// and the line ends, what a missing page or server gives, and the notes the
// commands write them into.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "HttpStandIn.h"
#include "Hosts.h"
#include "SGuards.h"

using namespace apptest;
using namespace httptest;

namespace
{
const std::string SEARCH = "cgi-bin/s.cgi?q=Song%20Name%20Lyrics";
const std::string PAGE = std::string("http://") + LYRICS_PAGE_HOST + "/music/lyric.nsf/song-name";
const std::string MARKER =
    std::string("<img src=\"http://") + LYRICS_PAGE_HOST + "/images/headphone.gif\">";

std::string WithLineEnd(std::string text, const std::string& end)
{
    for (size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += end.size())
        text.replace(at, 1, end);
    return text;
}

class PWndAppLyricsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        port = ServerPort();
        if (port == 0)
            GTEST_SKIP() << "no test server (run through ctest)";
        ASSERT_GT(port, 0);
        settings.SetText("Folder", root.Path());
        proxy.reset(new ProxyGuard(port));
        ClearRequests();
    }

    void Select(PWndApp& app, SListCtrl& list, int item)
    {
        list.SetSelection(-1);
        list.SetItemSelected(item, true);
        app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&list), 0);
    }

    int port = 0;
    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<ProxyGuard> proxy;
    QuestionRecorder questions;
};
}

TEST_F(PWndAppLyricsTest, PagesAreParsedWithTheirLineEndsAndFailuresGiveNothing)
{
    AppWindow window;
    PWndApp& app = window.App();
    ASSERT_TRUE(Serve(SEARCH, "<html><a href=\"" + PAGE + "\">Song Name</a></html>"));
    const std::string head = "<html>\n<b>Song Name</b>\n";
    const struct
    {
        const char* label;
        std::string page;
        bool parse;
        std::string expected;
    } cases[] = {
        {"whole", head + "one<br>\ntwo\n", false, "<html>\n<b>Song Name</b>\none\ntwo\n"},
        {"between", head + MARKER + " x\nfirst<br>\nsecond\n" + MARKER + "\nfooter\n", true, "first\nsecond\n"},
        {"one marker", head + MARKER + "\nfirst\n", true, "<html>\n<b>Song Name</b>\n" + MARKER + "\nfirst\n"},
        {"no marker", head + "words\n", true, "<html>\n<b>Song Name</b>\nwords\n"},
    };
    for (const auto& c : cases)
        for (const char* end : {"\n", "\r\n"})
        {
            ASSERT_TRUE(Serve("music/lyric.nsf/song-name", WithLineEnd(c.page, end)));
            ClearRequests();
            const SString lyrics = app.DownloadLyrics("07 - Song Name", c.parse);
            EXPECT_EQ(WithLineEnd(c.expected, "\r\n"), TextOf(lyrics)) << c.label << (end[0] == '\r' ? " CR LF" : " LF");
            EXPECT_EQ((std::vector<std::string>{"/" + SEARCH, "/music/lyric.nsf/song-name"}), Targets()) << c.label;
        }

    // No page address; an address without its closing quote; a page that is missing.
    for (const std::string& search : {std::string("<html>nothing</html>"), "<a href=\"" + PAGE,
                                      "<a href=\"" + PAGE + "-gone\">"})
    {
        ASSERT_TRUE(Serve(SEARCH, search));
        EXPECT_STREQ("", TextOf(app.DownloadLyrics("07 - Song Name", false))) << search;
    }
    EXPECT_TRUE(questions.Texts().empty());
    proxy.reset(new ProxyGuard(ClosedPort()));
    EXPECT_STREQ("", TextOf(app.DownloadLyrics("07 - Song Name", true)));
    EXPECT_EQ(std::vector<std::string>{"No active connection."}, questions.Texts());
    EXPECT_EQ(std::vector<std::string>{"KLV Sonavel"}, questions.Captions());
}

TEST_F(PWndAppLyricsTest, CommandsFillTheNotesButNeverReplaceAnUnreadableOne)
{
    ASSERT_TRUE(root.WriteFile("Album\\07 - Song Name.mp3", ""));
    ASSERT_TRUE(root.WriteFile("Album\\07 - Song Name.txt", "Old note."));
    ASSERT_TRUE(root.WriteFile("Album\\08 - Other.mp3", ""));
    ASSERT_TRUE(Serve(SEARCH, "<a href=\"" + PAGE + "\">"));
    ASSERT_TRUE(Serve("cgi-bin/s.cgi?q=Other%20Lyrics", "<a href=\"" + PAGE + "\">"));
    ASSERT_TRUE(Serve("music/lyric.nsf/song-name", "intro\n" + MARKER + "\nla la<br>\nla\n" + MARKER + "\n"));
    AppWindow window;
    PWndApp& app = window.App();
    Select(app, app.GetFolderList(), 0);
    SListCtrl& files = app.GetFileList();
    ASSERT_EQ(2, files.GetCount());
    const std::string note = root.Path() + "Album\\07 - Song Name.txt";

    // Unreadable while the track is selected, released before the command.
    SHandleGuard held(CreateFileA(note.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held.IsValid());
    Select(app, files, 0);
    held.Reset();
    app.SendMessage(SWM_MENUCOMMAND, 0, 42);
    EXPECT_EQ("Old note.", ReadWholeFile(note));

    // Read, then replaced; a track without a note gets one, parsed.
    Select(app, files, 0);
    app.SendMessage(SWM_MENUCOMMAND, 0, 42);
    EXPECT_EQ("intro\r\n" + MARKER + "\r\nla la\r\nla\r\n" + MARKER + "\r\n", ReadWholeFile(note));
    Select(app, files, 1);
    app.SendMessage(SWM_MENUCOMMAND, 0, 43);
    EXPECT_EQ("la la\r\nla\r\n", ReadWholeFile(root.Path() + "Album\\08 - Other.txt"));
    EXPECT_EQ(4, files.GetItemSecondImage(1));
    EXPECT_TRUE(questions.Texts().empty());
}
