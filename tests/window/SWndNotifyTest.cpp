#include <gtest/gtest.h>
#include "SControlNotify.h"
#include "SGuards.h"
#include "TraceWnd.h"
#include <commctrl.h>

namespace
{
// Keeps what lives only during a notification: the check state its check box
// has when the click is reported, and the mouse records of a list.
class NotifyParentWnd : public TraceWnd
{
public:
    SWnd* check = nullptr;
    LRESULT stateWhenReported = -1;
    std::vector<SMouseNotify> mouse;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_CHECK_CLICKED && check)
            stateWhenReported = check->SendMessage(BM_GETCHECK);
        if (message == SWM_EXLIST_MOUSE)
            mouse.push_back(*reinterpret_cast<const SMouseNotify*>(lParam));
        return TraceWnd::WindowProc(message, wParam, lParam);
    }
};

// A child that paints its own colours.
class ColouredWnd : public SWnd
{
public:
    HBRUSH brush = nullptr;
    HDC seen = nullptr;
    HBRUSH OnCtlColorStatic(HDC dc) override
    {
        seen = dc;
        return brush;
    }
};

class SWndNotifyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX init = {sizeof(init), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        InitCommonControlsEx(&init);
        RECT r = MakeRect(40, 40, 540, 440);
        ASSERT_TRUE(parent.Create("Notify", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        parent.SetForegroundWindow();
    }

    bool Create(SWnd& child, int type, const char* className, DWORD style, const RECT& r)
    {
        child.SetTypeId(type);
        return child.CreateSubclassed(className, "", WS_CHILD | WS_VISIBLE | style, 0, &r,
                                      parent.GetHandle(), 100);
    }

    LRESULT Notify(SWnd& child, NMHDR& header, UINT code)
    {
        header.hwndFrom = child.GetHandle();
        header.idFrom = 100;
        header.code = code;
        return parent.SendMessage(WM_NOTIFY, 100, reinterpret_cast<LPARAM>(&header));
    }

    NotifyParentWnd parent;
};

// Counts the commands of the type it stands in for.
int g_translated = 0;
int g_lastCode = -1;
void CountingTranslator(SWnd*, SWnd*, int code)
{
    g_translated++;
    g_lastCode = code;
}
} // namespace

TEST_F(SWndNotifyTest, ButtonClickBecomesButtonClicked)
{
    SWnd button;
    ASSERT_TRUE(Create(button, STYPE_BUTTON, "BUTTON", BS_PUSHBUTTON, MakeRect(5, 5, 80, 30)));
    button.SendMessage(BM_CLICK);
    ASSERT_EQ(1, parent.Count(SWM_BUTTON_CLICKED));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&button), parent.Last(SWM_BUTTON_CLICKED).wParam);
    // The native notice still reaches the parent's handler.
    EXPECT_EQ(1, parent.Count(WM_COMMAND));
}

TEST_F(SWndNotifyTest, CheckBoxIsToggledBeforeItsClickIsReported)
{
    SWnd check;
    parent.check = &check;
    ASSERT_TRUE(Create(check, STYPE_CHECK, "BUTTON", BS_CHECKBOX, MakeRect(5, 5, 80, 30)));
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(BST_CHECKED, parent.stateWhenReported);
    check.SendMessage(BM_CLICK);
    EXPECT_EQ(BST_UNCHECKED, parent.stateWhenReported);
    EXPECT_EQ(2, parent.Count(SWM_CHECK_CLICKED));
}

TEST_F(SWndNotifyTest, EditChangeIsReportedOnlyWhileTheEditHasTheFocus)
{
    SWnd edit;
    ASSERT_TRUE(Create(edit, STYPE_EDIT, "EDIT", ES_AUTOHSCROLL, MakeRect(5, 5, 200, 30)));
    edit.SetWindowText("set by the program");
    EXPECT_EQ(0, parent.Count(SWM_EDIT_CHANGE));
    edit.SetFocus();
    ASSERT_TRUE(edit.HasFocus());
    edit.SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("typed"));
    ASSERT_EQ(1, parent.Count(SWM_EDIT_CHANGE));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&edit), parent.Last(SWM_EDIT_CHANGE).wParam);
}

TEST_F(SWndNotifyTest, ComboSelectionChangeIsReported)
{
    SWnd combo;
    ASSERT_TRUE(Create(combo, STYPE_COMBO, "COMBOBOX", CBS_DROPDOWNLIST, MakeRect(5, 5, 200, 100)));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo.GetHandle()));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, CBN_DROPDOWN),
                       reinterpret_cast<LPARAM>(combo.GetHandle()));
    EXPECT_EQ(1, parent.Count(SWM_COMBO_SELCHANGE));
}

TEST_F(SWndNotifyTest, NativeChildOrUnknownTypeIsPassedOnUntouched)
{
    HWND native = CreateWindowExA(0, "BUTTON", "", WS_CHILD, 0, 0, 10, 10, parent.GetHandle(),
                                  nullptr, nullptr, nullptr);
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(1, BN_CLICKED), reinterpret_cast<LPARAM>(native));
    DestroyWindow(native);
    SWnd radio;
    ASSERT_TRUE(Create(radio, STYPE_RADIO, "BUTTON", BS_RADIOBUTTON, MakeRect(5, 5, 80, 30)));
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED),
                       reinterpret_cast<LPARAM>(radio.GetHandle()));
    EXPECT_EQ(0, parent.Count(SWM_BUTTON_CLICKED));
    EXPECT_EQ(0, parent.Count(SWM_RADIO_CLICKED));
    EXPECT_EQ(2, parent.Count(WM_COMMAND));
}

TEST_F(SWndNotifyTest, ControlClassCanRegisterItsOwnTranslation)
{
    SWnd radio;
    ASSERT_TRUE(Create(radio, STYPE_RADIO, "BUTTON", BS_RADIOBUTTON, MakeRect(5, 5, 80, 30)));
    SControlNotify::Register(STYPE_RADIO, CountingTranslator, nullptr);
    g_translated = 0;
    parent.SendMessage(WM_COMMAND, MAKEWPARAM(100, BN_DOUBLECLICKED),
                       reinterpret_cast<LPARAM>(radio.GetHandle()));
    SControlNotify::Register(STYPE_RADIO, nullptr, nullptr);
    EXPECT_EQ(1, g_translated);
    EXPECT_EQ(BN_DOUBLECLICKED, g_lastCode);
    // The built-in ones stay.
    EXPECT_NE(nullptr, SControlNotify::GetCommandTranslator(STYPE_BUTTON));
    EXPECT_EQ(nullptr, SControlNotify::GetCommandTranslator(99));
}

TEST_F(SWndNotifyTest, ControlBarAutoSizeIsReported)
{
    SWnd bar;
    bar.SetTypeId(STYPE_CONTROLBAR);
    RECT r = MakeRect(0, 0, 500, 30);
    ASSERT_TRUE(bar.CreateChild("", WS_VISIBLE, 0, &r, parent.GetHandle()));
    NMHDR header = {};
    Notify(bar, header, RBN_AUTOSIZE);
    ASSERT_EQ(1, parent.Count(SWM_CONTROLBAR_AUTOSIZE));
    EXPECT_EQ(reinterpret_cast<WPARAM>(&bar), parent.Last(SWM_CONTROLBAR_AUTOSIZE).wParam);
}

TEST_F(SWndNotifyTest, ControlColourIsAskedOfTheChild)
{
    ColouredWnd label;
    RECT r = MakeRect(0, 0, 50, 20);
    ASSERT_TRUE(label.CreateChild("", WS_VISIBLE, 0, &r, parent.GetHandle()));
    SGdiObjectGuard<HBRUSH> brush(CreateSolidBrush(RGB(1, 2, 3)));
    label.brush = brush.Get();
    HDC dc = reinterpret_cast<HDC>(0x1234);
    const LRESULT answer = parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                              reinterpret_cast<LPARAM>(label.GetHandle()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(brush.Get()), answer);
    EXPECT_EQ(dc, label.seen);
    EXPECT_EQ(0, parent.Count(WM_CTLCOLORSTATIC));
    // Without a brush of its own the parent's handler answers.
    label.brush = nullptr;
    parent.SendMessage(WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(label.GetHandle()));
    EXPECT_EQ(1, parent.Count(WM_CTLCOLORSTATIC));
}

// --- List view ---------------------------------------------------------------

namespace
{
class SWndListViewNotifyTest : public SWndNotifyTest
{
protected:
    void SetUp() override
    {
        SWndNotifyTest::SetUp();
        ASSERT_TRUE(Create(list, STYPE_EXLIST, WC_LISTVIEWA, LVS_REPORT | LVS_EDITLABELS,
                           MakeRect(10, 10, 410, 310)));
        LVCOLUMNA column = {};
        column.mask = LVCF_WIDTH;
        column.cx = 200;
        list.SendMessage(LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
        for (int i = 0; i < 2; i++)
        {
            LVITEMA item = {};
            item.mask = LVIF_TEXT;
            item.iItem = i;
            item.pszText = const_cast<char*>(i ? "second" : "first");
            list.SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
        parent.Forget();
        parent.mouse.clear();
    }

    // Puts the cursor on an item, or below the items, and returns the point in the list.
    POINT PlaceCursor(int index)
    {
        RECT item = {};
        item.left = LVIR_BOUNDS;
        list.SendMessage(LVM_GETITEMRECT, index < 0 ? 1 : index, reinterpret_cast<LPARAM>(&item));
        POINT point = {(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        if (index < 0)
            point.y += 100;
        POINT screen = point;
        list.ClientToScreen(&screen);
        SetCursorPos(screen.x, screen.y);
        return point;
    }

    LRESULT NotifyItem(UINT code, int item, UINT mask = 0)
    {
        NMLVDISPINFOA info = {};
        info.item.iItem = item;
        info.item.mask = mask;
        return Notify(list, info.hdr, code);
    }

    SWnd list;
};
} // namespace

TEST_F(SWndListViewNotifyTest, ClicksReportTheCursorInTheList)
{
    const POINT point = PlaceCursor(1);
    NMHDR header = {};
    Notify(list, header, NM_CLICK);
    Notify(list, header, NM_RCLICK);
    Notify(list, header, NM_RDBLCLK);
    ASSERT_EQ(3u, parent.mouse.size());
    EXPECT_EQ(33, parent.mouse[0].code);
    EXPECT_EQ(point.x, parent.mouse[0].x);
    EXPECT_EQ(point.y, parent.mouse[0].y);
    EXPECT_EQ(36, parent.mouse[1].code);
    EXPECT_EQ(68, parent.mouse[2].code);
    EXPECT_EQ(reinterpret_cast<WPARAM>(&list), parent.Last(SWM_EXLIST_MOUSE).wParam);
}

TEST_F(SWndListViewNotifyTest, DoubleClickOnAnItemReportsTheItem)
{
    PlaceCursor(1);
    NMHDR header = {};
    Notify(list, header, NM_DBLCLK);
    ASSERT_EQ(1u, parent.mouse.size());
    EXPECT_EQ(65, parent.mouse[0].code);
    ASSERT_EQ(1, parent.Count(SWM_EXLIST_DBLCLK));
    EXPECT_EQ(1, parent.Last(SWM_EXLIST_DBLCLK).lParam);
    PlaceCursor(-1);
    Notify(list, header, NM_DBLCLK);
    EXPECT_EQ(2u, parent.mouse.size());
    EXPECT_EQ(1, parent.Count(SWM_EXLIST_DBLCLK));
}

TEST_F(SWndListViewNotifyTest, ColumnClickAndKeyAreReported)
{
    NMLISTVIEW column = {};
    column.iSubItem = 2;
    Notify(list, column.hdr, LVN_COLUMNCLICK);
    EXPECT_EQ(2, parent.Last(SWM_EXLIST_COLUMNCLICK).lParam);
    NMLVKEYDOWN key = {};
    key.wVKey = VK_F2;
    Notify(list, key.hdr, LVN_KEYDOWN);
    EXPECT_EQ(VK_F2, parent.Last(SWM_EXLIST_KEYDOWN).lParam);
}

TEST_F(SWndListViewNotifyTest, FocusedButUnselectedItemIsReportedAsNoItem)
{
    LVITEMA state = {};
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    list.SendMessage(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(0, parent.Last(SWM_EXLIST_ITEMCHANGED).lParam);
    // The real notice of the change: focused, no longer selected.
    parent.Forget();
    state.state = LVIS_FOCUSED;
    list.SendMessage(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
    EXPECT_EQ(-1, parent.Last(SWM_EXLIST_ITEMCHANGED).lParam);
    EXPECT_EQ(0, list.SendMessage(LVM_GETITEMSTATE, 0, LVIS_FOCUSED));
    NMLISTVIEW none = {};
    none.iItem = -1;
    Notify(list, none.hdr, LVN_ITEMCHANGED);
    EXPECT_EQ(-1, parent.Last(SWM_EXLIST_ITEMCHANGED).lParam);
}

TEST_F(SWndListViewNotifyTest, LabelEditsAskTheParent)
{
    EXPECT_EQ(0, NotifyItem(LVN_BEGINLABELEDITA, 1));
    EXPECT_EQ(1, parent.Last(SWM_EXLIST_BEGINEDIT).lParam);
    parent.answers[SWM_EXLIST_BEGINEDIT] = 1;
    EXPECT_EQ(1, NotifyItem(LVN_BEGINLABELEDITA, 1));

    EXPECT_EQ(1, NotifyItem(LVN_ENDLABELEDITA, 0, LVIF_TEXT));
    ASSERT_EQ(1, parent.Count(SWM_EXLIST_ENDEDIT));
    parent.answers[SWM_EXLIST_ENDEDIT] = 1;
    EXPECT_EQ(0, NotifyItem(LVN_ENDLABELEDITA, 0, LVIF_TEXT));
    // A cancelled edit carries no text and is not asked about.
    NotifyItem(LVN_ENDLABELEDITA, 0, 0);
    EXPECT_EQ(2, parent.Count(SWM_EXLIST_ENDEDIT));
}
