// Covers made by the folder menu: from a picture the user picks (PNG, JPEG and
// GIF), from the cover search, and the question before an existing cover is
// replaced.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "HttpStandIn.h"
#include "Hosts.h"
#include "PWndGoogle.h"
#include "PalettePictures.h"
#include "SFile.h"
#include "SGuards.h"

using namespace apptest;
using namespace httptest;

namespace
{
std::string g_picture, g_filter, g_searchText;
int g_choices = 0;

bool ChoosePicture(HWND, const char* filter, SString* chosen)
{
    ++g_choices;
    g_filter = filter;
    *chosen = g_picture.c_str();
    return true;
}

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
    SFindGuard find(FindFirstFileA((folder + "*.png").c_str(), &found));
    for (bool more = find.IsValid(); more; more = FindNextFileA(find.Get(), &found) != FALSE)
        names.push_back(found.cFileName);
    return names;
}

// The picture's centred square: green on the left, blue on the right, unless
// other colours are named.
bool IsBandedSquare(const SImage& picture, int x1, int x2, int y, Gdiplus::ARGB leftColor = 0xFF00FF00,
                    Gdiplus::ARGB rightColor = 0xFF0000FF)
{
    Gdiplus::ARGB left = 0, right = 0;
    return picture.GetPixel(x1, y, &left) && picture.GetPixel(x2, y, &right) && NearColor(left, leftColor) &&
           NearColor(right, rightColor);
}

bool IsBandedCover(const std::string& file, Gdiplus::ARGB leftColor = 0xFF00FF00,
                   Gdiplus::ARGB rightColor = 0xFF0000FF)
{
    SImage cover;
    SFile stream;
    return stream.Open(file.c_str(), false, false, true) && cover.Load(&stream) && cover.GetWidth() == 150 &&
           cover.GetHeight() == 150 && IsBandedSquare(cover, 20, 130, 75, leftColor, rightColor);
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
    TempFolder root, pictures;
};
}

TEST_F(PWndAppMakeCoverTest, APictureBecomesTheLowerCasedSquareCoverShownAtOnce)
{
    AppWindow window;
    PWndApp& app = window.App();
    for (const char* folder : {"Rock", "Jazz"})
    {
        const bool png = folder[0] == 'R';
        g_picture = pictures.Path() + folder + (png ? ".png" : ".jpg");
        ASSERT_TRUE(WriteWholeFile(g_picture, BandedPicture(png ? SImage::FORMAT_PNG : SImage::FORMAT_JPEG)));
        Command(app, folder, 36);
        EXPECT_TRUE(IsBandedCover(root.Path() + folder + ".png")) << folder;
        // The folder is still selected, its list picture the new cover.
        const int item = app.GetFolderList().GetSelection();
        EXPECT_STREQ(folder, TextOf(app.GetFolderList().GetItemText(item)));
        SImage small;
        ASSERT_TRUE(small.LoadFromImageList(app.GetFolderCovers().GetHandle(), item + 1));
        EXPECT_TRUE(IsBandedSquare(small, 3, 12, 8)) << folder;
    }
    EXPECT_EQ("Images|*.png;*.jpg;*.jpeg;*.gif;*.bmp", g_filter);
    EXPECT_EQ((std::vector<std::string>{"jazz.png", "rock.png"}), CoverNames(root.Path()));
}

TEST_F(PWndAppMakeCoverTest, AnExistingCoverIsReplacedOnlyAfterYesAndOnlyWhole)
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
    }
    QuestionRecorder yes(IDYES);
    {
        // Held by another program: the new cover cannot take its place.
        SHandleGuard held(
            CreateFileA((root.Path() + "Rock.png").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held.IsValid());
        EXPECT_FALSE(app.MakeCover((root.Path() + "Rock\\").c_str()));
    }
    EXPECT_EQ("old cover", ReadWholeFile(root.Path() + "Rock.png"));
    EXPECT_EQ(std::vector<std::string>{"Rock.png"}, CoverNames(root.Path()));
    Command(app, "Rock", 36);
    EXPECT_TRUE(IsBandedCover(root.Path() + "rock.png"));
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
    EXPECT_TRUE(IsBandedCover(root.Path() + "rock.png"));
    // The other entry adds the current folder's name.
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

// A GIF picked by hand, and from the search a GIF whose right half is its
// transparent colour: both become covers in their own colours, the
// transparent part white.
TEST_F(PWndAppMakeCoverTest, PalettePicturesBecomeCoversByHandAndFromTheSearch)
{
    using namespace palettepictures;
    const int port = ServerPort();
    if (port == 0)
        GTEST_SKIP() << "no test server (run through ctest)";
    g_picture = pictures.Path() + "bands.gif";
    ASSERT_TRUE(WriteWholeFile(g_picture, Bytes(GIF)));
    ProxyGuard proxy(port);
    Serve("images?hl=en&q=Rock&start=0", "<a href=/imgres?imgurl=http://pictures.example/rock.gif&w=60&h=40>"
                                         "<img src=http://" + std::string(IMAGE_SEARCH_HOST) + "/images?q=tbn:r >");
    Serve("images?q=tbn:r", Bytes(PNG8));
    Serve("rock.gif", GifClearB());
    AppWindow window;
    PWndApp& app = window.App();
    Command(app, "Jazz", 36);
    EXPECT_TRUE(IsBandedCover(root.Path() + "jazz.png", A, B));
    PWndApp::SetModalFunction(ClickFirstPicture);
    Command(app, "Rock", 38);
    EXPECT_TRUE(IsBandedCover(root.Path() + "rock.png", A, 0xFFFFFFFF));
}
