#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <thread>
#include "SPlatform.h"
#include "SClipboard.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
// The clipboard is opened with the library's hidden window (the test program starts
// the library).
class SClipboardTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_NE(nullptr, GetLibraryWindow()); }

    // Puts a raw block of the private format on the clipboard, as another program could.
    static bool PutRawBlock(const void* bytes, size_t size)
    {
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(block), bytes, size);
        GlobalUnlock(block);
        if (!OpenClipboard(GetLibraryWindow()))
        {
            GlobalFree(block);
            return false;
        }
        EmptyClipboard();
        const bool set = SetClipboardData(SClipboard::BlockFormat, block) != nullptr;
        CloseClipboard();
        if (!set)
            GlobalFree(block);
        return set;
    }

    static std::string Bytes(SMemory& m) { return std::string(reinterpret_cast<char*>(m.GetData()), m.GetSize()); }

    SClipboard clipboard;
};
}

TEST_F(SClipboardTest, TextRoundTrips)
{
    ASSERT_TRUE(clipboard.SetText("Hello, clipboard\r\nline two"));
    EXPECT_STREQ("Hello, clipboard\r\nline two", clipboard.GetText().GetText());
    ASSERT_TRUE(clipboard.SetText(""));
    EXPECT_STREQ("", clipboard.GetText().GetText());
}

TEST_F(SClipboardTest, SettingTextReplacesTheBlock)
{
    SMemory m;
    m.WriteText("abc");
    m.SeekToStart();
    ASSERT_TRUE(clipboard.SetData(&m));
    ASSERT_TRUE(clipboard.SetText("text"));
    SMemory out;
    EXPECT_EQ(0, clipboard.GetData(&out));
}

TEST_F(SClipboardTest, BlockRoundTripsWithZeroBytes)
{
    const char data[] = {'K', 0, 'L', 'V', 0, 1, 2};
    SMemory m;
    m.Write(data, sizeof(data));
    m.SeekToStart();
    ASSERT_TRUE(clipboard.SetData(&m, -1));
    EXPECT_TRUE(m.IsEnd());
    SMemory out;
    out.WriteText("x");
    EXPECT_EQ(7, clipboard.GetData(&out));
    EXPECT_EQ(std::string("x") + std::string(data, sizeof(data)), Bytes(out));
}

TEST_F(SClipboardTest, BlockHoldsLengthBytesAndNul)
{
    SMemory m;
    m.WriteText("xyzabc");
    m.Seek(3);
    ASSERT_TRUE(clipboard.SetData(&m, 3));
    ASSERT_TRUE(OpenClipboard(GetLibraryWindow()));
    HANDLE block = GetClipboardData(SClipboard::BlockFormat);
    ASSERT_NE(nullptr, block);
    const unsigned char* bytes = static_cast<const unsigned char*>(GlobalLock(block));
    const std::string raw(reinterpret_cast<const char*>(bytes), 8);
    GlobalUnlock(block);
    CloseClipboard();
    EXPECT_EQ(std::string("\x03\x00\x00\x00" "abc\x00", 8), raw);
}

TEST_F(SClipboardTest, SetDataRefusesEmptyOrTooLargeCounts)
{
    SMemory m;
    m.WriteText("abc");
    EXPECT_FALSE(clipboard.SetData(&m, -1)) << "positioned at its end";
    m.SeekToStart();
    EXPECT_FALSE(clipboard.SetData(&m, 0));
    EXPECT_FALSE(clipboard.SetData(&m, 4));
    EXPECT_FALSE(clipboard.SetData(nullptr, 3));
    EXPECT_EQ(0, m.GetPosition());
}

TEST_F(SClipboardTest, BlockWhoseLengthLiesIsRefused)
{
    const unsigned char lying[] = {0xE8, 0x03, 0, 0, 'a', 'b', 'c', 0};
    ASSERT_TRUE(PutRawBlock(lying, sizeof(lying)));
    SMemory out;
    EXPECT_EQ(0, clipboard.GetData(&out));
    EXPECT_EQ(0, out.GetSize());

    const unsigned char tiny[] = {3, 0};
    ASSERT_TRUE(PutRawBlock(tiny, sizeof(tiny)));
    EXPECT_EQ(0, clipboard.GetData(&out));

    const unsigned char honest[] = {3, 0, 0, 0, 'a', 'b', 'c', 0};
    ASSERT_TRUE(PutRawBlock(honest, sizeof(honest)));
    EXPECT_EQ(3, clipboard.GetData(&out));
    EXPECT_EQ("abc", Bytes(out));
    EXPECT_EQ(0, clipboard.GetData(nullptr));
}

TEST_F(SClipboardTest, TextWithoutNulIsReadWithinItsBlock)
{
    const char text[] = {'a', 'b', 'c', 'd'};
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
    memcpy(GlobalLock(block), text, sizeof(text));
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(GetLibraryWindow()));
    EmptyClipboard();
    ASSERT_NE(nullptr, SetClipboardData(CF_TEXT, block));
    CloseClipboard();
    const SString read = clipboard.GetText();
    EXPECT_LE(read.GetLength(), 4);
    EXPECT_EQ(0, strncmp("abcd", read.GetText(), read.GetLength()));
}

TEST_F(SClipboardTest, NoTextGivesEmptyText)
{
    const unsigned char honest[] = {1, 0, 0, 0, 'a', 0};
    ASSERT_TRUE(PutRawBlock(honest, sizeof(honest)));
    EXPECT_STREQ("", clipboard.GetText().GetText());
}

TEST_F(SClipboardTest, BusyClipboardFailsWithoutWaiting)
{
    ASSERT_TRUE(clipboard.SetText("before"));
    // Another thread holds the clipboard open meanwhile.
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        const BOOL open = OpenClipboard(nullptr);
        SetEvent(opened);
        WaitForSingleObject(release, 10000);
        if (open)
            CloseClipboard();
    });
    WaitForSingleObject(opened, 10000);
    SMemory m;
    m.WriteText("abc");
    m.SeekToStart();
    EXPECT_FALSE(clipboard.SetText("during"));
    EXPECT_FALSE(clipboard.SetData(&m));
    EXPECT_EQ(0, m.GetPosition());
    EXPECT_STREQ("", clipboard.GetText().GetText());
    SetEvent(release);
    holder.join();
    CloseHandle(opened);
    CloseHandle(release);
    EXPECT_STREQ("before", clipboard.GetText().GetText());
}
