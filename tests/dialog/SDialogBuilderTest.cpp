#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>
#include "ClickingDialog.h"
#include "DialogBuildSupport.h"
#include "SButtonCtrl.h"
#include "SDialogBuilder.h"
#include "SLevelCtrl.h"
#include "STabCtrl.h"
#include "SWaveCtrl.h"

namespace
{
std::string Header()
{
    return std::string(DIALOG_HEADER) + "\r\n\r\n";
}

std::string Dialog(const char* position, const char* style, const std::string& keys)
{
    return "[DIALOG]\r\nID=0\r\nNAME=TEST\r\nCAPTION=Test dialog\r\nPOSITION=" + std::string(position) +
           "\r\nSTYLE=" + style + "\r\n" + keys + "\r\n";
}

std::string Control(const char* type, int id, const char* name, const std::string& keys = "")
{
    return "[" + std::string(type) + "]\r\nID=" + std::to_string(id) + "\r\nNAME=" + name + "\r\nCAPTION=" + name +
           "\r\nPOSITION=10 10 80 25\r\nSTYLE=WS_VISIBLE \r\n" + keys + "\r\n";
}

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int CountThreadWindows()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

// A sound editor that notes, as it is destroyed, whether its sound still names a
// meter and has a buffer: closing such a sound zeroes the meter.
struct WatchedEditor : public SWaveCtrl
{
    WatchedEditor(bool* linked, bool* buffer) : linked(linked), buffer(buffer) {}
    ~WatchedEditor() override
    {
        *linked = GetSound().GetLevelCtrl() != nullptr;
        *buffer = GetSound().HasBuffer();
    }
    bool* linked;
    bool* buffer;
};

struct WatchingDialog : public SWndDialog
{
    WatchingDialog(bool* linked, bool* buffer) : linked(linked), buffer(buffer) {}
    SWnd* CreateCustomControl(int type) override
    {
        return type == SDialogBuilder::TYPE_SOUNDEDITOR ? new WatchedEditor(linked, buffer) : nullptr;
    }
    bool* linked;
    bool* buffer;
};
} // namespace

TEST(SDialogBuilder, DemoDialogHasItsStatusBarSizeAndTabOrder)
{
    SWndDialog dialog;
    ASSERT_TRUE(dialog.CreateFromDescription(DemoText().c_str(), nullptr));
    EXPECT_TRUE(dialog.IsVisible());
    EXPECT_STREQ("Demo dialog", dialog.GetWindowText().GetText());
    SStatusBarCtrl* bar = dialog.GetStatusBar();
    ASSERT_NE(nullptr, bar);
    const SIZE client = dialog.GetClientSize();
    EXPECT_EQ(300, client.cx);
    EXPECT_EQ(90 + bar->GetWindowHeight(), client.cy);
    int edges[3] = {};
    ASSERT_EQ(3, bar->StatusBarGetParts(3, edges));
    EXPECT_EQ(100, edges[0]);
    EXPECT_EQ(200, edges[1]);
    char text[16] = "";
    bar->SendMessage(SB_GETTEXTA, 2, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ("Three", text);
    ASSERT_EQ(1, dialog.GetChildCount());
    SWnd* button = dialog.FindChildByName("OK");
    ASSERT_NE(nullptr, dynamic_cast<SButtonCtrl*>(button));
    EXPECT_EQ(1, button->GetTabGroup());
    EXPECT_EQ(1, button->GetControlId());
    EXPECT_NE(nullptr, dialog.GetChildFont(0));
    // Built once: a second description is refused and changes nothing.
    EXPECT_FALSE(dialog.CreateFromDescription(DemoText().c_str(), nullptr));
    EXPECT_EQ(1, dialog.GetChildCount());
}

TEST(SDialogBuilder, HiddenDialogKeepsItsControlsShownAndItsSizeFixed)
{
    SWndDialog dialog;
    const std::string text = Header() +
                             Dialog("0 0 220 120", "WS_CAPTION WS_SIZEBOX ", "DIALOG_MINSIZE=1\r\nDIALOG_MAXSIZE=1\r\n") +
                             Control("LABEL", 2, "L", "TABGROUP=4\r\n");
    ASSERT_TRUE(dialog.CreateFromDescription(text.c_str(), nullptr));
    EXPECT_FALSE(dialog.IsVisible());
    EXPECT_EQ(nullptr, dialog.GetStatusBar());
    EXPECT_EQ(120, dialog.GetClientSize().cy);
    EXPECT_TRUE(dialog.FindChildById(2)->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(-1, dialog.FindChildById(2)->GetTabGroup()) << "TABGROUP counts only with TABENABLED";
    MINMAXINFO info = {};
    dialog.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    const SIZE size = dialog.GetWindowSize();
    EXPECT_EQ(size.cx, info.ptMinTrackSize.x);
    EXPECT_EQ(size.cy, info.ptMinTrackSize.y);
    EXPECT_EQ(size.cx, info.ptMaxTrackSize.x);
    EXPECT_EQ(size.cy, info.ptMaxTrackSize.y);
}

TEST(SDialogBuilder, AnchorsFollowTheAlignKeys)
{
    SWndDialog dialog;
    const std::string text = Header() + Dialog("0 0 200 100", "WS_VISIBLE ", "") +
                             Control("BUTTON", 1, "B", "HALIGN=2\r\nVALIGN=32\r\n") + Control("BUTTON", 2, "C");
    ASSERT_TRUE(dialog.CreateFromDescription(text.c_str(), nullptr));
    SWnd* anchored = dialog.FindChildById(1);
    EXPECT_EQ(34, anchored->GetAnchors());
    EXPECT_EQ(0, dialog.FindChildById(2)->GetAnchors());
    dialog.SetClientSize(240, 130);
    RECT r = {};
    anchored->GetWindowRect(&r);
    dialog.ScreenToClientRect(&r);
    EXPECT_EQ(50, r.left);
    EXPECT_EQ(40, r.top);
}

TEST(SDialogBuilder, ButtonsNamedOkAndCancelEndAModalRun)
{
    const std::string text = Header() + Dialog("0 0 200 100", "WS_VISIBLE ", "") + Control("BUTTON", 1, "OK") +
                             Control("BUTTON", 2, "CANCEL");
    const struct
    {
        const char* click;
        int result;
    } cases[] = {{"OK", 0}, {"CANCEL", -1}};
    for (const auto& c : cases)
    {
        ClickingDialog dialog;
        ASSERT_TRUE(dialog.CreateFromDescription(text.c_str(), nullptr));
        EXPECT_EQ(c.result, dialog.RunClicking(c.click)) << c.click;
    }
}

TEST(SDialogBuilder, TabControlsSwapPlacesAndAttachTheirPages)
{
    const std::string pages = "TAB_CONTENT=One | Two\r\nTAB_CHILDREN_PRIVATE=0 12 1 13 5 14 0 3 1 -5 \r\n";
    const std::string text = Header() + Dialog("0 0 300 200", "WS_VISIBLE ", "") + Control("BUTTON", 12, "A") +
                             Control("BUTTON", 13, "B") + Control("TAB", 3, "FIRST", pages) +
                             Control("BUTTON", 14, "C") + Control("BUTTON", -5, "D") +
                             Control("TAB", 6, "SECOND", "TAB_CONTENT=X\r\n") + Control("LABEL", 7, "E");
    SWndDialog dialog;
    ASSERT_TRUE(dialog.CreateFromDescription(text.c_str(), nullptr));
    ASSERT_EQ(7, dialog.GetChildCount());
    EXPECT_EQ(dialog.FindChildById(6), dialog.GetChild(2));
    EXPECT_EQ(dialog.FindChildById(3), dialog.GetChild(5));
    EXPECT_EQ(dialog.FindChildById(14), dialog.GetChild(3));
    STabCtrl* tab = dynamic_cast<STabCtrl*>(dialog.FindChildById(3));
    ASSERT_NE(nullptr, tab);
    // Tab 5 does not exist and the tab is no page of itself; -5 is found as filed.
    EXPECT_EQ(3, tab->GetPageCount());
    EXPECT_TRUE(dialog.FindChildById(12)->IsVisible());
    EXPECT_FALSE(dialog.FindChildById(13)->IsVisible());
    EXPECT_FALSE(SDialogBuilder::FindControl(&dialog, -5)->IsVisible());
    EXPECT_TRUE(dialog.FindChildById(14)->IsVisible());
}

TEST(SDialogBuilder, SoundEditorDrivesTheLevelMeterItNames)
{
    SResource resources;
    FillResources(resources, {{"sound.wav", StereoWave()}});
    const std::string text = Header() + Dialog("0 0 300 200", "WS_VISIBLE ", "") + Control("BUTTON", 2, "B") +
                             Control("SOUNDEDITOR", 3, "S", "SOUNDEDITOR_FILE=sound.wav\r\nSOUNDEDITOR_LEVEL=-4\r\n") +
                             Control("SOUNDEDITOR", 5, "T", "SOUNDEDITOR_FILE=sound.wav\r\nSOUNDEDITOR_LEVEL=2\r\n") +
                             Control("LEVEL", -4, "M") + Control("LEVEL", 6, "N");
    SWndDialog dialog;
    ASSERT_TRUE(dialog.CreateFromDescription(text.c_str(), nullptr, &resources));
    EXPECT_EQ(2, dynamic_cast<SLevelCtrl*>(SDialogBuilder::FindControl(&dialog, -4))->GetChannelCount());
    EXPECT_EQ(1, dynamic_cast<SLevelCtrl*>(dialog.FindChildById(6))->GetChannelCount());
}

TEST(SDialogBuilder, MeterListedFirstIsUnlinkedBeforeTheEditorClosesItsSound)
{
    // The stand-in device gives the sound a buffer, so closing it zeroes the meter it names.
    FakeDeviceInstalled device;
    SResource resources;
    FillResources(resources, {{"sound.wav", StereoWave()}});
    const std::string meter = Control("LEVEL", 4, "M");
    const std::string editor = Control("SOUNDEDITOR", 3, "S", "SOUNDEDITOR_FILE=sound.wav\r\nSOUNDEDITOR_LEVEL=4\r\n");
    for (const bool meterFirst : {true, false})
    {
        bool linked = false, buffer = false;
        WatchingDialog dialog(&linked, &buffer);
        const std::string text =
            Header() + Dialog("0 0 300 200", "WS_VISIBLE ", "") + (meterFirst ? meter + editor : editor + meter);
        ASSERT_TRUE(dialog.CreateFromDescription(text.c_str(), nullptr, &resources));
        SWaveCtrl* wave = dynamic_cast<SWaveCtrl*>(dialog.FindChildById(3));
        ASSERT_NE(nullptr, wave);
        ASSERT_EQ(dialog.FindChildById(4), wave->GetSound().GetLevelCtrl());
        ASSERT_TRUE(wave->GetSound().HasBuffer());
        dialog.DestroyWindow();
        EXPECT_TRUE(buffer) << meterFirst;
        EXPECT_EQ(!meterFirst, linked) << meterFirst;
    }
}

TEST(SDialogBuilder, FailuresAndTruncationsLeaveNoWindowBehind)
{
    SWndDialog unbuilt;
    EXPECT_FALSE(SDialogCtrl::BuildWindow(nullptr, &unbuilt, nullptr, nullptr, true, 0));
    // The real media player cannot be made here, and a dialog is no control.
    const std::string player = Header() + Dialog("0 0 200 100", "", "") + Control("BUTTON", 1, "B") +
                               Control("MEDIAPLAYER", 2, "P");
    const std::string nested = Header() + Dialog("0 0 200 100", "", "") + Control("DIALOG", 1, "D");
    const std::string text = DemoText() +
                             Control("TAB", 3, "T", "TAB_CONTENT=One | Two\r\nTAB_CHILDREN_PRIVATE=0 1 1 4 \r\n") +
                             Control("LABEL", 4, "L", "LABEL_ALIGN=_CENTER\r\nHALIGN=4\r\n") +
                             Control("LIST", 5, "I", "LIST_CONTENT=a | b\r\n");
    std::vector<std::string> descriptions = {player, nested};
    for (size_t end = text.find("\r\n"); end != std::string::npos; end = text.find("\r\n", end + 2))
        descriptions.push_back(text.substr(0, end + 2));
    const int before = CountThreadWindows();
    int built = 0;
    for (size_t i = 0; i < descriptions.size(); i++)
    {
        SWndDialog dialog;
        const bool made = dialog.CreateFromDescription(descriptions[i].c_str(), nullptr);
        EXPECT_TRUE(i >= 2 || !made) << descriptions[i];
        built += made ? 1 : 0;
    }
    EXPECT_GT(built, 10);
    EXPECT_EQ(before, CountThreadWindows());
}

TEST(SDialogBuilder, RefusedControlIsDestroyed)
{
    SWnd parent;
    RECT r = {0, 0, 100, 100};
    ASSERT_TRUE(parent.Create("parent", WS_POPUP, 0, &r, nullptr));
    SWndDialog dialog;
    int destroyed = 0;
    CountedButton* button = new CountedButton(&destroyed);
    ASSERT_TRUE(button->Create("B", WS_VISIBLE, 0, &r, parent.GetHandle()));
    HWND handle = button->GetHandle();
    EXPECT_FALSE(SDialogBuilder::Register(&dialog, button, nullptr));
    EXPECT_EQ(1, destroyed);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(0, dialog.GetChildCount());
}
