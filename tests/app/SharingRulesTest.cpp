// The rules both ends of a sharing connection apply before they use what a
// peer sent: the path check, download targets, and the reading of the
// server's blocks (short and lying ones are refused whole).
#include <gtest/gtest.h>
#include <cstring>
#include <memory>
#include <string>
#include "PPeerPath.h"
#include "PRecentFiles.h"
#include "PRemoteBlocks.h"
#include "PSharedLibrary.h"
#include "SDisk.h"
#include "SGuards.h"
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
enum BlockKind
{
    LISTING,
    VIEW,
    FILES,
    PACKED
};

bool Accepts(BlockKind kind, const std::string& block)
{
    const unsigned char* data = reinterpret_cast<const unsigned char*>(block.data());
    const int size = static_cast<int>(block.size());
    PRemoteBlocks::_SFolders folders;
    PRemoteBlocks::_SFolderView view;
    SArrayString paths;
    SMemory out;
    switch (kind)
    {
    case LISTING:
        return PRemoteBlocks::ParseFolders(data, size, &folders);
    case VIEW:
        return PRemoteBlocks::ParseFolderView(data, size, &view);
    case FILES:
        return PRemoteBlocks::ParseFileList(data, size, &paths);
    default:
        return PRemoteBlocks::Unpack(data, size, &out);
    }
}
}

TEST(SharingRulesTest, BlocksRefusedWholeWhenShortOrLying)
{
    const std::string pictures(2048, 'p'), page = Packed("<html>page</html>"), packed = Packed("A\\|A\\B\\|");
    const std::string head = Z("Rock") + Z("Rock\\a.mp31"), none = U32(0) + U32(0);
    const std::string pageSize = U32(static_cast<uint32_t>(page.size()));
    const struct
    {
        BlockKind kind;
        std::string block;
        bool accepted;
    } cases[] = {
        {LISTING, Z("") + Z("A|B|") + Z("10") + pictures, true},
        {LISTING, Z("Rock") + Z("") + Z(""), true},
        {LISTING, Z("") + Z("A|B|") + Z("10") + pictures.substr(1), false},
        {LISTING, Z("") + Z("A|B|") + Z("10") + pictures + "x", false},
        {LISTING, Z("") + Z("A|B") + Z("10") + pictures, false},
        {LISTING, Z("") + Z("A|B|") + Z("1") + pictures, false},
        {LISTING, Z("") + Z("A|B|") + "10" + pictures, false},
        {LISTING, "", false},
        {VIEW, head + U32(3) + "jpg" + U32(0) + pageSize + "\1" + page, true},
        {VIEW, head + none + U32(0xFFFFFFFF) + Z(""), true},
        {VIEW, head + none + U32(0), false},
        {VIEW, head + U32(4) + "jpg" + U32(0) + U32(0) + Z(""), false},
        {VIEW, head + U32(0) + U32(0x7FFFFFFF) + U32(0) + Z(""), false},
        {VIEW, head + none + U32(100) + Z("") + page, false},
        {VIEW, head + none + U32(0) + Z("") + "x", false},
        {VIEW, Z("Rock") + "Rock\\a.mp31", false},
        {FILES, Z("a.mp3|b\\c.txt"), true},
        {FILES, "a.mp3", false},
        {FILES, Z("a") + "b", false},
        {PACKED, packed, true},
        {PACKED, packed.substr(0, packed.size() - 1), false},
        {PACKED, packed + "x", false},
        // Claiming 64 MiB + 1 raw bytes: refused before anything is unpacked.
        {PACKED, U32(1) + U32(PRemoteBlocks::MAX_UNPACKED + 1) + U32(4) + "zzzz", false},
        {PACKED, U32(0), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.accepted, Accepts(c.kind, c.block)) << &c - cases;
    PRemoteBlocks::_SFolders folders;
    ASSERT_TRUE(PRemoteBlocks::ParseFolders(reinterpret_cast<const unsigned char*>(cases[0].block.data()),
                                            static_cast<int>(cases[0].block.size()), &folders));
    EXPECT_STREQ("B", folders.names.GetAt(1).GetText());
    EXPECT_STREQ("10", folders.flags.GetText());
}

// The listings a peer gets for a folder with notes in either case, covers
// beside its sub-folders and a link out of the tree: the exact texts, and each
// sub-folder's own picture.
TEST(SharingRulesTest, ServedListingsKeepTheirBytesWithNotesCoversAndLinks)
{
    TempFolder root, outside;
    const char* const files[] = {"F\\Alpha\\a.mp3", "F\\Beta\\Inner\\x.mp3", "F\\Song.mp3", "F\\SONG.TXT",
                                 "F\\Tune.wma",     "F\\Radio.wax",          "F\\radio.txt", "F\\Alpha.txt",
                                 "F.txt"};
    for (const char* file : files)
        ASSERT_TRUE(root.WriteFile(file, "x"));
    ASSERT_TRUE(CreateDirectoryA((root.Path() + "F\\Gamma").c_str(), nullptr));
    ASSERT_TRUE(root.WriteFile("F\\Alpha.png", BandedPicture(SImage::FORMAT_PNG)));
    ASSERT_TRUE(root.WriteFile("F\\BETA.JPG", BandedPicture(SImage::FORMAT_JPEG)));
    ASSERT_TRUE(outside.WriteFile("secret.mp3", "s"));
    const FolderLink link(root.Path() + "F\\out", outside.Path().substr(0, outside.Path().size() - 1));
    PSharedLibrary library;
    library.Update(SDisk().ExpandLongPath(root.Path().c_str()), SArrayString(), PSettings::_SServer());

    SMemory listing;
    ASSERT_TRUE(library.BuildFolders("F", &listing));
    const std::string block(reinterpret_cast<const char*>(listing.GetData()), listing.GetSize());
    const std::string texts("F\0Alpha|Beta|Gamma|\0" "010\0", 24);
    ASSERT_EQ(texts.size() + 3 * 1024, block.size());
    EXPECT_EQ(texts, block.substr(0, texts.size()));
    const auto pixel = [&](int folder) {
        Gdiplus::ARGB value = 0;
        memcpy(&value, block.data() + texts.size() + folder * 1024, 4);
        return value;
    };
    EXPECT_TRUE(NearColor(pixel(0), 0xFFFF0000)) << std::hex << pixel(0);
    EXPECT_TRUE(NearColor(pixel(1), 0xFFFF0000)) << std::hex << pixel(1);
    EXPECT_FALSE(NearColor(pixel(2), 0xFFFF0000)) << std::hex << pixel(2);

    SMemory view, list;
    ASSERT_TRUE(library.BuildFolderView("F", &view));
    const std::string viewText("F\0F\\Radio.wax1|F\\Song.mp31|F\\Tune.wma0\0", 39);
    EXPECT_EQ(viewText, std::string(reinterpret_cast<const char*>(view.GetData()), viewText.size()));
    library.BuildFileList("F", &list);
    EXPECT_EQ("F.txt|F\\Alpha.png|F\\Alpha.txt|F\\Alpha\\a.mp3|F\\Beta.jpg|F\\Beta\\Inner\\x.mp3|F\\Radio.wax|"
              "F\\Song.mp3|F\\Tune.wma",
              std::string(reinterpret_cast<const char*>(list.GetData())));
    EXPECT_TRUE(link.IsMade()) << "no link to test";
}

// A file read whole for its size goes back only to that client, for that
// path, while it is still of that size and write time; a few are kept, the
// oldest go first.
TEST(SharingRulesTest, FilesReadForTheirSizeServeOnlyTheirOwnRequest)
{
    const auto bytes = [](const char* text) {
        std::unique_ptr<SMemory> memory(new SMemory);
        memory->Write(text, static_cast<int>(std::strlen(text)));
        return memory;
    };
    PRecentFiles recent;
    recent.Keep(1, "C:\\A\\a.mp3", 7, bytes("aaaa"));
    recent.Keep(2, "C:\\A\\a.mp3", 7, bytes("bb"));
    recent.Keep(3, "C:\\A\\a.mp3", 7, bytes("cc"));
    EXPECT_EQ(nullptr, recent.Take(1, "C:\\A\\b.mp3", 4, 7)) << "another path";
    EXPECT_EQ(nullptr, recent.Take(4, "C:\\A\\a.mp3", 4, 7)) << "another client";
    EXPECT_EQ(nullptr, recent.Take(2, "C:\\A\\a.mp3", 3, 7)) << "a size changed since";
    EXPECT_EQ(nullptr, recent.Take(2, "C:\\A\\a.mp3", 2, 7)) << "given up at the look above";
    EXPECT_EQ(nullptr, recent.Take(3, "C:\\A\\a.mp3", 2, 8)) << "written since, same size";
    const std::unique_ptr<SMemory> taken = recent.Take(1, "C:\\A\\a.mp3", 4, 7);
    ASSERT_NE(nullptr, taken);
    EXPECT_EQ(0, std::memcmp(taken->GetData(), "aaaa", 4));
    EXPECT_EQ(nullptr, recent.Take(1, "C:\\A\\a.mp3", 4, 7)) << "taken once";

    for (int i = 0; i <= PRecentFiles::MOST_FILES; i++)
        recent.Keep(1, ("C:\\" + std::to_string(i)).c_str(), 0, bytes("x"));
    EXPECT_EQ(nullptr, recent.Take(1, "C:\\0", 1, 0)) << "the oldest went first";
    EXPECT_NE(nullptr, recent.Take(1, "C:\\1", 1, 0));
    recent.Forget(1);
    EXPECT_EQ(nullptr, recent.Take(1, ("C:\\" + std::to_string(PRecentFiles::MOST_FILES)).c_str(), 1, 0));
}

namespace
{
// A writer that comes while a small file is read whole for its size: the
// bytes read are the older ones, and the file's time moves on.
class RewrittenDuringTheRead : public PSharedLibrary
{
public:
    std::string path, newer;

protected:
    void ReadWhole(HANDLE file, int size, SMemory* out) const override
    {
        PSharedLibrary::ReadWhole(file, size, out);
        if (newer.empty())
            return;
        const SHandleGuard writer(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                              nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD written = 0;
        FILETIME time = {};
        GetFileTime(writer.Get(), nullptr, nullptr, &time);
        time.dwHighDateTime += 1;
        WriteFile(writer.Get(), newer.data(), static_cast<DWORD>(newer.size()), &written, nullptr);
        SetFileTime(writer.Get(), nullptr, nullptr, &time);
    }
};
}

TEST(SharingRulesTest, ASmallFileWrittenDuringItsReadIsNeverKeptAsItWas)
{
    TempFolder root;
    ASSERT_TRUE(root.WriteFile("A\\a.mp3", "older"));
    RewrittenDuringTheRead library;
    library.Update(SDisk().ExpandLongPath(root.Path().c_str()), SArrayString(), PSettings::_SServer());
    library.path = root.Path() + "A\\a.mp3";
    library.newer = "newer";
    SMemory whole;
    unsigned long long written = 0;
    EXPECT_EQ(5, library.GetFileSize("A\\a.mp3", nullptr, &whole, PRecentFiles::MOST_BYTES, &written));
    EXPECT_EQ(0, whole.GetSize());
    // Left alone during the read, it is kept with its time.
    library.newer = "";
    EXPECT_EQ(5, library.GetFileSize("A\\a.mp3", nullptr, &whole, PRecentFiles::MOST_BYTES, &written));
    ASSERT_EQ(5, whole.GetSize());
    EXPECT_EQ(0, std::memcmp(whole.GetData(), "newer", 5));
    EXPECT_NE(0u, written);
}
