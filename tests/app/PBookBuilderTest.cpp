// The book of a generated library: its page, rows by depth and their nesting,
// links that survive any folder name, the hidden picture folder and its
// pictures, and the progress window that shows the build.
#include <gtest/gtest.h>
#include <map>
#include <vector>
#include "AppTestSupport.h"
#include "PBookBuilder.h"
#include "PBookPicturePool.h"
#include "PWndProgress.h"
#include "SDisk.h"
#include "SFile.h"
#include "SImage.h"

using namespace apptest;

namespace
{
int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

std::wstring Wide(const std::string& text)
{
    wchar_t wide[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide, 1024);
    return wide;
}

class PBookBuilderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* const files[] = {"Rock\\Live\\01 Intro.mp3", "Rock\\Live\\02 Song.WMA", "Rock\\Live\\03 Clip.avi",
                                     "Rock\\Live\\04 Radio.wax", "Rock\\Live\\05 List.wvx",
                                     "Rock\\Live\\Deep\\Deeper\\Deepest\\x.mp3", "A&B #1\\R&B.mp3",
                                     "Pop\\Solo\\Hit\\y.mpg", "Jazz\\z.wma", "Blues\\w.mp3"};
        for (const char* file : files)
            root.WriteFile(file, "media");
        CreateDirectoryA((root.Path() + "Empty").c_str(), nullptr);
        settings.SetText("Folder", root.Path());
    }

    // The book written outside the library, so that its picture folder is not a folder of it.
    std::string Build(bool pictures = true)
    {
        AppWindow app;
        EXPECT_TRUE(app.App().MakeBook((elsewhere.Path() + "Book.htm").c_str(), pictures));
        return ReadWhole(elsewhere.Path() + "Book.htm");
    }

    SettingsKey settings;
    TempFolder root;
    TempFolder elsewhere;
};
}

TEST_F(PBookBuilderTest, PageHoldsRowsLinksAndFilesOfEveryFolder)
{
    const std::string page = Build();
    EXPECT_EQ(0u, page.find("<html>\r\n<head>\r\n<title>Sonavel</title>\r\n<style>"));
    EXPECT_NE(std::string::npos, page.find(".txtRow4"));
    const char* const parts[] = {
        "<td valign=center bgcolor=#dbd0a9><a href=\"Rock/Live.album\" class=txtRow2>Live</a>\r\n",
        "<td valign=center bgcolor=#AAD0DA><font class=txtRow1>Empty</font>\r\n",
        "<td valign=center bgcolor=#addfa6><font class=txtRow3>Deep</font>\r\n",
        "<td width=32 bgcolor=#c2c2c2><img src=\"Book\\book",
        "<td bgcolor=#AAD0DA background=\"Book\\book0.png\" class=tdRow>\r\n<td>\r\n",
        "<td valign=center bgcolor=#c2c2c2><font class=txtRow4>Deeper</font>\r\n",
        "<td valign=center bgcolor=#c2c2c2><a href=\"Rock/Live/Deep/Deeper/Deepest.album\" class=txtRow4>",
        "<a href=\"Rock/Live/01 Intro.mp3\">01 Intro</a> \x95 <a href=\"Rock/Live/02 Song.WMA\">02 Song</a> \x95 "
        "<a href=\"Rock/Live/03 Clip.avi\"><i>03 Clip</i></a> \x95 <a href=\"Rock/Live/04 Radio.wax\">04 Radio</a>"
        " \x95 <a href=\"Rock/Live/05 List.wvx\"><i>05 List</i></a>\r\n</font>\r\n",
        "<a href=\"A%26B %231.album\" class=txtRow1>A&amp;B #1</a>",
        "<a href=\"A%26B %231/R%26B.mp3\">R&amp;B</a>",
        "\r\n</body>\r\n</html>\r\n",
    };
    for (const char* part : parts)
        EXPECT_NE(std::string::npos, page.find(part)) << part;
    SString decoded("A%26B %231.album");
    decoded.UrlDecode(false);
    EXPECT_STREQ("A&B #1.album", decoded.GetText());
}

TEST_F(PBookBuilderTest, TablesCloseOncePerSiblingAndOnceMoreForEachLevelClimbed)
{
    const std::string page = Build(false);
    const std::map<std::string, int> depths = {{"Rock", 0}, {"Live", 1},    {"Deep", 2},  {"Deeper", 3},
                                               {"Deepest", 4}, {"A&amp;B #1", 0}, {"Pop", 0}, {"Solo", 1},
                                               {"Hit", 2},   {"Jazz", 0},    {"Blues", 0}, {"Empty", 0}};
    const std::string opening = "<table border=0 cellspacing=0 cellpadding=0 width=100%>";
    int previous = -1, blocks = 0;
    bool sibling = false, climbed = false;
    for (size_t at = page.find(opening), from = 0; at != std::string::npos;
         from = at, at = page.find(opening, at + 1), ++blocks)
    {
        const int pairs = Count(page.substr(from, at - from), "</tr>\r\n</table>\r\n");
        const size_t name = page.find("class=txtRow", at);
        const size_t start = page.find('>', name) + 1;
        const std::string folder = page.substr(start, page.find('<', start) - start);
        ASSERT_EQ(1u, depths.count(folder)) << folder;
        const int depth = depths.at(folder);
        EXPECT_EQ(previous < 0 ? 0 : previous - depth + 1, pairs) << folder;
        sibling = sibling || pairs == 1;
        climbed = climbed || pairs == 3;
        previous = depth;
    }
    EXPECT_EQ(12, blocks);
    EXPECT_TRUE(sibling);
    EXPECT_TRUE(climbed);
    EXPECT_NE(std::string::npos, page.find("<img src=\"Book\\book11.jpg\" align=absmiddle>"));
}

TEST_F(PBookBuilderTest, PicturesAreRemadeInAHiddenFolderAndOnlyTheBooksOwnGo)
{
    const std::string pictures = elsewhere.Path() + "Book\\";
    const char* const keep[] = {"notes.txt", "bookmark.png", "book1a.jpg", "cover.jpg"};
    for (const char* name : keep)
        elsewhere.WriteFile(std::string("Book\\") + name, "mine");
    elsewhere.WriteFile("Book\\book99.png", "old");
    elsewhere.WriteFile("Book\\BOOK98.JPG", "old");
    Build();
    SDisk disk;
    EXPECT_TRUE(disk.IsHidden(pictures.c_str()));
    for (const char* name : keep)
        EXPECT_EQ("mine", ReadWhole(pictures + name)) << name;
    EXPECT_EQ("<missing>", ReadWhole(pictures + "book99.png"));
    EXPECT_EQ("<missing>", ReadWhole(pictures + "BOOK98.JPG"));
    EXPECT_NE("<missing>", ReadWhole(pictures + "book11.png"));
    EXPECT_EQ("<missing>", ReadWhole(pictures + "book12.png"));
    SImage cover, bar;
    SFile coverFile((pictures + "book0.jpg").c_str(), false, false, true);
    ASSERT_TRUE(cover.Load(&coverFile));
    EXPECT_EQ(32, cover.GetWidth());
    EXPECT_EQ(32, cover.GetHeight());
    SFile barFile((pictures + "book0.png").c_str(), false, false, true);
    ASSERT_TRUE(bar.Load(&barFile));
    EXPECT_EQ(PixelFormat24bppRGB, bar.GetPixelFormat());
    EXPECT_GT(bar.GetHeight(), 16);
    EXPECT_GT(bar.GetWidth(), 0);
    EXPECT_LT(bar.GetWidth(), 32);
}

// Folders the code-page calls cannot list or name, made through the wide
// calls: paths whose listing pattern passes the system's limit (258 and 289
// characters), a name outside the code page (listed as "??") and one it gives
// as a look-alike of a real folder ("J" a-bar "zz" as "Jazz"). They are left
// out, named, and what lies below them is counted.
TEST_F(PBookBuilderTest, FoldersThatCannotBeListedOrNamedAreLeftOutAndToldWithAllBelowThem)
{
    std::string chain = root.Path() + "Long\\";
    std::vector<std::string> kept = {"Long"};
    ASSERT_TRUE(CreateDirectoryA(chain.c_str(), nullptr));
    for (int i = 0; chain.size() + 41 < 250; ++i)
    {
        kept.push_back("Part " + std::to_string(i) + std::string(34 - std::to_string(i).size(), '-'));
        chain += kept.back() + "\\";
        ASSERT_TRUE(CreateDirectoryA(chain.c_str(), nullptr));
    }
    const std::string at258 = chain + std::string(258 - chain.size(), 'y');
    const std::string at289 = chain + std::string(289 - chain.size(), 'x');
    const std::wstring japan = Wide(root.Path()) + L"\x65e5\x672c", alike = Wide(root.Path()) + L"J\x0101zz";
    const std::wstring made[] = {Wide(at258), Wide(at258) + L"\\In", Wide(at289), japan, japan + L"\\One",
                                 japan + L"\\Two", alike, alike + L"\\Inner"};
    for (const std::wstring& folder : made)
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr));
    CloseHandle(CreateFileW((alike + L"\\q.mp3").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    std::string page;
    std::vector<std::string> notes;
    {
        QuestionRecorder questions;
        page = Build();
        notes = questions.Texts();
    }
    DeleteFileW((alike + L"\\q.mp3").c_str());
    for (size_t i = sizeof(made) / sizeof(made[0]); i-- > 0;)
        RemoveDirectoryW((L"\\\\?\\" + made[i]).c_str());
    EXPECT_EQ(12 + static_cast<int>(kept.size()),
              Count(page, "<table border=0 cellspacing=0 cellpadding=0 width=100%>"));
    for (const std::string& name : kept)
        EXPECT_NE(std::string::npos, page.find(">" + name + "</font>")) << name;
    EXPECT_NE(std::string::npos, page.find("<font class=txtRow4>" + kept.back() + "</font>"));
    EXPECT_EQ(1, Count(page, ">Jazz</a>"));
    EXPECT_EQ(std::string::npos, page.find("q.mp3"));
    EXPECT_EQ(page.size() - strlen("\r\n</body>\r\n</html>\r\n"), page.rfind("\r\n</body>\r\n</html>\r\n"));
    EXPECT_NE("<missing>", ReadWhole(elsewhere.Path() + "Book\\book" + std::to_string(11 + kept.size()) + ".png"));
    EXPECT_EQ("<missing>", ReadWhole(elsewhere.Path() + "Book\\book" + std::to_string(12 + kept.size()) + ".png"));
    ASSERT_EQ(1u, notes.size());
    for (const std::string& named : {at258, at289, root.Path() + "??", root.Path() + "J?zz"})
        EXPECT_NE(std::string::npos, notes[0].find("\n" + named + "\\")) << named;
    EXPECT_NE(std::string::npos, notes[0].find("\n... and 4 more."));
}

// The pictures made by worker threads are byte for byte those made one after
// another on the user's thread, and so is the page; so are they when the
// workers' budget is too small for any cover, which the user's thread then makes.
TEST_F(PBookBuilderTest, PicturesOfWorkerThreadsMatchThoseOfOneThread)
{
    ASSERT_TRUE(root.WriteFile("Rock.png", BandedPicture(SImage::FORMAT_PNG)));
    ASSERT_TRUE(root.WriteFile("Rock\\Live.jpg", BandedPicture(SImage::FORMAT_JPEG)));
    AppWindow app;
    SImage picture, smallPicture;
    ASSERT_TRUE(picture.LoadResource(MAKEINTRESOURCEA(130), "BINARY"));
    smallPicture.CopyFrom(&picture);
    smallPicture.Resize(16, 16);
    PLibraryFiles::_SCovers covers;
    covers.root = app.App().GetRootFolder().GetPath();
    covers.names = &app.App().GetCoverNames();
    covers.picture = &picture;
    covers.smallPicture = &smallPicture;
    std::map<std::string, std::string> books[3];
    const int threads[3] = {0, 4, 4};
    const long long budgets[3] = {PBookPicturePool::BUDGET, PBookPicturePool::BUDGET, 1};
    for (int run = 0; run < 3; ++run)
    {
        TempFolder out;
        PBookBuilder builder(app.App(), covers);
        builder.SetPictureThreads(threads[run]);
        builder.SetPictureBudget(budgets[run]);
        ASSERT_TRUE(builder.Build((out.Path() + "Book.htm").c_str(), true));
        books[run]["Book.htm"] = ReadWhole(out.Path() + "Book.htm");
        SArrayString files;
        SDisk().List(&files, (out.Path() + "Book\\*.*").c_str(), false, false, true, false, true);
        for (int i = 0; i < files.GetCount(); ++i)
            books[run][files.GetAt(i).Mid(static_cast<int>(out.Path().size())).GetText()] =
                ReadWhole(files.GetAt(i).GetText());
    }
    EXPECT_EQ(25u, books[0].size());
    for (int run = 1; run < 3; ++run)
    {
        ASSERT_EQ(books[0].size(), books[run].size());
        for (const auto& file : books[0])
            EXPECT_TRUE(file.second == books[run][file.first]) << file.first << " " << run;
    }
}

TEST(PWndProgress, OneItemGoesStraightToTheEndAndRepeatsDrawNothing)
{
    PWndProgress progress;
    ASSERT_TRUE(progress.Create(nullptr));
    EXPECT_EQ(300, progress.GetClientWidth());
    EXPECT_EQ(35, progress.GetClientHeight());
    EXPECT_EQ(static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              progress.GetExStyle() & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
    EXPECT_EQ(0, progress.GetPos());
    EXPECT_TRUE(progress.Step(0, 1));
    EXPECT_EQ(1000, progress.GetPos());
    EXPECT_FALSE(progress.Step(0, 1));
    EXPECT_TRUE(progress.Step(0, 3));
    EXPECT_EQ(333, progress.GetPos());
}
