// The library counts and the information text built on them: one walk gives
// what a recount of every subtree gives, counts beyond 16 bits stay whole, and
// the text reads as the pane shows it.
#include <gtest/gtest.h>
#include <array>
#include <map>
#include "AppTestSupport.h"
#include "PLibraryScan.h"
#include "SDisk.h"
#include "SampleLibrary.h"

using namespace apptest;

namespace
{
// The real folders of the tree, with counts the test adds to chosen ones.
class CountingScan : public PLibraryScan
{
public:
    std::string root;
    std::map<std::string, std::array<unsigned int, 3>> added;  // by path below the root

protected:
    void ListFolder(const SString& folder, SArrayString* subFolders, unsigned int counts[3]) override
    {
        PLibraryScan::ListFolder(folder, subFolders, counts);
        const auto found = added.find(std::string(folder.GetText()).substr(root.size()));
        for (int k = 0; found != added.end() && k < 3; ++k)
            counts[k] += found->second[k];
    }
};

std::string Grouped(int n)
{
    return TextOf(IntToGroupedString(n));
}
}

// The sample's files cycle through every media extension, in both cases.
TEST(PLibraryScanTest, OneWalkCountsWhatARecountOfEverySubtreeCounts)
{
    TempFolder root;
    SampleLibrary::Options options;
    options.artists = 3;
    ASSERT_TRUE(SampleLibrary::Write(root.Path().c_str(), options));
    SArrayString folders;
    SArray<unsigned int> counts[3];
    PLibraryScan().Run(root.Path().c_str(), &folders, &counts[0], &counts[1], &counts[2]);
    SArrayString expected;
    expected.Add(root.Path().c_str());
    SDisk disk;
    disk.List(&expected, (root.Path() + "*.*").c_str(), true, true, false, false, true);
    ASSERT_EQ(expected.GetCount(), folders.GetCount());
    const char* const masks[3][4] = {{"*.mp3", "*.wma"}, {"*.mpg", "*.mpeg", "*.avi", "*.wmv"}, {"*.wax", "*.wvx"}};
    for (int i = 0; i < expected.GetCount(); ++i)
    {
        const SString folder = expected.GetAt(i);
        const int at = folders.FindSorted(TextOf(folder));
        ASSERT_GE(at, 0) << TextOf(folder);
        for (int k = 0; k < 3; ++k)
        {
            SArrayString files;
            for (const char* mask : masks[k])
                if (mask)
                    disk.List(&files, TextOf(folder + mask), true, false, true, false, true);
            EXPECT_EQ(static_cast<unsigned int>(files.GetCount()), counts[k].GetAt(at)) << TextOf(folder) << k;
        }
    }
}

// A folder the code page gives as a look-alike of a real one ("J" a-bar "zz"
// read as "Jazz") must not count that one twice, nor one outside it ("??") be walked.
TEST(PLibraryScanTest, FoldersTheCodePageCannotNameAreNotWalked)
{
    TempFolder root;
    ASSERT_TRUE(root.WriteFile("Jazz\\a.mp3", ""));
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, root.Path().c_str(), -1, wide, MAX_PATH);
    for (const wchar_t* name : {L"J\x0101zz", L"\x65e5\x672c"})
    {
        const std::wstring folder = std::wstring(wide) + name;
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        CloseHandle(CreateFileW((folder + L"\\b.mp3").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    }
    SArrayString folders;
    SArray<unsigned int> counts[3];
    PLibraryScan().Run(root.Path().c_str(), &folders, &counts[0], &counts[1], &counts[2]);
    for (const wchar_t* name : {L"J\x0101zz", L"\x65e5\x672c"})
    {
        DeleteFileW((std::wstring(wide) + name + L"\\b.mp3").c_str());
        RemoveDirectoryW((std::wstring(wide) + name).c_str());
    }
    ASSERT_EQ(2, folders.GetCount());
    EXPECT_STREQ((root.Path() + "Jazz\\").c_str(), TextOf(folders.GetAt(1)));
    EXPECT_EQ(1u, counts[0].GetAt(0));
    EXPECT_EQ(1u, counts[0].GetAt(1));
}

TEST(PLibraryScanTest, InformationTextShowsWholeCountsSingularsAndTheLink)
{
    SettingsKey settings;
    TempFolder root;
    for (const char* folder : {"Big\\Inner\\x.txt", "Small\\x.txt", "Rock\\Artist\\Album\\x.txt"})
        ASSERT_TRUE(root.WriteFile(folder, ""));
    ASSERT_TRUE(root.WriteFile("Big.ini", "[]\r\nsite=http://www.example.com/big\r\n"));
    ASSERT_TRUE(root.WriteFile("Small.ini", "[]\r\nsite=\r\n"));
    settings.SetText("Folder", root.Path());
    AppWindow window;
    PWndApp& app = window.App();
    CountingScan scan;
    scan.root = TextOf(app.GetRootFolder().GetPath());
    scan.added = {{"Big\\Inner\\", {70000, 0, 0}}, {"Big\\", {0, 1, 0}}, {"Small\\", {1, 0, 2}},
                  {"Rock\\Artist\\Album\\", {2, 0, 0}}};
    app.ScanLibrary(scan);
    // Made after the scan: the counts know nothing of it.
    ASSERT_TRUE(root.WriteFile("Rock\\Artist\\Late\\Inner\\x.txt", ""));
    EXPECT_EQ(Grouped(70003) + " songs, 1 video, 2 radios", TextOf(app.GetCountsText()));

    const std::string rootLine = "\x95 <b>" + Grouped(70003) + "</b> songs, <b>1</b> video and <b>2</b> radios";
    const struct
    {
        const char* open;    // folder opened first, "" for none
        const char* select;  // "" for none
        std::string text;
    } steps[] = {
        {"", "", rootLine},
        {"", "Big", rootLine + "\n\x95 <b>" + Grouped(70000) + "</b> songs, <b>1</b> video and <b>0</b> radio in <b>Big</b>"
                               "\n\x95 <link>http://www.example.com/big</link>"},
        {"", "Small", rootLine + "\n\x95 <b>1</b> song, <b>0</b> video and <b>2</b> radios in <b>Small</b>"},
        {"Rock", "", "\x95 <b>2</b> songs, <b>0</b> video and <b>0</b> radio in <b>Rock</b>"},
        {"Artist", "Album", "\x95 <b>2</b> songs, <b>0</b> video and <b>0</b> radio in <b>Rock\\Artist</b>"
                            "\n\x95 <b>2</b> songs, <b>0</b> video and <b>0</b> radio in <b>Album</b>"},
        {"Late", "Inner", ""},
    };
    for (const auto& s : steps)
    {
        if (*s.open)
        {
            ASSERT_TRUE(app.OpenFolder(s.open, "", false)) << s.open;
        }
        app.GetFolderList().SetSelection(-1);
        if (*s.select)
            app.GetFolderList().SelectItemByText(s.select, true);
        EXPECT_TRUE(app.UpdateInfoText());
        EXPECT_EQ(s.text, TextOf(app.GetInfoPane().GetWindowText())) << s.open << "/" << s.select;
    }
}
