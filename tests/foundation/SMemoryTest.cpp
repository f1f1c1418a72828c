#include <gtest/gtest.h>
#include <string>
#include "SFile.h"
#include "SMemory.h"
#include "StreamsTestFolder.h"

namespace
{
std::string Content(SMemory& memory)
{
    return std::string(reinterpret_cast<const char*>(memory.GetData()), memory.GetSize());
}

std::string Text(const SString& text)
{
    return std::string(text.GetText() ? text.GetText() : "", text.GetLength());
}

void Put(SMemory& memory, const std::string& bytes)
{
    memory.Close();
    memory.Write(bytes.data(), static_cast<int>(bytes.size()));
    memory.SeekToStart();
}

// A stream that takes only so many bytes in all, then writes short.
class SShortMemory : public SMemory
{
public:
    explicit SShortMemory(int room) : m_room(room) {}
    int Write(const void* data, int n) override
    {
        const int taken = n < m_room ? n : m_room;
        m_room -= taken;
        return taken > 0 ? SMemory::Write(data, taken) : 0;
    }

private:
    int m_room;
};
} // namespace

// --- Opening and size ---

TEST(SMemoryTest, NewStreamIsClosedUntilSomethingIsWritten)
{
    SMemory memory;
    EXPECT_FALSE(memory.IsOpen());
    EXPECT_EQ(0, memory.GetSize());
    EXPECT_TRUE(memory.IsMemory());
    EXPECT_EQ(nullptr, memory.GetIfOpen());
    EXPECT_EQ(0, memory.WriteText(""));
    EXPECT_FALSE(memory.IsOpen());
    EXPECT_EQ(1, memory.WriteText("a"));
    EXPECT_TRUE(memory.IsOpen());
    EXPECT_EQ(&memory, memory.GetIfOpen());
}

TEST(SMemoryTest, AllocateZeroOpensAnEmptyStream)
{
    SMemory memory;
    EXPECT_EQ(0, memory.Allocate(0));
    EXPECT_TRUE(memory.IsOpen());
    EXPECT_EQ(0, memory.GetSize());
    EXPECT_TRUE(memory.IsEnd());
}

TEST(SMemoryTest, CloseFreesEverything)
{
    SMemory memory;
    memory.WriteText("hello");
    memory.Close();
    EXPECT_FALSE(memory.IsOpen());
    EXPECT_EQ(nullptr, memory.GetData());
    EXPECT_EQ(0, memory.GetSize());
    EXPECT_EQ(0, memory.GetPosition());
}

TEST(SMemoryTest, SetSizeBelowThePositionMovesItToTheEnd)
{
    SMemory memory;
    memory.Fill('x', 100);
    memory.Seek(50);
    EXPECT_TRUE(memory.SetSize(10));
    EXPECT_EQ(10, memory.GetSize());
    EXPECT_EQ(10, memory.GetPosition());
}

TEST(SMemoryTest, SetSizeKeepsTheContent)
{
    SMemory memory;
    memory.WriteText("abcdef");
    EXPECT_TRUE(memory.SetSize(3000));
    EXPECT_EQ("abcdef", Content(memory).substr(0, 6));
    EXPECT_TRUE(memory.SetSize(4));
    EXPECT_EQ("abcd", Content(memory));
}

TEST(SMemoryTest, GrowingPieceByPieceKeepsEveryByte)
{
    SMemory memory;
    std::string expected;
    for (int i = 0; i < 3000; i++)
    {
        const std::string piece = std::to_string(i) + ",";
        expected += piece;
        ASSERT_EQ(static_cast<int>(piece.size()), memory.WriteText(piece.c_str()));
    }
    EXPECT_EQ(expected, Content(memory));
}

TEST(SMemoryTest, WritingFromItsOwnBufferWhileGrowing)
{
    SMemory memory;
    memory.Fill('a', 1000);
    memory.SeekToEnd();
    EXPECT_EQ(1000, memory.Write(memory.GetData(), 1000));
    EXPECT_EQ(std::string(2000, 'a'), Content(memory));
}

// --- Writing ---

TEST(SMemoryTest, WriteLineAddsCrLf)
{
    SMemory memory;
    EXPECT_EQ(5, memory.WriteLine("abc"));
    EXPECT_EQ(2, memory.WriteLine(""));
    EXPECT_EQ("abc\r\n\r\n", Content(memory));
}

TEST(SMemoryTest, WriteOverwritesAtThePosition)
{
    SMemory memory;
    memory.WriteText("abcdef");
    memory.Seek(2);
    memory.WriteText("XYZW");
    EXPECT_EQ("abXYZW", Content(memory));
    memory.Seek(4);
    memory.WriteText("123");
    EXPECT_EQ("abXY123", Content(memory));
    EXPECT_EQ(7, memory.GetPosition());
}

TEST(SMemoryTest, WriteStringWithNullWritesTheZero)
{
    SMemory memory;
    EXPECT_EQ(3, memory.WriteStringWithNull("ab"));
    EXPECT_EQ(std::string("ab\0", 3), Content(memory));
}

TEST(SMemoryTest, FillWritesInPiecesAndStopsWhenShort)
{
    SMemory memory;
    EXPECT_EQ(250, memory.Fill('z', 250));
    EXPECT_EQ(std::string(250, 'z'), Content(memory));
    SShortMemory shortMemory(150);
    EXPECT_EQ(150, shortMemory.Fill('q', 400));
    EXPECT_EQ(150, shortMemory.GetSize());
}

// --- Reading ---

TEST(SMemoryTest, ReadClampsToWhatRemains)
{
    SMemory memory;
    Put(memory, "hello");
    char buffer[10] = {};
    memory.Seek(3);
    EXPECT_EQ(2, memory.Read(buffer, 10));
    EXPECT_EQ("lo", std::string(buffer, 2));
    EXPECT_EQ(0, memory.Read(buffer, 10));
    EXPECT_TRUE(memory.IsEnd());
    memory.SeekToStart();
    EXPECT_EQ(0, memory.ReadBytes(buffer, 0));
}

TEST(SMemoryTest, ReadTextKeepsZeroBytes)
{
    SMemory memory;
    Put(memory, std::string("a\0b\0c", 5));
    const SString text = memory.ReadText(4);
    EXPECT_EQ(4, text.GetLength());
    EXPECT_EQ(std::string("a\0b\0", 4), Text(text));
    EXPECT_EQ("c", Text(memory.ReadText()));
    EXPECT_EQ("", Text(memory.ReadText()));
}

TEST(SMemoryTest, ReadStringStopsAfterTheZero)
{
    SMemory memory;
    Put(memory, std::string("ab\0cd", 5));
    const SString first = memory.ReadString();
    EXPECT_EQ(3, first.GetLength());
    EXPECT_STREQ("ab", first.GetText());
    EXPECT_EQ(3, memory.GetPosition());
    EXPECT_EQ("cd", Text(memory.ReadString()));
    EXPECT_TRUE(memory.IsEnd());
}

TEST(SMemoryTest, ReadLineEndsOnlyAtCrLf)
{
    SMemory memory;
    Put(memory, "ab\r\ncd");
    bool lineEnd = false;
    EXPECT_EQ("ab", Text(memory.ReadLine(true, -1, &lineEnd)));
    EXPECT_TRUE(lineEnd);
    EXPECT_EQ("cd", Text(memory.ReadLine(true, -1, &lineEnd)));
    EXPECT_FALSE(lineEnd);

    Put(memory, "a\nb\rc\r\nd");
    EXPECT_EQ("a\nb\rc", Text(memory.ReadLine()));
    EXPECT_EQ("d", Text(memory.ReadLine()));
}

TEST(SMemoryTest, ReadLineTrimsBlanksUnlessKept)
{
    SMemory memory;
    Put(memory, " \tx y \t\r\n  z  ");
    EXPECT_EQ("x y", Text(memory.ReadLine(false, -1, nullptr)));
    EXPECT_EQ("  z  ", Text(memory.ReadLine(true, -1, nullptr)));
}

TEST(SMemoryTest, ReadLineMaximumCountsConsumedBytes)
{
    SMemory memory;
    Put(memory, "abcdef\r\ngh");
    EXPECT_EQ("", Text(memory.ReadLine(true, 0, nullptr)));
    EXPECT_EQ(0, memory.GetPosition());
    bool lineEnd = true;
    EXPECT_EQ("abc", Text(memory.ReadLine(true, 3, &lineEnd)));
    EXPECT_FALSE(lineEnd);
    EXPECT_EQ(3, memory.GetPosition());
    EXPECT_EQ("def", Text(memory.ReadLine(true, 5, &lineEnd)));
    EXPECT_TRUE(lineEnd);
    EXPECT_EQ(8, memory.GetPosition());
}

// --- Seeking and searching ---

TEST(SMemoryTest, SeekOutsideTheContentMovesToTheEnd)
{
    SMemory memory;
    Put(memory, "0123456789");
    EXPECT_EQ(4, memory.Seek(4));
    EXPECT_EQ(10, memory.Seek(-1));
    memory.Seek(4);
    EXPECT_EQ(10, memory.Seek(11));
    EXPECT_EQ(10, memory.Seek(10));
    memory.Seek(4);
    EXPECT_EQ(6, memory.Skip(2));
    EXPECT_EQ(1, memory.SkipBack(5));
    EXPECT_EQ(10, memory.SkipBack(2));
    EXPECT_EQ(0, memory.SeekToStart());
    EXPECT_EQ(10, memory.SeekToEnd());
    memory.Seek(3);
    EXPECT_EQ(7, memory.GetRemaining());
}

TEST(SMemoryTest, FindTriesEveryStartPosition)
{
    SMemory memory;
    Put(memory, "aaab");
    EXPECT_EQ(1, memory.Find("aab", 3));
    EXPECT_EQ(4, memory.GetPosition());
}

TEST(SMemoryTest, FindSearchesFromThePosition)
{
    SMemory memory;
    Put(memory, "xyzxyz");
    memory.Seek(1);
    EXPECT_EQ(3, memory.Find("xy", 2));
    EXPECT_EQ(5, memory.GetPosition());
    EXPECT_EQ(-1, memory.Find("xy", 2));
    EXPECT_EQ(6, memory.GetPosition());
    memory.SeekToStart();
    EXPECT_EQ(-1, memory.Find("zz", 2));
    EXPECT_EQ(6, memory.GetPosition());
    memory.SeekToStart();
    EXPECT_EQ(-1, memory.Find("x", 0));
}

// --- Ranges ---

TEST(SMemoryTest, RemoveRangeCutsBytesOut)
{
    SMemory memory;
    Put(memory, "0123456789");
    memory.Seek(2);
    EXPECT_TRUE(memory.RemoveRange(3, 4));
    EXPECT_EQ("012789", Content(memory));
    EXPECT_EQ(2, memory.GetPosition());
    EXPECT_FALSE(memory.RemoveRange(6, 1));
    EXPECT_FALSE(memory.RemoveRange(2, 5));
    EXPECT_FALSE(memory.RemoveRange(0, 0));
    EXPECT_FALSE(memory.RemoveRange(-1, 1));
}

TEST(SMemoryTest, RemovingEverythingFromTheEndLeavesPositionZero)
{
    SMemory memory;
    Put(memory, "0123456789");
    memory.SeekToEnd();
    EXPECT_TRUE(memory.RemoveRange(0, 10));
    EXPECT_EQ(0, memory.GetSize());
    EXPECT_EQ(0, memory.GetPosition());
}

TEST(SMemoryTest, RemoveRangeMovesAPositionPastTheEndBeforeTheLastByte)
{
    SMemory memory;
    Put(memory, "0123456789");
    memory.SeekToEnd();
    EXPECT_TRUE(memory.RemoveRange(0, 2));
    EXPECT_EQ(8, memory.GetSize());
    EXPECT_EQ(7, memory.GetPosition());
}

TEST(SMemoryTest, InsertRangeOpensAGap)
{
    SMemory memory;
    Put(memory, "abcdef");
    memory.Seek(1);
    EXPECT_TRUE(memory.InsertRange(2, 3));
    EXPECT_EQ(9, memory.GetSize());
    EXPECT_EQ(1, memory.GetPosition());
    const std::string content = Content(memory);
    EXPECT_EQ("ab", content.substr(0, 2));
    EXPECT_EQ("cdef", content.substr(5));
    EXPECT_TRUE(memory.InsertRange(9, 5));
    EXPECT_EQ(14, memory.GetSize());
    EXPECT_FALSE(memory.InsertRange(15, 1));
    EXPECT_FALSE(memory.InsertRange(0, 0));
}

// --- Copying ---

TEST(SMemoryTest, CopyFromAMemoryStreamTakesTheRestAndMovesIt)
{
    std::string bytes;
    for (int i = 0; i < 2500; i++)
        bytes += static_cast<char>('a' + i % 26);
    SMemory source;
    Put(source, bytes);
    source.Seek(10);
    SMemory target;
    EXPECT_EQ(2490, target.CopyFrom(&source, -1));
    EXPECT_TRUE(source.IsEnd());
    EXPECT_EQ(bytes.substr(10), Content(target));
}

TEST(SMemoryTest, CopyFromTakesACount)
{
    SMemory source;
    Put(source, std::string(3000, 'k'));
    SMemory target;
    EXPECT_EQ(1500, target.CopyFrom(&source, 1500));
    EXPECT_EQ(1500, source.GetPosition());
    EXPECT_EQ(0, target.CopyFrom(&source, 0));
    EXPECT_EQ(1500, target.CopyFrom(&source, 99999));
    EXPECT_EQ(0, target.CopyFrom(nullptr, -1));
}

TEST(SMemoryTest, CopyFromStopsAtTheFirstShortWrite)
{
    SMemory source;
    Put(source, std::string(2500, 'm'));
    SShortMemory target(1200);
    EXPECT_EQ(1200, target.CopyFrom(&source, -1));
    // The source moved on by what was taken, no further.
    EXPECT_EQ(1200, source.GetPosition());
}

TEST(SMemoryTest, CopyFromAFileStream)
{
    StreamsTestFolder folder;
    std::string bytes(4321, 'f');
    bytes[4000] = 'g';
    folder.WriteFile("source.bin", bytes);
    SFile source(folder.Path("source.bin").c_str(), false, false, true);
    source.Seek(21);
    SMemory target;
    EXPECT_EQ(4300, target.CopyFrom(&source, -1));
    EXPECT_EQ(bytes.substr(21), Content(target));
    SShortMemory shortTarget(2100);
    source.SeekToStart();
    EXPECT_EQ(2100, shortTarget.CopyFrom(&source, -1));
}

TEST(SMemoryTest, CopyFromItselfCopiesNothing)
{
    SMemory memory;
    Put(memory, "abc");
    EXPECT_EQ(0, memory.CopyFrom(&memory, -1));
    EXPECT_EQ("abc", Content(memory));
}

// --- Files and resources ---

TEST(SMemoryTest, SaveAndLoadAFile)
{
    StreamsTestFolder folder;
    SMemory memory;
    const std::string bytes = std::string("line\r\n\0binary", 13) + std::string(5000, 'x');
    Put(memory, bytes);
    memory.Seek(7);
    ASSERT_TRUE(memory.SaveToFile(folder.Path("saved.bin").c_str()));
    EXPECT_EQ(bytes, folder.ReadFile("saved.bin"));

    SMemory loaded;
    loaded.WriteText("old");
    ASSERT_TRUE(loaded.LoadFromFile(folder.Path("saved.bin").c_str()));
    EXPECT_EQ(bytes, Content(loaded));
    EXPECT_EQ(0, loaded.GetPosition());
}

TEST(SMemoryTest, SaveEmptyStreamMakesAnEmptyFile)
{
    StreamsTestFolder folder;
    SMemory memory;
    ASSERT_TRUE(memory.SaveToFile(folder.Path("empty.bin").c_str()));
    EXPECT_TRUE(StreamsTestFolder::Exists(folder.Path("empty.bin")));
    SMemory loaded;
    ASSERT_TRUE(loaded.LoadFromFile(folder.Path("empty.bin").c_str()));
    EXPECT_TRUE(loaded.IsOpen());
    EXPECT_EQ(0, loaded.GetSize());
}

TEST(SMemoryTest, LoadFailureLeavesTheContent)
{
    StreamsTestFolder folder;
    SMemory memory;
    memory.WriteText("keep");
    EXPECT_FALSE(memory.LoadFromFile(folder.Path("missing.bin").c_str()));
    EXPECT_FALSE(memory.LoadFromFile(""));
    EXPECT_FALSE(memory.LoadFromFile(nullptr));
    EXPECT_EQ("keep", Content(memory));
    EXPECT_FALSE(memory.SaveToFile(folder.Path("no\\such\\folder.bin").c_str()));
    EXPECT_FALSE(memory.SaveToFile(""));
}

TEST(SMemoryTest, LoadFromResourceReadsTheModuleResource)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    HRSRC info = FindResourceA(kernel, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16));
    ASSERT_NE(nullptr, info) << "kernel32 carries a version resource";
    const DWORD size = SizeofResource(kernel, info);
    const void* data = LockResource(LoadResource(kernel, info));

    SMemory memory;
    memory.WriteText("old content");
    ASSERT_TRUE(memory.LoadFromResource(MAKEINTRESOURCEA(16), 1, kernel));
    EXPECT_EQ(static_cast<int>(size), memory.GetSize());
    EXPECT_EQ(0, memory.GetPosition());
    EXPECT_EQ(0, memcmp(data, memory.GetData(), size));

    SMemory appended;
    appended.WriteText("ab");
    EXPECT_TRUE(ReadResourceIntoFile(kernel, MAKEINTRESOURCEA(16), 1, &appended));
    EXPECT_EQ(static_cast<int>(size) + 2, appended.GetSize());
}

TEST(SMemoryTest, LoadFromResourceByNameGivesTheSameBytes)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    SMemory byId;
    ASSERT_TRUE(byId.LoadFromResource(MAKEINTRESOURCEA(16), 1, kernel));
    SMemory byName;
    byName.WriteText("old content");
    ASSERT_TRUE(byName.LoadFromResource(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(16), kernel));
    ASSERT_EQ(byId.GetSize(), byName.GetSize());
    EXPECT_EQ(0, byName.GetPosition());
    EXPECT_EQ(0, memcmp(byId.GetData(), byName.GetData(), byId.GetSize()));

    byName.WriteText("old");
    EXPECT_FALSE(byName.LoadFromResource("NOSUCH", "BINARY", kernel));
    EXPECT_TRUE(byName.IsOpen());
    EXPECT_EQ(0, byName.GetSize());
    EXPECT_FALSE(byName.LoadFromResource(static_cast<const char*>(nullptr), "BINARY", kernel));
}

TEST(SMemoryTest, MissingResourceLeavesAnOpenEmptyStream)
{
    SMemory memory;
    memory.WriteText("old");
    EXPECT_FALSE(memory.LoadFromResource("BINARY", 162, GetModuleHandleA(nullptr)));
    EXPECT_TRUE(memory.IsOpen());
    EXPECT_EQ(0, memory.GetSize());
    SMemory own("BINARY", 4242);
    EXPECT_TRUE(own.IsOpen());
    EXPECT_EQ(0, own.GetSize());
    EXPECT_FALSE(ReadResourceIntoFile(GetModuleHandleA(nullptr), "BINARY", 4242, &memory));
    EXPECT_FALSE(ReadResourceIntoFile(GetModuleHandleA("kernel32.dll"), MAKEINTRESOURCEA(16), 1, nullptr));
}

// The host's full device takes no byte: a large save fails in its writes, a
// small one only when the close flushes the buffer. A kernel file announces
// more bytes than it yields: the load is short.
TEST(SMemoryTest, ShortWritesFailedClosesAndShortReadsAreFailures)
{
    const char* full = "Z:\\dev\\full";
    const char* shortFile = "Z:\\sys\\kernel\\mm\\transparent_hugepage\\enabled";
    FILE* probes[2] = {fopen(full, "wb"), fopen(shortFile, "rb")};
    for (FILE* probe : probes)
        if (probe)
            fclose(probe);
    if (!probes[0] || !probes[1])
        GTEST_SKIP() << "needs the host's /dev/full and sysfs";
    for (int size : {10, 1 << 20})
    {
        SMemory memory;
        Put(memory, std::string(size, 'f'));
        EXPECT_FALSE(memory.SaveToFile(full)) << size;
    }
    SMemory memory;
    memory.WriteText("keep");
    EXPECT_FALSE(memory.LoadFromFile(shortFile));
    EXPECT_EQ("keep", Content(memory));
}
