// Notes are never lost: a note that cannot be read is not replaced by what is
// typed afterwards, and a save that fails keeps the old note and its mark.
#include <gtest/gtest.h>
#include "AppTestSupport.h"
#include "SGuards.h"
#include "SMemory.h"
#include "SampleLibrary.h"

using namespace apptest;

namespace
{
class PWndAppNotesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SampleLibrary::Write(root.Path().c_str(), SampleLibrary::Options()));
        settings.SetText("Folder", root.Path());
        PWndApp::SetSplashTime(0);
        window.reset(new AppWindow());
        PWndApp::SetSplashTime(2000);
        PWndApp& app = window->App();
        ASSERT_TRUE(app.OpenFolder("Rock", "", false));
        ASSERT_TRUE(app.OpenFolder("Artist", "", false));
        app.ShowWindow(SW_SHOW);  // folder notes load only into a visible editor
    }

    void Select(SListCtrl& list, const char* name)
    {
        list.SetSelection(-1);
        list.SelectItemByText(name, true);
        window->App().SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&list), 0);
    }

    // The editor's text as typing leaves it, then the editor's change notice.
    void Type(const char* text)
    {
        SCodeEditCtrl& notes = window->App().GetNotesEditor();
        SMemory typed;
        typed.Write(text, static_cast<int>(strlen(text)));
        typed.SeekToStart();
        if (notes.IsOpen())
            notes.LoadFromStream(&typed, "typed");
        window->App().SendMessage(SWM_CHANGED, reinterpret_cast<WPARAM>(&notes), 0);
    }

    // Held open without sharing, as another program may hold it.
    static HANDLE Hold(const std::string& path)
    {
        return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }

    std::string Album() const { return root.Path() + "Rock\\Artist\\Album 2\\"; }

    SettingsKey settings;
    TempFolder root;
    std::unique_ptr<AppWindow> window;
};

std::string ReadWhole(const std::string& path)
{
    SMemory content;
    if (!content.LoadFromFile(path.c_str()))
        return "<missing>";
    return std::string(reinterpret_cast<const char*>(content.GetData()), content.GetSize());
}
}

TEST_F(PWndAppNotesTest, UnreadableNoteIsNeitherEmptiedNorDeleted)
{
    PWndApp& app = window->App();
    SHandleGuard held(Hold(Album() + "folder.txt"));
    ASSERT_TRUE(held.IsValid());
    Select(app.GetFolderList(), "Album 2");
    EXPECT_FALSE(app.GetNotesEditor().IsOpen());
    char status[512] = {};
    app.GetStatusBar().SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_NE(std::string::npos, std::string(status).find(Album() + "folder.txt")) << status;
    held.Reset();
    for (const char* typed : {"", "typed over"})
    {
        Type(typed);
        EXPECT_FALSE(app.SaveNotes());
    }
    Select(app.GetFolderList(), "Album 1");
    EXPECT_EQ("Notes on this album.", ReadWhole(Album() + "folder.txt"));
}

TEST_F(PWndAppNotesTest, FailedSaveKeepsTheNoteAndItsMark)
{
    PWndApp& app = window->App();
    Select(app.GetFolderList(), "Album 2");
    SListCtrl& files = app.GetFileList();
    files.SetItemSelected(0, true);
    app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&files), 0);
    const std::string note = Album() + TextOf(files.GetItemText(0)) + ".txt";
    ASSERT_EQ(4, files.GetItemSecondImage(0));
    SHandleGuard held(Hold(note));
    ASSERT_TRUE(held.IsValid());
    for (const char* typed : {"replaced", ""})
    {
        Type(typed);
        EXPECT_FALSE(app.SaveNotes()) << typed;
        EXPECT_EQ(4, files.GetItemSecondImage(0)) << typed;
    }
    held.Reset();
    EXPECT_EQ("Notes on the first track.", ReadWhole(note));
    EXPECT_EQ("<missing>", ReadWhole(note + ".saving"));
}
