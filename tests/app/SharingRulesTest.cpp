// The rules both ends of a sharing connection apply before they use what a
// peer sent: the path check, download targets, and the reading of the
// server's blocks (short and lying ones are refused whole).
#include <gtest/gtest.h>
#include "PPeerPath.h"
#include "PRemoteBlocks.h"
#include "SMemory.h"
#include "SharingTestSupport.h"

using namespace apptest;

TEST(SharingRulesTest, PathTextsAcceptedOnlyAsPlainPartsBelowTheRoot)
{
    const struct
    {
        const char* text;
        bool file, folder;
    } cases[] = {
        {"Rock\\a.mp3", true, true}, {"Rock/Live/b.mp3", true, true}, {"Rock\\", false, true},
        {"", false, true}, {"..\\x", false, false}, {"Rock\\..\\..\\x", false, false},
        {"a\\.\\b", false, false}, {"C:\\Windows\\win.ini", false, false}, {"C:x", false, false},
        {"\\\\host\\share\\x", false, false}, {"\\Rock", false, false}, {"/Rock", false, false},
        {"a.mp3:s", false, false}, {"a\\\\b", false, false}, {"a//b", false, false}, {"a*.mp3", false, false},
        {"a?.mp3", false, false}, {"a\tb", false, false}, {"Rock.", false, false}, {"Rock \\a", false, false},
        {"CON", false, false}, {"Rock\\nul.mp3", false, false}, {"aux .txt", false, false},
        {"COM1", false, false}, {"lpt9.x", false, false}, {"COM0", true, true}, {"CONSOLE", true, true},
        {"a<b", false, false}, {"a|b", false, false}, {"Rock\\\\", false, false}, {"LONGFO~1\\a.mp3", true, true},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(c.file, PPeerPath::IsAcceptedText(c.text, false)) << c.text;
        EXPECT_EQ(c.folder, PPeerPath::IsAcceptedText(c.text, true)) << c.text;
    }
    for (const char* name : {"", "a\\b", "a/b", "c:", ".", "..", "..."})
        EXPECT_FALSE(PPeerPath::IsAcceptedName(name)) << name;
    EXPECT_TRUE(PPeerPath::IsAcceptedName("Kitchen .1"));
}

TEST(SharingRulesTest, DownloadTargetsStayInTheConnectionsFolder)
{
    const struct
    {
        const char *name, *remote, *target;
    } cases[] = {
        {"Kitchen", "Rock\\a.mp3", "C:\\M\\{Kitchen}\\Rock\\a.mp3"},
        {"Kitchen", "Rock/a.mp3", "C:\\M\\{Kitchen}\\Rock\\a.mp3"},
        {"Kitchen", "a.mp3", "C:\\M\\{Kitchen}\\a.mp3"},
        {"Kitchen", "..\\a.mp3", ""},
        {"Kitchen", "C:\\a.mp3", ""},
        {"Kitchen", "\\\\h\\s\\a.mp3", ""},
        {"Kitchen", "Rock\\", ""},
        {"..", "a.mp3", ""},
        {"a\\..\\..", "a.mp3", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.target, PPeerPath::MakeDownloadTarget("C:\\M\\", c.name, c.remote).GetText())
            << c.name << " " << c.remote;
}

TEST(SharingRulesTest, ResolvedPathsAreLongAndStayInsideWithoutLinks)
{
    TempFolder root, outside;
    ASSERT_TRUE(root.WriteFile("Long Folder Name\\a.mp3", "a"));
    ASSERT_TRUE(root.WriteFile("Rock\\b.mp3", "b"));
    ASSERT_TRUE(root.WriteFile("top.mp3", "t"));
    ASSERT_TRUE(outside.WriteFile("secret.mp3", "secret"));
    char shortName[MAX_PATH] = {};
    GetShortPathNameA((root.Path() + "Long Folder Name").c_str(), shortName, MAX_PATH);
    const std::string shortPart = std::string(shortName).substr(std::string(shortName).rfind('\\') + 1);
    ASSERT_NE("Long Folder Name", shortPart);
    const FolderLink link(root.Path() + "out", outside.Path().substr(0, outside.Path().size() - 1));
    SDisk disk;
    const std::string longRoot = disk.ExpandLongPath(root.Path().c_str()).GetText();
    const struct
    {
        std::string relative;
        bool folder;
        std::string resolved;
    } cases[] = {
        {"", true, longRoot},
        {"Rock", true, longRoot + "Rock\\"},
        {"Rock\\", true, longRoot + "Rock\\"},
        {"Rock\\b.mp3", false, longRoot + "Rock\\b.mp3"},
        {"Rock\\b.mp3", true, ""},
        {"top.mp3", false, longRoot + "top.mp3"},
        {"Rock", false, ""},
        {shortPart + "\\a.mp3", false, longRoot + "Long Folder Name\\a.mp3"},
        {"Rock\\missing.mp3", false, ""},
        {"out", true, ""},
        {"out\\secret.mp3", false, ""},
        {"..\\" + outside.Path().substr(outside.Path().rfind('\\', outside.Path().size() - 2) + 1) + "secret.mp3",
         false, ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.resolved.c_str(),
                     PPeerPath::Resolve(disk, longRoot.c_str(), c.relative.c_str(), c.folder).GetText())
            << c.relative;
    EXPECT_TRUE(link.IsMade()) << "no link to test";
    EXPECT_EQ("secret", ReadFileText(outside.Path() + "secret.mp3"));
}

namespace
{
std::string U32(uint32_t value)
{
    return std::string({static_cast<char>(value), static_cast<char>(value >> 8), static_cast<char>(value >> 16),
                        static_cast<char>(value >> 24)});
}

std::string Z(const std::string& text)
{
    return text + std::string(1, '\0');
}

std::string Packed(const std::string& text)
{
    SMemory raw, packed;
    raw.Write(text.data(), static_cast<int>(text.size()));
    raw.SeekToStart();
    raw.Compress(&packed);
    return std::string(reinterpret_cast<const char*>(packed.GetData()), packed.GetSize());
}

bool Folders(const std::string& block, PRemoteBlocks::_SFolders* out)
{
    return PRemoteBlocks::ParseFolders(reinterpret_cast<const unsigned char*>(block.data()),
                                       static_cast<int>(block.size()), out);
}

bool View(const std::string& block, PRemoteBlocks::_SFolderView* out)
{
    return PRemoteBlocks::ParseFolderView(reinterpret_cast<const unsigned char*>(block.data()),
                                          static_cast<int>(block.size()), out);
}
}

TEST(SharingRulesTest, FolderListingsRefusedWhenShortOrLying)
{
    const std::string pictures(2048, 'p');
    const struct
    {
        std::string block;
        bool accepted;
    } cases[] = {
        {Z("") + Z("A|B|") + Z("10") + pictures, true},
        {Z("Rock") + Z("") + Z(""), true},
        {Z("") + Z("A|B|") + Z("10") + pictures.substr(1), false},
        {Z("") + Z("A|B|") + Z("10") + pictures + "x", false},
        {Z("") + Z("A|B") + Z("10") + pictures, false},
        {Z("") + Z("A|B|") + Z("1") + pictures, false},
        {Z("") + Z("A|B|") + "10" + pictures, false},
        {Z("") + "A|B|", false},
        {"", false},
    };
    for (const auto& c : cases)
    {
        PRemoteBlocks::_SFolders folders;
        EXPECT_EQ(c.accepted, Folders(c.block, &folders)) << c.block.size();
    }
    PRemoteBlocks::_SFolders folders;
    ASSERT_TRUE(Folders(cases[0].block, &folders));
    EXPECT_EQ(2, folders.names.GetCount());
    EXPECT_STREQ("B", folders.names.GetAt(1).GetText());
    EXPECT_STREQ("10", folders.flags.GetText());
}

TEST(SharingRulesTest, FolderViewsRefusedWhenShortOrLying)
{
    const std::string page = Packed("<html>page</html>");
    const std::string head = Z("Rock") + Z("Rock\\a.mp31");
    const struct
    {
        std::string block;
        bool accepted;
        int pageSize;
    } cases[] = {
        {head + U32(3) + "jpg" + U32(0) + U32(static_cast<uint32_t>(page.size())) + "\1" + page, true,
         static_cast<int>(page.size())},
        {head + U32(0) + U32(0) + U32(0) + std::string(1, '\0'), true, 0},
        {head + U32(0) + U32(0) + U32(0xFFFFFFFF) + std::string(1, '\0'), true, 0},
        {head + U32(0) + U32(0) + U32(0), false, 0},
        {head + U32(4) + "jpg" + U32(0) + U32(0) + std::string(1, '\0'), false, 0},
        {head + U32(0) + U32(0x7FFFFFFF) + U32(0) + std::string(1, '\0'), false, 0},
        {head + U32(0) + U32(0) + U32(100) + std::string(1, '\0') + page, false, 0},
        {head + U32(0) + U32(0) + U32(0) + std::string(1, '\0') + "x", false, 0},
        {head + U32(0), false, 0},
        {Z("Rock") + "Rock\\a.mp31", false, 0},
    };
    for (const auto& c : cases)
    {
        PRemoteBlocks::_SFolderView view;
        EXPECT_EQ(c.accepted, View(c.block, &view)) << &c - cases;
        EXPECT_EQ(c.pageSize, view.pageSize) << &c - cases;
    }
}

TEST(SharingRulesTest, FileListsAndPackedBlocksAreChecked)
{
    const struct
    {
        std::string block;
        bool accepted;
        int count;
    } lists[] = {{Z("a.mp3|b\\c.txt"), true, 2}, {Z(""), true, 0}, {"a.mp3", false, 0}, {Z("a") + "b", false, 0}};
    for (const auto& c : lists)
    {
        SArrayString paths;
        EXPECT_EQ(c.accepted, PRemoteBlocks::ParseFileList(reinterpret_cast<const unsigned char*>(c.block.data()),
                                                           static_cast<int>(c.block.size()), &paths))
            << c.block;
        EXPECT_EQ(c.count, paths.GetCount()) << c.block;
    }
    const std::string packed = Packed("A\\|A\\B\\|");
    // One block claiming 64 MiB + 1 raw bytes is refused before any unpacking.
    const std::string lying = U32(1) + U32(PRemoteBlocks::MAX_UNPACKED + 1) + U32(4) + "zzzz";
    const struct
    {
        std::string block;
        bool accepted;
    } blocks[] = {{packed, true}, {packed.substr(0, packed.size() - 1), false}, {packed + "x", false},
                  {lying, false}, {U32(0), false}, {"", false}};
    for (const auto& c : blocks)
    {
        SMemory out;
        EXPECT_EQ(c.accepted, PRemoteBlocks::Unpack(reinterpret_cast<const unsigned char*>(c.block.data()),
                                                     static_cast<int>(c.block.size()), &out))
            << c.block.size();
    }
    SMemory small;
    EXPECT_FALSE(PRemoteBlocks::Unpack(reinterpret_cast<const unsigned char*>(packed.data()),
                                       static_cast<int>(packed.size()), &small, 5));
}
