// The description window as a real window over a temporary library: the folder
// tree and its link index, opening and saving texts without ever losing one,
// the tag buttons, and the pages with their hidden picture folder.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "PWndDescription.h"
#include "SDisk.h"
#include "SMemory.h"

using namespace apptest;

namespace
{
int s_questions = 0;
int CountQuestion(HWND, const char*, const char*, UINT)
{
    ++s_questions;
    return IDOK;
}

class PWndDescriptionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Rock and Rock\Artist hold folders; Jazz, Rock\Band and the album only files.
        root.WriteFile("Rock\\Artist\\Album\\01 a.mp3", "x");
        root.WriteFile("Rock\\Band\\01 b.mp3", "x");
        root.WriteFile("Jazz\\01 c.mp3", "x");
        settings.SetText("Folder", root.Path());
        s_questions = 0;
        PWndApp::SetQuestionFunction(CountQuestion);
        app.reset(new AppWindow());
    }
    void TearDown() override { PWndApp::SetQuestionFunction(nullptr); }

    // The window over the library, its tree loaded as the main window does.
    std::unique_ptr<PWndDescription> Open()
    {
        std::unique_ptr<PWndDescription> window(new PWndDescription());
        window->SetOwner(&app->App());
        window->Create("", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
        window->LoadTree();
        return window;
    }
    HTREEITEM Item(PWndDescription& window, const char* path)
    {
        STreeCtrl& tree = window.GetTree();
        for (HTREEITEM item = tree.GetChild(TVI_ROOT); item; item = tree.GetNextInOrder(item))
            if (tree.GetItemPath(item) == path)
                return item;
        return nullptr;
    }
    void Select(PWndDescription& window, const char* path) { window.GetTree().SelectItem(Item(window, path)); }
    static std::string Lines(SCodeEditCtrl& editor)
    {
        return editor.IsOpen() ? editor.GetAllText().GetText() : "<closed>";
    }

    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<AppWindow> app;
};
}

TEST_F(PWndDescriptionTest, TreeListsFoldersThatHoldFoldersWithTheirIndex)
{
    auto window = Open();
    STreeCtrl& tree = window->GetTree();
    std::string items;
    for (HTREEITEM item = tree.GetChild(TVI_ROOT); item; item = tree.GetNextInOrder(item))
        items += std::string(tree.GetItemPath(item).GetText()) + ";";
    EXPECT_EQ("Rock;Rock\\Artist;", items);
    const PFolderLinkIndex& links = window->GetLinks();
    ASSERT_EQ(2, links.GetCount());
    SString path;
    EXPECT_TRUE(links.FindPath("ARTIST", &path));
    EXPECT_STREQ("Rock\\Artist", path.GetText());
    EXPECT_EQ(2, window->GetFolderCount());
    EXPECT_STREQ("Description - KLV Sonavel", window->GetWindowText().GetText());
    EXPECT_FALSE(window->GetToolBar().IsButtonEnabled(PWndDescription::TAG_BOLD));
}

TEST_F(PWndDescriptionTest, EmptyTextsAreNeverWrittenAndErasedOnesGoWithTheirPage)
{
    root.WriteFile("Rock\\Artist.txt", "Some words");
    root.WriteFile("Rock\\Artist.htm", "<html></html>");
    auto window = Open();
    Select(*window, "Rock");
    EXPECT_EQ("", Lines(window->GetEditor()));
    EXPECT_TRUE(window->GetToolBar().IsButtonEnabled(PWndDescription::TAG_BOLD));
    Select(*window, "Rock\\Artist");
    EXPECT_EQ("<missing>", ReadWhole(root.Path() + "Rock.txt"));
    EXPECT_EQ("Some words", Lines(window->GetEditor()));
    window->GetEditor().SetSelectionRange(0, 0, 0, 10, 0);
    window->GetEditor().ReplaceSelection("");
    Select(*window, "Rock");
    EXPECT_EQ("<missing>", ReadWhole(root.Path() + "Rock\\Artist.txt"));
    EXPECT_FALSE(window->GeneratePage(Item(*window, "Rock\\Artist")));
    EXPECT_EQ("<missing>", ReadWhole(root.Path() + "Rock\\Artist.htm"));
}

TEST_F(PWndDescriptionTest, UnreadableTextIsNotOpenedAndSurvivesTheLeave)
{
    root.WriteFile("Rock.txt", "Keep me");
    auto window = Open();
    HANDLE held = CreateFileA((root.Path() + "Rock.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    Select(*window, "Rock");
    CloseHandle(held);
    EXPECT_EQ("<closed>", Lines(window->GetEditor()));
    EXPECT_FALSE(window->GetToolBar().IsButtonEnabled(PWndDescription::TAG_BOLD));
    Select(*window, "Rock\\Artist");
    EXPECT_EQ("Keep me", ReadWhole(root.Path() + "Rock.txt"));
    EXPECT_EQ(0, s_questions);
}

TEST_F(PWndDescriptionTest, FailedWriteIsToldKeptAndRefusesTheCloseAndTheLeave)
{
    auto window = Open();
    Select(*window, "Rock\\Artist");
    window->GetEditor().ReplaceSelection("New words");
    // A folder where the text goes: no file can be written there.
    ASSERT_TRUE(CreateDirectoryA((root.Path() + "Rock\\Artist.txt").c_str(), nullptr));
    EXPECT_FALSE(window->Close());
    EXPECT_NE(nullptr, window->GetHandle());
    EXPECT_EQ(1, s_questions);
    Select(*window, "Rock");
    EXPECT_EQ(2, s_questions);
    EXPECT_EQ(Item(*window, "Rock\\Artist"), window->GetTree().GetSelectedItem());
    EXPECT_EQ("New words", Lines(window->GetEditor()));
    RemoveDirectoryA((root.Path() + "Rock\\Artist.txt").c_str());
    EXPECT_TRUE(window->Close());
    EXPECT_EQ("New words", ReadWhole(root.Path() + "Rock\\Artist.txt"));
}

TEST_F(PWndDescriptionTest, TagButtonsWrapEachSelectedLineOrInsertAtTheCaret)
{
    auto window = Open();
    Select(*window, "Rock");
    SCodeEditCtrl& editor = window->GetEditor();
    const struct
    {
        int command;
        int line, column, endLine, endColumn;  // endLine -1: no selection
        const char* text;
        int caretLine, caretColumn;
    } cases[] = {
        {PWndDescription::TAG_BOLD, 0, 1, 2, 3, "o<b>ne</b>\r\n<b>two</b>\r\n<b>thr</b>ee", -1, -1},
        {PWndDescription::TAG_BOLD, 1, 1, -1, -1, "one\r\ntwo\r\nthree", 1, 1},
        {PWndDescription::TAG_GENRE, 1, 1, -1, -1, "one\r\nt#genre #wo\r\nthree", 1, 8},
        {PWndDescription::TAG_IMAGE, 0, 0, 1, 3, "#image one#\r\n#image two#\r\nthree", -1, -1},
        {4, 2, 0, 2, 5, "one\r\ntwo\r\n#name three#", -1, -1},
        {PWndDescription::TAG_GROUP, 1, 0, -1, -1, "one\r\n{}\r\ntwo\r\nthree", 1, 1},
        {PWndDescription::TAG_GROUP, 0, 0, 0, 3, "{one}\r\n\r\ntwo\r\nthree", -1, -1},
    };
    for (const auto& c : cases)
    {
        editor.SetSelectionRange(0, 0, editor.GetLineCount() - 1, 1000, 0);
        editor.ReplaceSelection("one\r\ntwo\r\nthree");
        editor.SetSelectionRange(c.line, c.column, c.endLine, c.endColumn, 0);
        window->SendMessage(SWM_TOOLBAR_COMMAND, 0, c.command);
        EXPECT_EQ(c.text, Lines(editor)) << c.command << " " << c.line;
        if (c.caretLine >= 0)
        {
            EXPECT_EQ(c.caretLine, editor.GetCaretLine()) << c.command;
            EXPECT_EQ(c.caretColumn, editor.GetCaretColumn()) << c.command;
        }
    }
}

TEST_F(PWndDescriptionTest, PagesAreWrittenFromWhatIsOnDisk)
{
    root.WriteFile("Rock.txt", "{Rock}\r\nSee #name artist#.");
    root.WriteFile("Rock\\Artist.txt", "Artist text");
    auto window = Open();
    window->SendMessage(SWM_TOOLBAR_COMMAND, 0, PWndDescription::GENERATE_PAGE);
    EXPECT_EQ("<missing>", ReadWhole(root.Path() + "Rock.htm"));
    Select(*window, "Rock\\Artist");
    window->GetEditor().SetSelectionRange(0, 0, 0, 11, 0);
    window->GetEditor().ReplaceSelection("Edited");
    window->SendMessage(SWM_TOOLBAR_COMMAND, 0, PWndDescription::GENERATE_ALL);
    const std::string rock = ReadWhole(root.Path() + "Rock.htm");
    const std::string start = "<html><head>\r\n<base href=\"" + root.Path() + "\">\r\n<style>";
    EXPECT_EQ(start, rock.substr(0, start.size()));
    EXPECT_NE(std::string::npos, rock.find("See <a href=\"Rock\\Artist.link\" class=txtName>artist</a>.<br>"));
    EXPECT_NE(std::string::npos, ReadWhole(root.Path() + "Rock\\Artist.htm").find("Edited<br>"));
    SDisk disk;
    EXPECT_TRUE(disk.IsHidden((root.Path() + "Images").c_str()));
    SMemory icon("BINARY", PWndDescription::CHAPTER_ICON);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(icon.GetData()), icon.GetSize()),
              ReadWhole(root.Path() + "Images\\icon.gif"));
    EXPECT_STREQ("Ready.", window->GetStatusBar().GetWindowText().GetText());
}
