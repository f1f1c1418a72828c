#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "SArrayString.h"
#include "TraceWnd.h"
#include <shlobj.h>

namespace
{
// Copies the dropped paths while they exist (during the notification).
class DropTargetWnd : public TraceWnd
{
public:
    std::vector<std::string> paths;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_DROPFILES)
        {
            const SArrayString* list = reinterpret_cast<const SArrayString*>(wParam);
            for (int i = 0; i < list->GetCount(); i++)
                paths.push_back(list->GetAt(i).GetText() ? list->GetAt(i).GetText() : "");
        }
        return TraceWnd::WindowProc(message, wParam, lParam);
    }
};

// A drop handle as the shell makes it: DROPFILES followed by the ANSI paths,
// each ending with a zero, and one more zero at the end.
HGLOBAL MakeDrop(const std::vector<std::string>& paths)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& p : paths)
        size += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* text = reinterpret_cast<char*>(drop) + sizeof(DROPFILES);
    for (const std::string& p : paths)
    {
        memcpy(text, p.c_str(), p.size() + 1);
        text += p.size() + 1;
    }
    GlobalUnlock(block);
    return block;
}

class SWndDropFilesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "sonavel_drop_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        file = folder + "\\song.mp3";
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
        RECT r = MakeRect(0, 0, 200, 100);
        ASSERT_TRUE(wnd.Create("Drop", WS_POPUP, 0, &r, nullptr));
    }
    void TearDown() override
    {
        DeleteFileA(file.c_str());
        RemoveDirectoryA(folder.c_str());
    }

    std::string folder, file;
    DropTargetWnd wnd;
};
} // namespace

TEST_F(SWndDropFilesTest, PathsArriveWholeInDropOrderAndFoldersEndWithABackslash)
{
    const std::string longName = "C:\\" + std::string(300, 'n') + "\\" + std::string(150, 'f') + ".wav";
    HGLOBAL drop = MakeDrop({file, folder, longName});
    wnd.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    ASSERT_EQ(3u, wnd.paths.size());
    EXPECT_EQ(file, wnd.paths[0]);
    EXPECT_EQ(folder + "\\", wnd.paths[1]);
    EXPECT_EQ(longName, wnd.paths[2]);
    // The class's handler still sees the native message.
    EXPECT_EQ(1, wnd.Count(WM_DROPFILES));
}

TEST_F(SWndDropFilesTest, DropHandleIsReleasedAfterTheMessage)
{
    HGLOBAL drop = MakeDrop({file});
    ASSERT_NE(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(drop));
    wnd.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(static_cast<UINT>(GMEM_INVALID_HANDLE), GlobalFlags(drop));
}
