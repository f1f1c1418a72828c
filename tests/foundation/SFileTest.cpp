#include <gtest/gtest.h>
#include <string>
#include "SDisk.h"
#include "SFile.h"
#include "SGuards.h"
#include "SMemory.h"
#include "StreamsTestFolder.h"

namespace
{
std::string Text(const SString& text)
{
    return std::string(text.GetText() ? text.GetText() : "", text.GetLength());
}

} // namespace

// --- Opening ---

TEST(SFileTest, WriteWithoutCreateAppends)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "abc");
    SFile file;
    ASSERT_TRUE(file.Open(folder.Path("a.txt").c_str(), true, false, false));
    EXPECT_EQ(3, file.WriteText("def"));
    file.Close();
    EXPECT_EQ("abcdef", folder.ReadFile("a.txt"));
}

TEST(SFileTest, WriteWithCreateTruncates)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "abcdef");
    SFile file(folder.Path("a.txt").c_str(), true, true, false);
    ASSERT_TRUE(file.IsOpen());
    file.WriteText("xy");
    file.Close();
    EXPECT_EQ("xy", folder.ReadFile("a.txt"));
}

TEST(SFileTest, ReadAndWriteWithoutCreateKeepsTheContent)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "abcdef");
    SFile file;
    ASSERT_TRUE(file.Open(folder.Path("a.txt").c_str(), true, false, true));
    file.Seek(2);
    file.WriteText("XY");
    file.Close();
    EXPECT_EQ("abXYef", folder.ReadFile("a.txt"));
    EXPECT_FALSE(file.Open(folder.Path("missing.txt").c_str(), true, false, true));
}

TEST(SFileTest, OpeningWithNeitherReadNorWriteFails)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "abc");
    SFile file;
    EXPECT_FALSE(file.Open(folder.Path("a.txt").c_str(), false, true, false));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_FALSE(file.Open("", false, false, true));
    EXPECT_FALSE(file.Open(nullptr, false, false, true));
    EXPECT_FALSE(file.Open(folder.Path("missing.txt").c_str(), false, false, true));
}

TEST(SFileTest, OpenRemembersTheNameAndCloseForgetsIt)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "abc");
    SFile file(folder.Path("a.txt").c_str(), false, false, true);
    EXPECT_EQ(folder.Path("a.txt"), Text(file.GetName()));
    EXPECT_FALSE(file.IsTemporary());
    file.Close();
    EXPECT_EQ("", Text(file.GetName()));
    EXPECT_FALSE(file.IsOpen());
}

TEST(SFileTest, SharedOpenLetsAnotherHandleWrite)
{
    StreamsTestFolder folder;
    folder.WriteFile("shared.txt", "1234");
    SFile reader;
    ASSERT_TRUE(reader.Open(folder.Path("shared.txt").c_str(), false, false, true, true));
    SFile writer;
    ASSERT_TRUE(writer.Open(folder.Path("shared.txt").c_str(), true, false, false, true));
    EXPECT_EQ(2, writer.WriteText("56"));
    writer.Close();
    EXPECT_EQ("123456", Text(reader.ReadText()));
}

TEST(SFileTest, TemporaryFileLivesUntilClose)
{
    SFile file;
    ASSERT_TRUE(file.OpenTemporary());
    EXPECT_TRUE(file.IsTemporary());
    EXPECT_EQ("", Text(file.GetName()));
    const std::string path = Text(file.GetTemporaryPath());
    EXPECT_TRUE(StreamsTestFolder::Exists(path));
    SDisk disk;
    const std::string temp = Text(disk.GetTempFolder());
    EXPECT_EQ(0, _strnicmp(path.c_str(), (temp + "tmp").c_str(), temp.size() + 3)) << path;
    EXPECT_EQ(5, file.WriteText("hello"));
    file.SeekToStart();
    EXPECT_EQ("hello", Text(file.ReadText()));
    file.Close();
    EXPECT_FALSE(StreamsTestFolder::Exists(path));
    EXPECT_EQ("", Text(file.GetTemporaryPath()));
    EXPECT_FALSE(file.IsTemporary());
}

TEST(SFileTest, OpeningAnotherFileRemovesTheTemporaryOne)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "abc");
    SFile file;
    ASSERT_TRUE(file.OpenTemporary());
    const std::string path = Text(file.GetTemporaryPath());
    ASSERT_TRUE(file.Open(folder.Path("a.txt").c_str(), false, false, true));
    EXPECT_FALSE(StreamsTestFolder::Exists(path));
    EXPECT_FALSE(file.IsTemporary());
}

TEST(SFileTest, SaveReplacingPutsTheWholeFileInPlaceOrNothing)
{
    StreamsTestFolder folder;
    folder.WriteFile("note.txt", "old");
    const std::string path = folder.Path("note.txt");
    ASSERT_TRUE(SFile::SaveReplacing(path.c_str(), "new text", 8));
    EXPECT_EQ("new text", folder.ReadFile("note.txt"));
    ASSERT_TRUE(SFile::SaveReplacing(folder.Path("fresh.txt").c_str(), "", 0));
    EXPECT_TRUE(StreamsTestFolder::Exists(folder.Path("fresh.txt")));
    {
        // Held open without sharing: the old text must survive the failed save.
        SHandleGuard holder(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(holder.IsValid());
        EXPECT_FALSE(SFile::SaveReplacing(path.c_str(), "lost", 4));
    }
    EXPECT_FALSE(SFile::SaveReplacing(folder.Path("missing\\a.txt").c_str(), "x", 1));
    EXPECT_EQ("new text", folder.ReadFile("note.txt"));
    EXPECT_FALSE(StreamsTestFolder::Exists(path + ".saving"));
}

// --- Reading and writing ---

TEST(SFileTest, ReadingAfterWritingAndWritingAfterReading)
{
    StreamsTestFolder folder;
    SFile file(folder.Path("rw.txt").c_str(), true, true, true);
    file.WriteText("abcdef");
    file.Seek(1);
    char c = 0;
    EXPECT_EQ(1, file.Read(&c, 1));
    EXPECT_EQ('b', c);
    EXPECT_EQ(1, file.WriteText("X"));
    EXPECT_EQ(1, file.Read(&c, 1));
    EXPECT_EQ('d', c);
    file.WriteText("Y");
    EXPECT_EQ(5, file.GetPosition());
    file.SeekToStart();
    EXPECT_EQ("abXdYf", Text(file.ReadText()));
}

TEST(SFileTest, ReadClampsToTheEnd)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.bin", std::string("ab\0cd", 5));
    SFile file(folder.Path("a.bin").c_str(), false, false, true);
    char buffer[16];
    file.Seek(3);
    EXPECT_EQ(2, file.Read(buffer, 16));
    EXPECT_EQ(0, file.Read(buffer, 16));
    EXPECT_TRUE(file.IsEnd());
    file.SeekToStart();
    const SString text = file.ReadText(4);
    EXPECT_EQ(std::string("ab\0c", 4), Text(text));
    EXPECT_EQ("d", Text(file.ReadText(10)));
    EXPECT_EQ("", Text(file.ReadText()));
    EXPECT_EQ(0, file.Read(buffer, 0));
}

TEST(SFileTest, WriteLineAndReadLine)
{
    StreamsTestFolder folder;
    SFile file(folder.Path("lines.txt").c_str(), true, true, true);
    EXPECT_EQ(7, file.WriteLine("  one"));
    EXPECT_EQ(2, file.WriteLine(""));
    EXPECT_EQ(5, file.WriteLine("two"));
    file.SeekToStart();
    bool lineEnd = false;
    EXPECT_EQ("one", Text(file.ReadLine(false, -1, &lineEnd)));
    EXPECT_TRUE(lineEnd);
    EXPECT_EQ("", Text(file.ReadLine(true, -1, &lineEnd)));
    EXPECT_EQ("two", Text(file.ReadLine(true, -1, &lineEnd)));
    EXPECT_TRUE(lineEnd);
    EXPECT_EQ("", Text(file.ReadLine(true, -1, &lineEnd)));
    EXPECT_FALSE(lineEnd);
}

TEST(SFileTest, ReadLineDropsEveryCrAndLf)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "a\rb\nc\r\nd");
    SFile file(folder.Path("a.txt").c_str(), false, false, true);
    bool lineEnd = false;
    EXPECT_EQ("abc", Text(file.ReadLine(true, -1, &lineEnd)));
    EXPECT_TRUE(lineEnd);
    EXPECT_EQ("d", Text(file.ReadLine(true, -1, &lineEnd)));
    EXPECT_FALSE(lineEnd);
}

TEST(SFileTest, ReadLineMaximumCountsKeptCharacters)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "a\rbcd\r\n");
    SFile file(folder.Path("a.txt").c_str(), false, false, true);
    EXPECT_EQ("", Text(file.ReadLine(true, 0, nullptr)));
    EXPECT_EQ("abc", Text(file.ReadLine(true, 3, nullptr)));
    EXPECT_EQ("d", Text(file.ReadLine(true, 3, nullptr)));
}

TEST(SFileTest, ReadStringDropsTheZero)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.bin", std::string("ab\0cd", 5));
    SFile file(folder.Path("a.bin").c_str(), false, false, true);
    const SString first = file.ReadString();
    EXPECT_EQ(2, first.GetLength());
    EXPECT_EQ("ab", Text(first));
    EXPECT_EQ(3, file.GetPosition());
    EXPECT_EQ("cd", Text(file.ReadString()));
}

// --- Size and position ---

TEST(SFileTest, SeekOutsideTheFileMovesToTheEnd)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.txt", "0123456789");
    SFile file(folder.Path("a.txt").c_str(), false, false, true);
    EXPECT_EQ(10, file.GetSize());
    EXPECT_EQ(3, file.Seek(3));
    EXPECT_EQ(10, file.Seek(-1));
    file.Seek(3);
    EXPECT_EQ(10, file.Seek(11));
    file.Seek(3);
    EXPECT_EQ(3, file.GetPosition());
    EXPECT_EQ(7, file.GetRemaining());
}

TEST(SFileTest, SetSizeTruncatesAfterBufferedWrites)
{
    StreamsTestFolder folder;
    SFile file(folder.Path("size.bin").c_str(), true, true, true);
    file.Fill('x', 100);
    ASSERT_TRUE(file.SetSize(10));
    EXPECT_EQ(10, file.GetPosition());
    EXPECT_EQ(10, file.GetSize());
    ASSERT_TRUE(file.SetSize(20));
    EXPECT_EQ(20, file.GetSize());
    file.Close();
    EXPECT_EQ(std::string(10, 'x') + std::string(10, '\0'), folder.ReadFile("size.bin"));
}

TEST(SFileTest, ClosedStreamAnswersNeutralValues)
{
    SFile file;
    char buffer[4];
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(0, file.GetSize());
    EXPECT_EQ(0, file.GetPosition());
    EXPECT_EQ(0, file.Seek(5));
    EXPECT_TRUE(file.IsEnd());
    EXPECT_FALSE(file.SetSize(3));
    EXPECT_EQ(0, file.Write("ab", 2));
    EXPECT_EQ(0, file.Read(buffer, 4));
    EXPECT_EQ("", Text(file.ReadText()));
    EXPECT_EQ("", Text(file.ReadLine()));
    EXPECT_EQ(-1, file.Find("a", 1));
}

TEST(SFileTest, SizesBeyondAnIntAreRefused)
{
    StreamsTestFolder folder;
    const std::string path = folder.Path("big.bin");
    ASSERT_TRUE(StreamsTestFolder::MakeSparseFile(path, 0x90000000LL));
    SFile file(path.c_str(), false, false, true);
    ASSERT_TRUE(file.IsOpen());
    EXPECT_EQ(-1, file.GetSize());
    char buffer[8];
    EXPECT_EQ(8, file.Read(buffer, 8));
    EXPECT_EQ(8, file.GetPosition());
    EXPECT_FALSE(file.IsEnd());
    EXPECT_EQ("", Text(file.ReadText()));
    SMemory copy;
    EXPECT_EQ(0, copy.CopyFrom(&file, -1));
    EXPECT_EQ(3000, copy.CopyFrom(&file, 3000));
    EXPECT_EQ(3008, file.GetPosition());
    SDisk disk;
    EXPECT_EQ(-1, disk.GetFileSize(path.c_str()));
}

// --- Searching ---

TEST(SFileTest, FindAcrossThePieceBoundary)
{
    StreamsTestFolder folder;
    for (int boundary : {1024, 65536})
    {
        std::string bytes(boundary + 500, '.');
        bytes[boundary - 1] = 'x';
        bytes[boundary] = 'y';
        folder.WriteFile("find.bin", bytes);
        SFile file(folder.Path("find.bin").c_str(), false, false, true);
        EXPECT_EQ(boundary - 1, file.Find("xy", 2)) << boundary;
        EXPECT_EQ(boundary + 1, file.GetPosition());
        EXPECT_EQ(-1, file.Find("xy", 2));
        EXPECT_EQ(boundary + 500, file.GetPosition());
    }
}

TEST(SFileTest, FindPastTheEndOfTheFileFails)
{
    StreamsTestFolder folder;
    folder.WriteFile("a.bin", "xxaxxa");
    SFile file(folder.Path("a.bin").c_str(), false, false, true);
    EXPECT_EQ(-1, file.Find("ab", 2));
    EXPECT_EQ(6, file.GetPosition());
    file.SeekToStart();
    EXPECT_EQ(2, file.Find("axx", 3));
    EXPECT_EQ(5, file.GetPosition());
    EXPECT_EQ(-1, file.Find("a", 0));
}

// The runtime's stream table is used up, so the temporary file is made by the
// system but cannot be opened: it must not stay behind.
TEST(SFileTest, TemporaryFileThatCannotBeOpenedIsRemoved)
{
    SDisk disk;
    const std::string pattern = Text(disk.GetTempFolder()) + "tmp*.tmp";
    auto countTemporaries = [&] {
        int n = 0;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data))
            n++;
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        return n;
    };
    StreamsTestFolder folder;
    folder.WriteFile("held.txt", "x");
    const int before = countTemporaries();
    std::vector<FILE*> held;
    for (FILE* f; held.size() < 100000 && (f = fopen(folder.Path("held.txt").c_str(), "rb")) != nullptr;)
        held.push_back(f);
    SFile file;
    const bool opened = file.OpenTemporary();
    for (FILE* f : held)
        fclose(f);
    EXPECT_FALSE(opened);
    EXPECT_FALSE(file.IsTemporary());
    EXPECT_EQ(before, countTemporaries());
}
