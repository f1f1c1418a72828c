#include <gtest/gtest.h>
#include "SPlatform.h"
#include <string>
#include "SArrayString.h"
#include "SPath.h"

namespace
{
std::string Text(const SString& text)
{
    return std::string(text.GetText() ? text.GetText() : "", text.GetLength());
}

bool Contains(const char* root, const char* other, bool strict)
{
    SPath rootPath(root);
    SPath otherPath(other);
    return rootPath.Contains(&otherPath, strict);
}

bool ContainsFolder(const char* root, const char* other, bool strict)
{
    SPath rootPath;
    rootPath.SetFolder(root);
    SPath otherPath(other);
    return rootPath.Contains(&otherPath, strict);
}
} // namespace

// --- Parsing ---

TEST(SPathTest, LocalPathIsSplitIntoItsParts)
{
    SPath path("C:\\a/b\\c.TXT");
    EXPECT_EQ(1, path.GetKind());
    EXPECT_EQ("C:\\a\\b\\c.TXT", Text(path.GetPath()));
    EXPECT_EQ("C:\\", Text(path.GetRoot()));
    EXPECT_EQ("a\\b\\", Text(path.GetFolder()));
    EXPECT_EQ("C:\\a\\b\\", Text(path.GetFullFolder()));
    EXPECT_EQ("c.TXT", Text(path.GetFileName()));
    EXPECT_EQ("c", Text(path.GetTitle()));
    EXPECT_EQ(".txt", Text(path.GetExtension(true, true)));
    EXPECT_EQ("TXT", Text(path.GetExtension(false, false)));
    EXPECT_EQ(4, path.GetComponentCount());
    EXPECT_TRUE(path.HasFileName());
    EXPECT_FALSE(path.IsFolderPath());
}

TEST(SPathTest, UrlKeepsSlashes)
{
    SPath path("http://host/dir/f.htm");
    EXPECT_EQ(3, path.GetKind());
    EXPECT_TRUE(path.IsUrl());
    EXPECT_EQ("http://host/", Text(path.GetRoot()));
    EXPECT_EQ("dir/", Text(path.GetFolder()));
    EXPECT_EQ("f.htm", Text(path.GetFileName()));
    path.Set("http://host\\dir\\f");
    EXPECT_EQ("http://host/dir/f", Text(path.GetPath()));
    path.Set("http://host");
    EXPECT_EQ("http://host/", Text(path.GetRoot()));
    EXPECT_EQ("", Text(path.GetFileName()));
    EXPECT_EQ(0, path.Set("a:b://x"));
}

TEST(SPathTest, UncPathHasServerRoot)
{
    SPath path("\\\\srv\\share\\f");
    EXPECT_EQ(2, path.GetKind());
    EXPECT_TRUE(path.IsUnc());
    EXPECT_EQ("\\\\srv\\", Text(path.GetRoot()));
    EXPECT_EQ("share\\", Text(path.GetFolder()));
    EXPECT_EQ("f", Text(path.GetFileName()));
    path.Set("\\\\srv/share/f");
    EXPECT_EQ("\\\\srv\\share\\f", Text(path.GetPath()));
}

TEST(SPathTest, InvalidTextsGiveKindZero)
{
    SPath path;
    EXPECT_EQ(0, path.Set("C:\\a<b"));
    EXPECT_EQ(0, path.Set(""));
    EXPECT_EQ(0, path.Set(nullptr));
    EXPECT_EQ(0, path.Set("C:\\a?.txt"));
    EXPECT_EQ(0, path.Set("C:\\a\tb"));
    EXPECT_FALSE(path.IsValid());
    EXPECT_EQ("", Text(path.GetPath()));
    EXPECT_EQ("", Text(path.GetRoot()));
    EXPECT_EQ("", Text(path.GetParent()));
    EXPECT_EQ(0, path.GetComponentCount());
    EXPECT_FALSE(path.HasFileName());
    EXPECT_TRUE(SPath::IsValidText(""));
    EXPECT_TRUE(SPath::IsValidText("C:\\Musique\\\xE9t\xE9.mp3"));
    EXPECT_FALSE(SPath::IsValidText("a\"b"));
    EXPECT_FALSE(SPath::IsValidText("a*b"));
    EXPECT_FALSE(SPath::IsValidText("a>b"));
}

TEST(SPathTest, LocalPathsAreMadeAbsolute)
{
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    std::string expected = current;
    if (expected.back() != '\\')
        expected += '\\';
    SPath path(".");
    EXPECT_EQ(expected, Text(path.GetPath()));
    EXPECT_TRUE(path.IsFolderPath());
    path.Set("C:\\a\\b\\..\\c\\.\\d.txt");
    EXPECT_EQ("C:\\a\\c\\d.txt", Text(path.GetPath()));
}

TEST(SPathTest, AssignAndCopy)
{
    SPath path;
    EXPECT_EQ("C:\\x\\y", Text(path.Assign("C:\\x\\y").GetPath()));
    SPath folder;
    folder.SetFolder("C:\\a\\b");
    folder.SetNoTrailingSeparator(true);
    SPath copy;
    EXPECT_EQ(1, copy.Copy(folder));
    EXPECT_EQ("C:\\a\\b", Text(copy.GetPath()));
    EXPECT_EQ("b", Text(copy.GetFileName()));
}

// --- Folders and parents ---

TEST(SPathTest, SetFolderNamesAFolder)
{
    SPath path;
    EXPECT_EQ(1, path.SetFolder("C:\\Music"));
    EXPECT_EQ("C:\\Music\\", Text(path.GetPath()));
    EXPECT_EQ("", Text(path.GetFileName()));
    EXPECT_TRUE(path.IsFolderPath());
    EXPECT_EQ("C:\\", Text(path.GetParent()));
    EXPECT_EQ("Music\\", Text(path.GetLastFolderName(false)));
    EXPECT_EQ("Music", Text(path.GetLastFolderName(true)));
    path.SetFolder("C:\\");
    EXPECT_FALSE(path.IsFolderPath());
    EXPECT_EQ("", Text(path.GetParent()));
    EXPECT_EQ("", Text(path.GetLastFolderName(false)));
}

TEST(SPathTest, ParentOfFoldersAndFiles)
{
    SPath path("C:\\a\\b\\c\\");
    EXPECT_EQ("C:\\a\\b\\", Text(path.GetParent()));
    path.Set("C:\\a\\b\\f.txt");
    EXPECT_EQ("C:\\a\\b\\", Text(path.GetParent()));
    path.Set("C:\\f.txt");
    EXPECT_EQ("C:\\", Text(path.GetParent()));
    path.Set("http://host/a/b/");
    EXPECT_EQ("http://host/a/", Text(path.GetParent()));
}

TEST(SPathTest, NoTrailingSeparatorDropsFolderSeparators)
{
    SPath path("C:\\a\\b\\");
    EXPECT_TRUE(path.SetNoTrailingSeparator(true));
    EXPECT_FALSE(path.GetKeepTrailingSeparator());
    EXPECT_EQ("a\\b", Text(path.GetFolder()));
    EXPECT_EQ("C:\\a\\b", Text(path.GetPath()));
    EXPECT_EQ("C:\\a", Text(path.GetParent()));
    EXPECT_EQ("b", Text(path.GetLastFolderName(false)));
    path.Set("C:\\a\\");
    EXPECT_EQ("C:\\", Text(path.GetParent()));
    path.Set("C:\\a\\b\\f.txt");
    EXPECT_EQ("C:\\a\\b\\f.txt", Text(path.GetPath()));
    EXPECT_EQ("C:\\a\\b", Text(path.GetParent()));
    EXPECT_FALSE(path.SetNoTrailingSeparator(false));
}

TEST(SPathTest, ExtensionAndTitleWithoutADot)
{
    SPath path("C:\\a\\README");
    EXPECT_EQ("README", Text(path.GetTitle()));
    EXPECT_EQ("", Text(path.GetExtension(true, false)));
    path.Set("C:\\a\\x.tar.GZ");
    EXPECT_EQ("x.tar", Text(path.GetTitle()));
    EXPECT_EQ("gz", Text(path.GetExtension(false, true)));
}

// --- Components ---

TEST(SPathTest, ComponentsAreRootFoldersAndFileName)
{
    SPath path("C:\\a\\b\\c.txt");
    SArrayString parts;
    parts.Add("before");
    EXPECT_EQ(4, path.GetComponents(&parts));
    ASSERT_EQ(5, parts.GetCount());
    EXPECT_EQ("C:\\", Text(parts.GetAt(1)));
    EXPECT_EQ("a\\", Text(parts.GetAt(2)));
    EXPECT_EQ("b\\", Text(parts.GetAt(3)));
    EXPECT_EQ("c.txt", Text(parts.GetAt(4)));
    SPath folder("C:\\a\\");
    folder.SetNoTrailingSeparator(true);
    SArrayString folderParts;
    EXPECT_EQ(3, folder.GetComponents(&folderParts));
    EXPECT_EQ("a\\", Text(folderParts.GetAt(1)));
    EXPECT_EQ("", Text(folderParts.GetAt(2)));
}

TEST(SPathTest, JoinComponents)
{
    SPath path("C:\\a\\b\\c.txt");
    EXPECT_EQ("a/b/", Text(path.JoinComponents(1, -1, true, '/')));
    EXPECT_EQ("a\\b\\c.txt", Text(path.JoinComponents(1, -1, false, '\\')));
    EXPECT_EQ("C:/a/", Text(path.JoinComponents(0, 2, true, '/')));
    EXPECT_EQ("b\\c.txt", Text(path.JoinComponents(2, 99, false, '\\')));
    EXPECT_EQ("", Text(path.JoinComponents(-1, 2, false, '\\')));
    EXPECT_EQ("", Text(path.JoinComponents(1, 0, false, '\\')));
    EXPECT_EQ("", Text(path.JoinComponents(4, -1, false, '\\')));
    EXPECT_EQ("", Text(path.JoinComponents(3, -1, true, '\\')));
}

// --- Inside-the-root tests ---

TEST(SPathTest, RootFolderContainsWhatLiesBelowIt)
{
    EXPECT_TRUE(Contains("D:\\Music\\", "D:\\Music\\x\\y.mp3", true));
    EXPECT_TRUE(Contains("D:\\Music\\", "d:\\music\\X\\", true));
    EXPECT_TRUE(Contains("D:\\Music\\", "d:\\music\\", false));
    EXPECT_FALSE(Contains("D:\\Music\\", "d:\\music\\", true));
    EXPECT_TRUE(Contains("D:\\Music\\", "D:\\Music\\a.mp3", false));
}

TEST(SPathTest, RootFolderDoesNotContainItsNeighbours)
{
    EXPECT_FALSE(Contains("D:\\Music\\", "D:\\Musical\\y.mp3", false));
    EXPECT_FALSE(Contains("D:\\Music\\", "D:\\Music\\..\\y.mp3", false));
    EXPECT_FALSE(Contains("D:\\Music\\", "D:\\Other\\c.mp3", false));
    EXPECT_FALSE(Contains("D:\\Music\\", "D:\\", false));
    EXPECT_FALSE(Contains("D:\\Music\\", "E:\\Music\\a.mp3", false));
    EXPECT_FALSE(Contains("D:\\Music\\", "\\\\D\\Music\\a.mp3", false));
}

TEST(SPathTest, RootGivenWithoutSeparatorIsTakenAsAWholeFolder)
{
    EXPECT_TRUE(Contains("D:\\Music", "D:\\Music\\a.mp3", false));
    EXPECT_TRUE(Contains("D:\\Music", "D:\\Music\\sub\\", true));
    EXPECT_FALSE(Contains("D:\\Music", "D:\\Musical\\b.mp3", false));
    EXPECT_FALSE(Contains("D:\\Music", "D:\\Other\\c.mp3", false));
    EXPECT_FALSE(Contains("D:\\Music", "D:\\Music", true));
    EXPECT_TRUE(ContainsFolder("D:\\Music", "D:\\Music\\a.mp3", false));
}

TEST(SPathTest, ClimbingOutOfTheRootIsRefusedForEveryKind)
{
    EXPECT_FALSE(Contains("D:\\Music\\", "D:\\Music\\sub\\..\\..\\Other\\c.mp3", false));
    EXPECT_TRUE(Contains("D:\\Music\\", "D:\\Music\\sub\\..\\c.mp3", false));
    EXPECT_FALSE(Contains("\\\\srv\\Music\\", "\\\\srv\\Music\\..\\Other\\c.mp3", false));
    EXPECT_FALSE(Contains("\\\\srv\\Music\\", "\\\\srv\\Music\\sub\\..\\..\\c.mp3", false));
    EXPECT_FALSE(Contains("\\\\srv\\Music\\", "\\\\srv\\Music\\sub\\..", true));
    EXPECT_TRUE(Contains("\\\\srv\\Music\\", "\\\\srv\\Music\\.\\sub\\c.mp3", true));
    EXPECT_FALSE(Contains("http://host/music/", "http://host/music/../secret.txt", false));
    EXPECT_TRUE(Contains("http://host/music/", "http://host/music/a/../b.mp3", false));
}

TEST(SPathTest, IsSameFolderComparesEveryPartWithoutCase)
{
    SPath root;
    root.SetFolder("D:\\Music");
    SPath same("d:\\MUSIC\\");
    EXPECT_TRUE(root.IsSameFolder(&same));
    EXPECT_TRUE(root.IsSameFolderAs("D:\\music\\"));
    EXPECT_FALSE(root.IsSameFolderAs("D:\\Music"));
    EXPECT_FALSE(root.IsSameFolderAs("D:\\Music\\a\\"));
    EXPECT_FALSE(root.IsSameFolderAs("\\\\D\\Music\\"));
    SPath invalid;
    EXPECT_FALSE(root.IsSameFolder(&invalid));
    EXPECT_FALSE(root.IsSameFolder(nullptr));
}
