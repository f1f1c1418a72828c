// Covers made by the folder menu: from a picture the user picks (PNG and JPEG),
// from the cover search, and the question before an existing cover is replaced.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "HttpStandIn.h"
#include "Hosts.h"
#include "PWndGoogle.h"
#include "SFile.h"
#include "SGuards.h"

using namespace apptest;
using namespace httptest;

namespace
{
std::string g_picture, g_filter;
int g_choices = 0;

bool ChoosePicture(HWND, const char* filter, SString* chosen)
{
    ++g_choices;
    g_filter = filter;
    *chosen = g_picture.c_str();
    return true;
}

std::string g_searchText;

// The search runs as the user would have it: the first picture is clicked.
int ClickFirstPicture(SWnd* window)
{
    PWndGoogle* search = static_cast<PWndGoogle*>(window);
    g_searchText = TextOf(search->GetSearchText());
    HWND view = search->GetView(0).GetHandle();
    PostMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    return window->DoModal();
}

// The names of the folder's cover files as the disk keeps them.
std::vector<std::string> CoverNames(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "*.png").c_str(), &found);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found) != FALSE)
        names.push_back(found.cFileName);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return names;
}

// The cover is the picture's centred square: green on the left, blue on the right.
void ExpectBandedCover(const std::string& file, const char* label)
{
    SImage cover;
    SFile stream;
    ASSERT_TRUE(stream.Open(file.c_str(), false, false, true) && cover.Load(&stream)) << label;
    EXPECT_EQ(150, cover.GetWidth()) << label;
    EXPECT_EQ(150, cover.GetHeight()) << label;
    Gdiplus::ARGB left = 0, right = 0;
    cover.GetPixel(20, 75, &left);
    cover.GetPixel(130, 75, &right);
    EXPECT_TRUE(NearColor(left, 0xFF00FF00)) << label << " " << std::hex << left;
    EXPECT_TRUE(NearColor(right, 0xFF0000FF)) << label << " " << std::hex << right;
}

class PWndAppMakeCoverTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* folder : {"Jazz", "Rock"})
            ASSERT_TRUE(root.WriteFile(std::string(folder) + "\\a.mp3", ""));
        settings.SetText("Folder", root.Path());
        g_choices = 0;
        PWndApp::SetFileChoiceFunction(ChoosePicture);
    }
    void TearDown() override
    {
        PWndApp::SetFileChoiceFunction(nullptr);
        PWndApp::SetModalFunction(nullptr);
    }

    void Command(PWndApp& app, const char* folder, int id)
    {
        app.GetFolderList().SetSelection(app.GetFolderList().SelectItemByText(folder, true));
        app.SendMessage(SWM_MENUCOMMAND, 0, id);
    }

    SettingsKey settings;
    TempFolder root;
    TempFolder pictures;
};
}

TEST_F(PWndAppMakeCoverTest, APictureBecomesTheLowerCasedSquareCover)
{
    AppWindow window;
    PWndApp& app = window.App();
    QuestionRecorder questions(IDYES);
    const struct
    {
        const char* folder;
        int format;
        const char* cover;
    } cases[] = {{"Rock", SImage::FORMAT_PNG, "rock.png"}, {"Jazz", SImage::FORMAT_JPEG, "jazz.png"}};
    for (const auto& c : cases)
    {
        g_picture = pictures.Path() + c.folder + (c.format == SImage::FORMAT_PNG ? ".png" : ".jpg");
        ASSERT_TRUE(WriteWholeFile(g_picture, BandedPicture(c.format)));
        Command(app, c.folder, 36);
        ExpectBandedCover(root.Path() + c.cover, c.folder);
        // The list is as it was, with the folder still selected and its new cover shown.
        const int item = app.GetFolderList().GetSelection();
        EXPECT_STREQ(c.folder, TextOf(app.GetFolderList().GetItemText(item)));
        SImage small;
        ASSERT_TRUE(small.LoadFromImageList(app.GetFolderCovers().GetHandle(), item + 1)) << c.folder;
        Gdiplus::ARGB left = 0, right = 0;
        small.GetPixel(3, 8, &left);
        small.GetPixel(12, 8, &right);
        EXPECT_TRUE(NearColor(left, 0xFF00FF00) && NearColor(right, 0xFF0000FF)) << c.folder;
    }
    EXPECT_EQ("Images|*.png;*.jpg;*.jpeg;*.gif;*.bmp", g_filter);
    EXPECT_EQ((std::vector<std::string>{"jazz.png", "rock.png"}), CoverNames(root.Path()));
    EXPECT_TRUE(questions.Texts().empty());
}

TEST_F(PWndAppMakeCoverTest, AnExistingCoverIsReplacedOnlyAfterYes)
{
    ASSERT_TRUE(root.WriteFile("Rock.png", "old cover"));
    g_picture = pictures.Path() + "new.png";
    ASSERT_TRUE(WriteWholeFile(g_picture, BandedPicture(SImage::FORMAT_PNG)));
    AppWindow window;
    PWndApp& app = window.App();
    {
        QuestionRecorder no(IDNO);
        Command(app, "Rock", 36);
        EXPECT_EQ(std::vector<std::string>{"Do you wish to delete the existing file?"}, no.Texts());
        EXPECT_EQ(std::vector<std::string>{"Confirmation"}, no.Captions());
        EXPECT_EQ(0, g_choices);
        EXPECT_EQ("old cover", ReadWholeFile(root.Path() + "Rock.png"));
    }
    QuestionRecorder yes(IDYES);
    {
        // A cover that cannot be replaced stays whole.
        SHandleGuard held(CreateFileA((root.Path() + "Rock.png").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr));
        ASSERT_TRUE(held.IsValid());
        EXPECT_FALSE(app.MakeCover((root.Path() + "Rock\\").c_str()));
    }
    EXPECT_EQ("old cover", ReadWholeFile(root.Path() + "Rock.png"));
    EXPECT_EQ((std::vector<std::string>{"Rock.png"}), CoverNames(root.Path()));
    Command(app, "Rock", 36);
    EXPECT_EQ(2u, yes.Texts().size());
    ExpectBandedCover(root.Path() + "rock.png", "replaced");
}

TEST_F(PWndAppMakeCoverTest, TheCoverSearchGivesTheFolderItsCover)
{
    const int port = ServerPort();
    if (port == 0)
        GTEST_SKIP() << "no test server (run through ctest)";
    ProxyGuard proxy(port);
    Serve("images?hl=en&q=Rock&start=0", "<a href=/imgres?imgurl=http://pictures.example/rock.png&w=300&h=200>"
                                         "<img src=http://" + std::string(IMAGE_SEARCH_HOST) + "/images?q=tbn:r >");
    Serve("images?q=tbn:r", BandedPicture(SImage::FORMAT_PNG));
    Serve("rock.png", BandedPicture(SImage::FORMAT_PNG));
    AppWindow window;
    PWndApp& app = window.App();
    PWndApp::SetModalFunction(ClickFirstPicture);
    Command(app, "Rock", 38);
    EXPECT_EQ("Rock", g_searchText);
    ExpectBandedCover(root.Path() + "rock.png", "found");
    // The other entry asks for the current folder's name too.
    PWndApp::SetModalFunction([](SWnd* window) {
        g_searchText = TextOf(static_cast<PWndGoogle*>(window)->GetSearchText());
        return -1;
    });
    QuestionRecorder yes(IDYES);
    Command(app, "Rock", 37);
    SString name = app.GetCurrentFolder().GetLastFolderName(true) + " Rock";
    name.UrlEncode(false);
    EXPECT_EQ(TextOf(name), g_searchText);
}
