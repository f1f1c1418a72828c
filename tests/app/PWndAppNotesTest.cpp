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
void Select(PWndApp& app, SListCtrl& list, int item)
{
    list.SetSelection(-1);
    list.SetItemSelected(item, true);
    app.SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&list), 0);
}

// The editor's text as typing leaves it, then the editor's change notice.
void Type(PWndApp& app, const char* text)
{
    SCodeEditCtrl& notes = app.GetNotesEditor();
    SMemory typed;
    typed.Write(text, static_cast<int>(strlen(text)));
    typed.SeekToStart();
    if (notes.IsOpen())
        notes.LoadFromStream(&typed, "typed");
    app.SendMessage(SWM_CHANGED, reinterpret_cast<WPARAM>(&notes), 0);
}

// Held open without sharing, as another program may hold it.
HANDLE Hold(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::string ReadWhole(const std::string& path)
{
    SMemory content;
    if (!content.LoadFromFile(path.c_str()))
        return "<missing>";
    return std::string(reinterpret_cast<const char*>(content.GetData()), content.GetSize());
}
}

TEST(PWndAppNotesTest, UnreadableNotesAndFailedSavesLeaveTheNoteAsItWas)
{
    SettingsKey settings;
    TempFolder root;
    ASSERT_TRUE(SampleLibrary::Write(root.Path().c_str(), SampleLibrary::Options()));
    settings.SetText("Folder", root.Path());
    PWndApp::SetSplashTime(0);
    AppWindow window;
    PWndApp::SetSplashTime(2000);
    PWndApp& app = window.App();
    ASSERT_TRUE(app.OpenFolder("Rock", "", false));
    ASSERT_TRUE(app.OpenFolder("Artist", "", false));
    app.ShowWindow(SW_SHOW);  // folder notes load only into a visible editor
    const std::string album = root.Path() + "Rock\\Artist\\Album 2\\";

    // Unreadable while the folder is opened, released before the edits and the leave.
    SHandleGuard held(Hold(album + "folder.txt"));
    ASSERT_TRUE(held.IsValid());
    Select(app, app.GetFolderList(), 1);
    EXPECT_FALSE(app.GetNotesEditor().IsOpen());
    char status[512] = {};
    app.GetStatusBar().SendMessage(SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(status));
    EXPECT_NE(std::string::npos, std::string(status).find(album + "folder.txt")) << status;
    held.Reset();
    for (const char* typed : {"", "typed over"})
    {
        Type(app, typed);
        EXPECT_FALSE(app.SaveNotes());
    }
    Select(app, app.GetFolderList(), 0);
    EXPECT_EQ("Notes on this album.", ReadWhole(album + "folder.txt"));

    // A track note held while it is replaced or emptied.
    Select(app, app.GetFolderList(), 1);
    SListCtrl& files = app.GetFileList();
    Select(app, files, 0);
    const std::string note = album + TextOf(files.GetItemText(0)) + ".txt";
    ASSERT_EQ(4, files.GetItemSecondImage(0));
    held.Reset(Hold(note));
    for (const char* typed : {"replaced", ""})
    {
        Type(app, typed);
        EXPECT_FALSE(app.SaveNotes()) << typed;
        EXPECT_EQ(4, files.GetItemSecondImage(0)) << typed;
    }
    held.Reset();
    EXPECT_EQ("Notes on the first track.", ReadWhole(note));
    EXPECT_EQ("<missing>", ReadWhole(note + ".saving"));
}
