#include <gtest/gtest.h>
#include <zlib.h>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>
#include "SArrayString.h"
#include "SDisk.h"
#include "SPath.h"
#include "StreamsTestFolder.h"

namespace
{
std::string Text(const SString& text)
{
    return std::string(text.GetText() ? text.GetText() : "", text.GetLength());
}

std::vector<std::string> Sorted(const SArrayString& array)
{
    std::vector<std::string> entries;
    for (int i = 0; i < array.GetCount(); i++)
        entries.push_back(Text(array.GetAt(i)));
    std::sort(entries.begin(), entries.end());
    return entries;
}

// A media tree:
//   m\a.mp3  m\b.txt  m\h.mp3 (hidden)
//   m\sub\c.mp3  m\sub\deep\d.mp3
//   m\empty\  m\onlysub\inner\  m\hid\ (hidden) with e.mp3
class SDiskTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder.WriteFile("m\\a.mp3", "a");
        folder.WriteFile("m\\b.txt", "bb");
        folder.WriteFile("m\\h.mp3", "h");
        folder.WriteFile("m\\sub\\c.mp3", "ccc");
        folder.WriteFile("m\\sub\\deep\\d.mp3", "dddd");
        folder.MakeFolder("m\\empty");
        folder.MakeFolder("m\\onlysub\\inner");
        folder.WriteFile("m\\hid\\e.mp3", "e");
        SetFileAttributesA(folder.Path("m\\h.mp3").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA(folder.Path("m\\hid").c_str(), FILE_ATTRIBUTE_HIDDEN);
        m = folder.Path("m\\");
    }

    std::vector<std::string> ListSorted(const std::string& pattern, int bits)
    {
        SArrayString out;
        const int count = disk.ListEntries(&out, pattern.c_str(), bits, nullptr, nullptr);
        EXPECT_EQ(out.GetCount(), count);
        return Sorted(out);
    }

    StreamsTestFolder folder;
    SDisk disk;
    std::string m;
};

// Makes a host symbolic link in an existing folder. Wine starts host programs and
// names the host path of a folder; elsewhere there is no such link to make.
bool MakeHostSymlink(const std::string& folderPath, const char* name, const char* target)
{
    typedef char* (*UnixName)(const wchar_t*);
    const UnixName unixName =
        reinterpret_cast<UnixName>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name"));
    if (!unixName)
        return false;
    const std::wstring wide(folderPath.begin(), folderPath.end());
    char* hostFolder = unixName(wide.c_str());
    if (!hostFolder)
        return false;
    std::string command = std::string("ln -sfn ") + target + " \"" + hostFolder + "/" + name + "\"";
    HeapFree(GetProcessHeap(), 0, hostFolder);
    STARTUPINFOA startup = {sizeof(startup)};
    PROCESS_INFORMATION process;
    if (!CreateProcessA("Z:\\bin\\ln", &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    // The handle of a host process does not tell when it ends: wait for the link.
    for (int i = 0; i < 100 && !StreamsTestFolder::Exists(folderPath + name); i++)
        Sleep(50);
    return StreamsTestFolder::Exists(folderPath + name);
}

uint16_t U16(const std::string& bytes, size_t offset)
{
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes[offset]) |
                                 static_cast<unsigned char>(bytes[offset + 1]) << 8);
}

uint32_t U32(const std::string& bytes, size_t offset)
{
    return U16(bytes, offset) | static_cast<uint32_t>(U16(bytes, offset + 2)) << 16;
}

uint32_t Crc(const std::string& bytes)
{
    return crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), bytes.size());
}

// Number of parts of a path before its last folder, for skipParts.
int PartsBefore(const std::string& folderPath)
{
    SPath path(folderPath.c_str());
    return path.GetComponentCount() - 2;
}

} // namespace

// --- Attributes, sizes, existence ---

TEST_F(SDiskTest, AttributesOfFilesAndFolders)
{
    EXPECT_EQ(-1, disk.GetAttributes(folder.Path("missing").c_str()));
    EXPECT_EQ(-1, disk.GetAttributes(nullptr));
    const std::string a = folder.Path("m\\a.mp3");
    EXPECT_EQ(0, disk.GetAttributes(a.c_str()));
    ASSERT_TRUE(disk.SetAttributes(a.c_str(), SDisk::kHidden | SDisk::kReadOnly | 0x20));
    EXPECT_EQ(3, disk.GetAttributes(a.c_str()));
    EXPECT_TRUE(disk.IsHidden(a.c_str()));
    ASSERT_TRUE(disk.SetAttributes(a.c_str(), 0));
    EXPECT_EQ(0, disk.GetAttributes(a.c_str()));
    EXPECT_FALSE(disk.IsHidden(a.c_str()));
    EXPECT_TRUE(disk.IsHidden(folder.Path("m\\hid").c_str()));
    EXPECT_FALSE(disk.IsHidden(folder.Path("missing").c_str()));
    EXPECT_FALSE(disk.SetAttributes(folder.Path("missing").c_str(), 1));
}

TEST_F(SDiskTest, FileSizeAndDeletion)
{
    EXPECT_EQ(4, disk.GetFileSize(folder.Path("m\\sub\\deep\\d.mp3").c_str()));
    EXPECT_EQ(-1, disk.GetFileSize(folder.Path("m\\missing").c_str()));
    EXPECT_EQ(-1, disk.GetFileSize(""));
    EXPECT_TRUE(disk.DeleteFile(folder.Path("m\\b.txt").c_str()));
    EXPECT_FALSE(StreamsTestFolder::Exists(folder.Path("m\\b.txt")));
    EXPECT_FALSE(disk.DeleteFile(folder.Path("m\\b.txt").c_str()));
}

TEST_F(SDiskTest, FileAndFolderExistence)
{
    EXPECT_TRUE(disk.FileExists((m + "a.mp3").c_str()));
    EXPECT_TRUE(disk.FileExists((m + "h.mp3").c_str()));
    EXPECT_FALSE(disk.FileExists((m + "sub\\").c_str()));
    EXPECT_FALSE(disk.FileExists((m + "sub").c_str()));
    EXPECT_FALSE(disk.FileExists((m + "missing.mp3").c_str()));
    EXPECT_FALSE(disk.FileExists((m + "*.mp3").c_str()));
    EXPECT_FALSE(disk.FileExists(""));
    EXPECT_TRUE(disk.FolderExists((m + "sub\\").c_str()));
    EXPECT_TRUE(disk.FolderExists((m + "sub").c_str()));
    EXPECT_TRUE(disk.FolderExists((m + "hid/").c_str()));
    EXPECT_FALSE(disk.FolderExists((m + "a.mp3").c_str()));
    EXPECT_FALSE(disk.FolderExists((m + "missing\\").c_str()));
    EXPECT_FALSE(disk.FolderExists(""));
}

TEST_F(SDiskTest, LocateFindsRelativeNamesFromTheCurrentFolder)
{
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(m.c_str()));
    const bool found = disk.Locate("sub\\c.mp3");
    const bool folderFound = disk.Locate("sub");
    const bool missing = disk.Locate("nothing.mp3");
    SetCurrentDirectoryA(previous);
    EXPECT_TRUE(found);
    EXPECT_TRUE(folderFound);
    EXPECT_FALSE(missing);
    EXPECT_FALSE(disk.Locate(""));
}

// --- Listing ---

TEST_F(SDiskTest, RecursiveFileListingGivesFullPaths)
{
    EXPECT_EQ((std::vector<std::string>{m + "a.mp3", m + "h.mp3", m + "hid\\e.mp3", m + "sub\\c.mp3",
                                        m + "sub\\deep\\d.mp3"}),
              ListSorted(m + "*.mp3", SDisk::kListRecursive | SDisk::kListFiles));
}

TEST_F(SDiskTest, SkippingHiddenEntriesSkipsHiddenFolders)
{
    EXPECT_EQ((std::vector<std::string>{m + "a.mp3", m + "sub\\c.mp3", m + "sub\\deep\\d.mp3"}),
              ListSorted(m + "*.mp3", SDisk::kListRecursive | SDisk::kListFiles | SDisk::kListSkipHidden));
}

TEST_F(SDiskTest, MaskSelectsNamesButRecursionEntersEveryFolder)
{
    EXPECT_EQ((std::vector<std::string>{m + "b.txt"}), ListSorted(m + "*.txt", SDisk::kListFiles));
    folder.WriteFile("m\\onlysub\\inner\\x.txt", "x");
    EXPECT_EQ((std::vector<std::string>{m + "b.txt", m + "onlysub\\inner\\x.txt"}),
              ListSorted(m + "*.txt", SDisk::kListFiles | SDisk::kListRecursive));
    EXPECT_EQ((std::vector<std::string>{m + "sub\\"}), ListSorted(m + "s*", SDisk::kListFolders | SDisk::kListFiles));
}

TEST_F(SDiskTest, FolderListingsEndWithASeparator)
{
    EXPECT_EQ((std::vector<std::string>{m + "empty\\", m + "hid\\", m + "onlysub\\", m + "sub\\"}),
              ListSorted(m + "*", SDisk::kListFolders));
    EXPECT_EQ((std::vector<std::string>{m + "empty\\", m + "hid\\", m + "onlysub\\", m + "onlysub\\inner\\",
                                        m + "sub\\", m + "sub\\deep\\"}),
              ListSorted(m + "*", SDisk::kListFolders | SDisk::kListRecursive));
    EXPECT_EQ((std::vector<std::string>{m + "a.mp3", m + "b.txt", m + "empty\\", m + "onlysub\\", m + "sub\\"}),
              ListSorted(m + "*.*", SDisk::kListFolders | SDisk::kListFiles | SDisk::kListSkipHidden));
}

TEST_F(SDiskTest, ListingWithoutWildcardGivesBareNames)
{
    const std::string parent = folder.Path("m");
    EXPECT_EQ((std::vector<std::string>{"m\\"}), ListSorted(parent, SDisk::kListFolders | SDisk::kListFiles));
    EXPECT_EQ((std::vector<std::string>{}), ListSorted(parent, SDisk::kListFiles));
    EXPECT_EQ((std::vector<std::string>{"a.mp3"}), ListSorted(m + "a.mp3", SDisk::kListFiles));
    EXPECT_EQ((std::vector<std::string>{"a.mp3"}), ListSorted(m + "a?mp3", SDisk::kListFiles));
}

TEST_F(SDiskTest, FolderFiltersByContent)
{
    const int folders = SDisk::kListFolders;
    EXPECT_EQ((std::vector<std::string>{m + "empty\\", m + "onlysub\\"}),
              ListSorted(m + "*", folders | SDisk::kListFoldersWithoutFiles));
    EXPECT_EQ((std::vector<std::string>{m + "hid\\", m + "sub\\"}),
              ListSorted(m + "*", folders | SDisk::kListFoldersWithFiles));
    EXPECT_EQ((std::vector<std::string>{m + "empty\\", m + "hid\\"}),
              ListSorted(m + "*", folders | SDisk::kListFoldersWithoutSubfolders));
    EXPECT_EQ((std::vector<std::string>{m + "onlysub\\", m + "sub\\"}),
              ListSorted(m + "*", folders | SDisk::kListFoldersWithSubfolders));
    SArrayString empty;
    EXPECT_EQ(1, disk.List(&empty, (m + "*").c_str(), false, true, false, true, true));
    EXPECT_EQ("empty\\", Text(empty.GetAt(0)).substr(m.size()));
    EXPECT_EQ(2, disk.List(nullptr, (m + "*").c_str(), true, true, false, true, true)) << "empty, inner";
}

TEST_F(SDiskTest, ContradictoryFiltersListNoFolders)
{
    EXPECT_EQ(0, disk.ListEntries(nullptr, (m + "*").c_str(), SDisk::kListFolders | 16 | 32, nullptr, nullptr));
    EXPECT_EQ(0, disk.ListEntries(nullptr, (m + "*").c_str(), SDisk::kListFolders | 64 | 128, nullptr, nullptr));
    EXPECT_EQ(0, disk.ListEntries(nullptr, (m + "*").c_str(), SDisk::kListRecursive, nullptr, nullptr));
    EXPECT_EQ((std::vector<std::string>{m + "a.mp3", m + "b.txt", m + "h.mp3"}),
              ListSorted(m + "*", SDisk::kListFolders | SDisk::kListFiles | 16 | 32));
}

TEST_F(SDiskTest, CountersAreIncreased)
{
    int files = 5;
    int folders = 7;
    EXPECT_EQ(7, disk.ListEntries(nullptr, (m + "*").c_str(), SDisk::kListFolders | SDisk::kListFiles, &files,
                                  &folders));
    EXPECT_EQ(8, files);
    EXPECT_EQ(11, folders);
    // Entries found inside sub-folders are not counted.
    EXPECT_EQ(5, disk.ListEntries(nullptr, (m + "*.mp3").c_str(), SDisk::kListFiles | SDisk::kListRecursive, &files,
                                  &folders));
    EXPECT_EQ(10, files);
}

TEST_F(SDiskTest, RecursionDoesNotFollowLinks)
{
    // A link back to the top of the tree would make the listing endless.
    if (!MakeHostSymlink(m + "sub\\", "loop", ".."))
        GTEST_SKIP() << "no host symbolic links here";
    const std::vector<std::string> files = ListSorted(m + "*.mp3", SDisk::kListFiles | SDisk::kListRecursive);
    EXPECT_EQ(5u, files.size());
    const std::vector<std::string> folders = ListSorted(m + "*", SDisk::kListFolders | SDisk::kListRecursive);
    EXPECT_TRUE(std::find(folders.begin(), folders.end(), m + "sub\\loop\\") != folders.end());
    EXPECT_EQ(7u, folders.size());
}

// --- Names and folders ---

TEST_F(SDiskTest, TempFolderAndTempNames)
{
    const std::string temp = Text(disk.GetTempFolder());
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ('\\', temp.back());
    EXPECT_TRUE(disk.FolderExists(temp.c_str()));
    EXPECT_TRUE(disk.SetKeepTrailingSeparator(false));
    EXPECT_EQ(temp.substr(0, temp.size() - 1), Text(disk.GetTempFolder()));
    const std::string name = Text(disk.GetTempName());
    EXPECT_FALSE(disk.SetKeepTrailingSeparator(true));
    ASSERT_FALSE(name.empty());
    EXPECT_EQ(0, _strnicmp(name.c_str(), (temp + "tmp").c_str(), temp.size() + 3)) << name;
    EXPECT_EQ(0, disk.GetFileSize(name.c_str()));
    DeleteFileA(name.c_str());
}

TEST_F(SDiskTest, UniqueFileNames)
{
    const std::string root = folder.Root();
    EXPECT_EQ(root + "img.png", Text(disk.MakeUniqueFileName(root.c_str(), "img", "png")));
    folder.WriteFile("img.png", "");
    const std::string numbered = Text(disk.MakeUniqueFileName(root.c_str(), "img", "png"));
    ASSERT_GT(numbered.size(), root.size() + 7);
    EXPECT_EQ(root + "img", numbered.substr(0, root.size() + 3));
    EXPECT_EQ(".png", numbered.substr(numbered.size() - 4));
    const std::string digits = numbered.substr(root.size() + 3, numbered.size() - root.size() - 7);
    EXPECT_EQ(std::string::npos, digits.find_first_not_of("0123456789")) << numbered;
    EXPECT_LT(atoi(digits.c_str()), 1000000);
    EXPECT_EQ(root + "img", Text(disk.MakeUniqueFileName(root.c_str(), "img", "")));
    EXPECT_EQ("", Text(disk.MakeUniqueFileName(folder.Path("missing\\").c_str(), "img", "png")));
    disk.SetKeepTrailingSeparator(false);
    const std::string bare = root.substr(0, root.size() - 1);
    EXPECT_EQ(root + "photo.jpg", Text(disk.MakeUniqueFileName(bare.c_str(), "photo", "jpg")));
}

TEST_F(SDiskTest, CreateFolderWithAndWithoutParents)
{
    const std::string deep = folder.Path("a\\b\\c");
    EXPECT_FALSE(disk.CreateFolder(deep.c_str(), false));
    EXPECT_FALSE(StreamsTestFolder::Exists(folder.Path("a")));
    EXPECT_TRUE(disk.CreateFolder(deep.c_str(), true));
    EXPECT_TRUE(disk.FolderExists(deep.c_str()));
    EXPECT_TRUE(disk.CreateFolder((deep + "\\").c_str(), false));
    EXPECT_TRUE(disk.CreateFolder(folder.Path("a\\b\\d").c_str(), false));
    EXPECT_FALSE(disk.CreateFolder((m + "a.mp3").c_str(), true));
    EXPECT_FALSE(disk.CreateFolder("C:\\", true));
    EXPECT_FALSE(disk.CreateFolder("", true));
    EXPECT_FALSE(disk.CreateFolder((m + "x<y").c_str(), true));
}

// --- Shell ---

TEST_F(SDiskTest, ExecuteRunsInTheFilesOwnFolder)
{
    folder.WriteFile("run.bat", "echo done> marker.txt\r\n");
    ASSERT_TRUE(disk.Execute(folder.Path("run.bat").c_str(), "", true, SW_HIDE));
    const std::string marker = folder.Path("marker.txt");
    for (int i = 0; i < 200 && folder.ReadFile("marker.txt").find("done") == std::string::npos; i++)
        Sleep(50);
    EXPECT_NE(std::string::npos, folder.ReadFile("marker.txt").find("done"));
    EXPECT_FALSE(disk.Execute(folder.Path("missing.bat").c_str(), "", true, SW_HIDE));
}

TEST_F(SDiskTest, OpeningAMissingFolderFails)
{
    EXPECT_FALSE(disk.OpenFolder(folder.Path("missing\\").c_str(), SW_HIDE));
    EXPECT_FALSE(disk.Open(folder.Path("missing\\").c_str(), SW_HIDE));
}

// --- ZIP archives ---

TEST_F(SDiskTest, ZipOfOneFileHoldsOneStoredEntry)
{
    folder.WriteFile("m\\x.txt", "hello zip");
    const std::string zipPath = folder.Path("one.zip");
    SArrayString files;
    files.Add((m + "x.txt").c_str());
    ASSERT_TRUE(disk.CreateZip(zipPath.c_str(), &files, PartsBefore(m)));
    const std::string zip = folder.ReadFile("one.zip");
    const std::string name = "m\\x.txt";
    ASSERT_EQ(30 + name.size() + 9 + 46 + name.size() + 22, zip.size());
    EXPECT_EQ(0x04034B50u, U32(zip, 0));
    EXPECT_EQ(20, U16(zip, 4));
    EXPECT_EQ(0, U16(zip, 8)) << "stored";
    EXPECT_EQ(Crc("hello zip"), U32(zip, 14));
    EXPECT_EQ(9u, U32(zip, 18));
    EXPECT_EQ(9u, U32(zip, 22));
    EXPECT_EQ(name.size(), U16(zip, 26));
    EXPECT_EQ(name, zip.substr(30, name.size()));
    EXPECT_EQ("hello zip", zip.substr(30 + name.size(), 9));
    const size_t central = 30 + name.size() + 9;
    EXPECT_EQ(0x02014B50u, U32(zip, central));
    EXPECT_EQ(Crc("hello zip"), U32(zip, central + 16));
    EXPECT_EQ(1, U16(zip, central + 36));
    EXPECT_EQ(0x20u, U32(zip, central + 38));
    EXPECT_EQ(0u, U32(zip, central + 42));
    EXPECT_EQ(name, zip.substr(central + 46, name.size()));
    const size_t end = central + 46 + name.size();
    EXPECT_EQ(0x06054B50u, U32(zip, end));
    EXPECT_EQ(1, U16(zip, end + 8));
    EXPECT_EQ(1, U16(zip, end + 10));
    EXPECT_EQ(46 + name.size(), U32(zip, end + 12));
    EXPECT_EQ(central, U32(zip, end + 16));
}

TEST_F(SDiskTest, ZipEntriesFollowEachOtherWithTheirOffsets)
{
    SArrayString files;
    files.Add((m + "a.mp3").c_str());
    files.Add((m + "sub\\deep\\d.mp3").c_str());
    files.Add((m + "empty\\..\\b.txt").c_str());
    ASSERT_TRUE(disk.CreateZip(folder.Path("three.zip").c_str(), &files, PartsBefore(m) + 1));
    const std::string zip = folder.ReadFile("three.zip");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"a.mp3", "a"}, {"sub\\deep\\d.mp3", "dddd"}, {"b.txt", "bb"}};
    size_t offset = 0;
    std::vector<size_t> offsets;
    for (const auto& entry : expected)
    {
        offsets.push_back(offset);
        ASSERT_EQ(0x04034B50u, U32(zip, offset));
        ASSERT_EQ(entry.first, zip.substr(offset + 30, U16(zip, offset + 26)));
        EXPECT_EQ(entry.second, zip.substr(offset + 30 + entry.first.size(), U32(zip, offset + 18)));
        EXPECT_EQ(Crc(entry.second), U32(zip, offset + 14));
        offset += 30 + entry.first.size() + entry.second.size();
    }
    for (size_t i = 0; i < expected.size(); i++)
    {
        ASSERT_EQ(0x02014B50u, U32(zip, offset));
        EXPECT_EQ(offsets[i], U32(zip, offset + 42));
        EXPECT_EQ(expected[i].first, zip.substr(offset + 46, U16(zip, offset + 28)));
        offset += 46 + expected[i].first.size();
    }
    EXPECT_EQ(0x06054B50u, U32(zip, offset));
    EXPECT_EQ(3, U16(zip, offset + 10));
    EXPECT_EQ(zip.size(), offset + 22);
}

TEST_F(SDiskTest, ZipFailuresLeaveNoArchive)
{
    const std::string zipPath = folder.Path("failed.zip");
    SArrayString files;
    EXPECT_FALSE(disk.CreateZip(zipPath.c_str(), &files, 0));
    EXPECT_FALSE(disk.CreateZip(zipPath.c_str(), nullptr, 0));
    EXPECT_FALSE(StreamsTestFolder::Exists(zipPath));
    files.Add((m + "a.mp3").c_str());
    files.Add((m + "missing.mp3").c_str());
    EXPECT_FALSE(disk.CreateZip(zipPath.c_str(), &files, 0));
    EXPECT_FALSE(StreamsTestFolder::Exists(zipPath));
    SArrayString deep;
    deep.Add((m + "a.mp3").c_str());
    EXPECT_FALSE(disk.CreateZip(zipPath.c_str(), &deep, 99)) << "an entry needs a name";
    EXPECT_FALSE(StreamsTestFolder::Exists(zipPath));
    EXPECT_FALSE(disk.CreateZip(folder.Path("no\\folder.zip").c_str(), &deep, 0));
}

TEST_F(SDiskTest, ZipRefusesMoreEntriesThanTheFormatCounts)
{
    SArrayString files;
    const std::string a = m + "a.mp3";
    for (int i = 0; i < 65536; i++)
        files.Add(a.c_str());
    const std::string zipPath = folder.Path("many.zip");
    EXPECT_FALSE(disk.CreateZip(zipPath.c_str(), &files, 0));
    EXPECT_FALSE(StreamsTestFolder::Exists(zipPath));
}

TEST_F(SDiskTest, ZipRefusesArchivesAboveFourGigabytes)
{
    SArrayString files;
    for (int i = 0; i < 3; i++)
    {
        const std::string path = folder.Path("big" + std::to_string(i) + ".bin");
        ASSERT_TRUE(StreamsTestFolder::MakeSparseFile(path, 0x60000000LL));
        files.Add(path.c_str());
    }
    const std::string zipPath = folder.Path("big.zip");
    EXPECT_FALSE(disk.CreateZip(zipPath.c_str(), &files, 0));
    EXPECT_FALSE(StreamsTestFolder::Exists(zipPath));
    SArrayString huge;
    const std::string hugePath = folder.Path("huge.bin");
    ASSERT_TRUE(StreamsTestFolder::MakeSparseFile(hugePath, 0x90000000LL));
    huge.Add(hugePath.c_str());
    EXPECT_FALSE(disk.CreateZip(zipPath.c_str(), &huge, 0));
    EXPECT_FALSE(StreamsTestFolder::Exists(zipPath));
}

// Writes an archive and the list of what it should hold for the reader on the
// host side (tests/foundation/zip_check.py), in the folder the suite names.
TEST_F(SDiskTest, ZipForTheHostReader)
{
    const char* hostFolder = getenv("SONAVEL_ZIP_CHECK_DIR");
    if (!hostFolder || !*hostFolder)
        GTEST_SKIP() << "SONAVEL_ZIP_CHECK_DIR is not set";
    std::string target = std::string("Z:") + hostFolder;
    std::replace(target.begin(), target.end(), '/', '\\');
    if (target.back() != '\\')
        target += '\\';
    StreamsTestFolder::RemoveTree(target);
    ASSERT_TRUE(disk.CreateFolder(target.c_str(), true));

    std::string binary;
    for (int i = 0; i < 70000; i++)
        binary += static_cast<char>(i * 7 + i / 256);
    const std::vector<std::pair<std::string, std::string>> sources = {
        {"src\\m\\x.txt", "hello zip\r\n"},
        {"src\\m\\sub\\b.bin", binary},
        {"src\\m\\empty.txt", ""},
        {"src\\m\\sub\\deep\\caf\xE9.txt", "accent"}};
    SArrayString files;
    std::string expected;
    const SPath srcFolder((target + "src\\").c_str());
    const int skip = srcFolder.GetComponentCount() - 1;
    for (const auto& source : sources)
    {
        const std::string path = target + source.first;
        for (size_t i = 0; i < path.size(); i++)
            if (path[i] == '\\' && i > 3)
                CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
        FILE* file = fopen(path.c_str(), "wb");
        ASSERT_NE(nullptr, file);
        fwrite(source.second.data(), 1, source.second.size(), file);
        fclose(file);
        files.Add(path.c_str());
        std::string relative = source.first;
        std::replace(relative.begin(), relative.end(), '\\', '/');
        expected += source.first.substr(4) + "|" + relative + "\n";
    }
    ASSERT_TRUE(disk.CreateZip((target + "archive.zip").c_str(), &files, skip));
    FILE* list = fopen((target + "expected.txt").c_str(), "wb");
    ASSERT_NE(nullptr, list);
    fwrite(expected.data(), 1, expected.size(), list);
    fclose(list);
}
