#include <gtest/gtest.h>
#include <fstream>
#include <sstream>
#include <string>
#include "SPlatform.h"
#include "SIni.h"

namespace
{
class SIniTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "sonavel-ini-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
        path = folder + "Folder.ini";
        DeleteFileA(path.c_str());
    }
    void TearDown() override
    {
        ini.Close();
        DeleteFileA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    void WriteRaw(const std::string& bytes)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string ReadRaw() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Get(const char* section, const char* key)
    {
        const SString s = ini.GetString(section, key);
        return s.GetText() ? s.GetText() : "";
    }
    bool Exists() const { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    SIni ini;
    std::string folder, path;
};
}

TEST_F(SIniTest, OpenMustExistFailsWithoutCreating)
{
    EXPECT_FALSE(ini.Open(path.c_str(), true));
    EXPECT_FALSE(Exists());
}

TEST_F(SIniTest, OpenCreatesAnEmptyFile)
{
    EXPECT_TRUE(ini.Open(path.c_str(), false));
    EXPECT_TRUE(Exists());
    EXPECT_EQ("", ReadRaw());
    EXPECT_EQ("", Get("", "site"));
}

TEST_F(SIniTest, OpenKeepsAnExistingFile)
{
    WriteRaw("[s]\r\na=1\r\n");
    EXPECT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_EQ("[s]\r\na=1\r\n", ReadRaw());
    EXPECT_EQ("1", Get("s", "a"));
}

TEST_F(SIniTest, OperationsWithoutAFileFail)
{
    EXPECT_EQ("", Get("s", "a"));
    EXPECT_FALSE(ini.SetString("s", "a", "1"));
    ASSERT_TRUE(ini.Open(path.c_str(), false));
    ini.Close();
    EXPECT_FALSE(ini.SetString("s", "a", "1"));
}

TEST_F(SIniTest, FirstKeyInTheUnnamedSection)
{
    ASSERT_TRUE(ini.Open(path.c_str(), false));
    EXPECT_TRUE(ini.SetString("", "site", "x"));
    EXPECT_EQ("[]\r\nsite=x\r\n", ReadRaw());
    EXPECT_EQ("x", Get("", "SITE"));
}

TEST_F(SIniTest, NewSectionAfterALastLineWithoutLineEnd)
{
    WriteRaw("[a]\r\nk=v");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_TRUE(ini.SetString("b", "x", "1"));
    EXPECT_EQ("[a]\r\nk=v\r\n\r\n[b]\r\nx=1\r\n", ReadRaw());
    EXPECT_EQ("v", Get("A", "K"));
    EXPECT_EQ("1", Get("b", "x"));
}

TEST_F(SIniTest, NewSectionAfterACompleteLastLine)
{
    WriteRaw("[a]\r\nk=v\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_TRUE(ini.SetString("b", "x", "1"));
    EXPECT_EQ("[a]\r\nk=v\r\n\r\n[b]\r\nx=1\r\n", ReadRaw());
}

TEST_F(SIniTest, ValuesAreReplacedInPlace)
{
    WriteRaw("[s]\r\na=1\r\nb=2\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_TRUE(ini.SetString("s", "a", "12345"));
    EXPECT_EQ("[s]\r\na=12345\r\nb=2\r\n", ReadRaw());
    EXPECT_TRUE(ini.SetString("S", "A", "9"));
    EXPECT_EQ("[s]\r\nA=9\r\nb=2\r\n", ReadRaw());
    EXPECT_TRUE(ini.SetString("s", "b", ""));
    EXPECT_EQ("[s]\r\nA=9\r\nb=\r\n", ReadRaw());
}

TEST_F(SIniTest, ReplacingTheLastLineKeepsItsMissingLineEnd)
{
    WriteRaw("[s]\r\na=1");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_TRUE(ini.SetString("s", "a", "long value"));
    EXPECT_EQ("[s]\r\na=long value", ReadRaw());
}

TEST_F(SIniTest, NewKeysGoRightAfterTheirSection)
{
    WriteRaw("[s]\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_TRUE(ini.SetString("s", "c", "new"));
    EXPECT_EQ("[s]\r\nc=new\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n", ReadRaw());
    EXPECT_EQ("new", Get("s", "c"));
    EXPECT_EQ("3", Get("t", "c"));
}

TEST_F(SIniTest, NewKeyAfterASectionLineThatEndsTheFile)
{
    WriteRaw("[s]");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_TRUE(ini.SetString("s", "a", "1"));
    EXPECT_EQ("[s]\r\na=1\r\n", ReadRaw());
    EXPECT_EQ("1", Get("s", "a"));
}

TEST_F(SIniTest, FirstOccurrenceWinsAndKeysAreCaseInsensitive)
{
    WriteRaw("; comment\r\n[S]\r\nKey=first\r\nkey=second\r\n[s]\r\nkey=third\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_EQ("first", Get("s", "KEY"));
    EXPECT_TRUE(ini.SetString("s", "key", "new"));
    EXPECT_EQ("; comment\r\n[S]\r\nkey=new\r\nkey=second\r\n[s]\r\nkey=third\r\n", ReadRaw());
}

TEST_F(SIniTest, KeysAreNotTrimmedAndValuesKeepTheirEquals)
{
    WriteRaw("[]\r\nsite = x\r\nurl=http://a/?b=c\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_EQ("", Get("", "site"));
    EXPECT_EQ(" x", Get("", "site "));
    EXPECT_EQ("http://a/?b=c", Get("", "url"));
}

TEST_F(SIniTest, KeysOutsideTheirSectionAreNotFound)
{
    WriteRaw("site=top\r\n[a]\r\nb=1\r\n[c]\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_EQ("", Get("", "site"));
    EXPECT_EQ("", Get("c", "b"));
    EXPECT_EQ("", Get("x", "b"));
}

TEST_F(SIniTest, LoneLineFeedsDoNotEndLines)
{
    WriteRaw("[s]\na=1\r\n[t]\r\nk=1\nb=2\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    EXPECT_EQ("", Get("s", "a"));
    EXPECT_EQ("1\nb=2", Get("t", "k"));
    EXPECT_EQ("", Get("t", "b"));
}

TEST_F(SIniTest, LineBreaksInKeysOrValuesAreRefused)
{
    ASSERT_TRUE(ini.Open(path.c_str(), false));
    EXPECT_FALSE(ini.SetString("", "site", "x\r\n[evil]"));
    EXPECT_FALSE(ini.SetString("", "si\nte", "x"));
    EXPECT_FALSE(ini.SetString("a\rb", "site", "x"));
    EXPECT_EQ("", ReadRaw());
}

// A key line is split at its first "=" and a line in brackets opens a section,
// so a key that would be read back otherwise is refused with the file unchanged.
TEST_F(SIniTest, KeysReadBackOtherwiseAreRefused)
{
    const char* const before = "[s]\r\na=1\r\n";
    WriteRaw(before);
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    const struct
    {
        const char *section, *key, *value;
        bool taken;
    } cases[] = {{"s", "a=b", "1", false}, {"s", "=", "1", false}, {"t", "a=", "", false},
                 {"s", "[x", "y]", false}, {"s", "[x", "y] ", true}, {"a]b", "k", "v", true}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.taken, ini.SetString(c.section, c.key, c.value)) << c.key;
        EXPECT_EQ(c.taken ? c.value : "", Get(c.section, c.key)) << c.key;
        if (!c.taken)
        {
            EXPECT_EQ(before, ReadRaw()) << c.key;
        }
        WriteRaw(before);
    }
}

TEST_F(SIniTest, FailedWriteIsReported)
{
    WriteRaw("[s]\r\na=1\r\n");
    ASSERT_TRUE(ini.Open(path.c_str(), true));
    HANDLE lock = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, lock);
    EXPECT_FALSE(ini.SetString("s", "a", "2"));
    CloseHandle(lock);
    EXPECT_EQ("[s]\r\na=1\r\n", ReadRaw());
    EXPECT_TRUE(ini.SetString("s", "a", "2"));
    EXPECT_EQ("[s]\r\na=2\r\n", ReadRaw());
}

TEST_F(SIniTest, FindSectionAndKeyGiveLineOffsets)
{
    WriteRaw("x\r\n[s]\r\na=1\r\nb=2\r\n");
    SMemory m;
    ASSERT_TRUE(m.LoadFromFile(path.c_str()));
    EXPECT_EQ(3, ini.FindSection(m, "S"));
    EXPECT_EQ(13, ini.FindKey(m, "s", "b"));
    EXPECT_EQ(-1, ini.FindKey(m, "s", "c"));
    EXPECT_EQ(-1, ini.FindSection(m, "t"));
}
