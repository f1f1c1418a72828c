#include <gtest/gtest.h>
#include <functional>
#include <memory>
#include <string>
#include "DialogBuildSupport.h"
#include "FakeBrowser.h"
#include "FakeMediaPlayer.h"
#include "SBrowserCtrl.h"
#include "SButtonCtrl.h"
#include "SCheckCtrl.h"
#include "SCodeEditCtrl.h"
#include "SComboCtrl.h"
#include "SEditCtrl.h"
#include "SExListCtrl.h"
#include "SGroupCtrl.h"
#include "SGuiCtrl.h"
#include "SLabelCtrl.h"
#include "SLcdCtrl.h"
#include "SLevelCtrl.h"
#include "SListCtrl.h"
#include "SMediaCtrl.h"
#include "SMediaPlayerCtrl.h"
#include "SPaintCtrl.h"
#include "SPanelCtrl.h"
#include "SProgressCtrl.h"
#include "SPropertyCtrl.h"
#include "SRadioCtrl.h"
#include "SRichEditCtrl.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SSplitterCtrl.h"
#include "SStaticCtrl.h"
#include "STabCtrl.h"
#include "STabDocCtrl.h"
#include "SToolBarCtrl.h"
#include "STreeCtrl.h"
#include "SWaveCtrl.h"

namespace
{
template <class T>
T* As(SWnd* control)
{
    T* typed = dynamic_cast<T*>(control);
    EXPECT_NE(nullptr, typed);
    return typed;
}

std::string Join(std::initializer_list<long long> values)
{
    std::string text;
    for (long long value : values)
        text += (text.empty() ? "" : " ") + std::to_string(value);
    return text;
}

// The word the grid shows for true.
std::string GridWord(SWnd* control)
{
    SPropertyCtrl* grid = As<SPropertyCtrl>(control);
    const int group = grid->AddGroup("g", "Group");
    grid->SetItem(group, "b", "Bool", SPropertyCtrl::KIND_BOOL, "1");
    return grid->GetDisplayText(grid->FindItem(group, "b")).GetText();
}

// Offers one object for every type, and says when it is destroyed.
class OfferingDialog : public SWndDialog
{
public:
    SWnd* CreateCustomControl(int type) override
    {
        asked.push_back(type);
        return new CountedButton(&destroyed);
    }
    std::vector<int> asked;
    int destroyed = 0;
};

class SDialogFactoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        browser = new FakeBrowser;
        player = new FakeMediaPlayer;
        browserClass.reset(new FakeClassRegistration(CLSID_WebBrowser, static_cast<IWebBrowser2*>(browser)));
        playerClass.reset(new FakeClassRegistration(CLSID_WindowsMediaPlayer, static_cast<IWMPPlayer4*>(player)));
        RECT r = {0, 0, 640, 480};
        ASSERT_TRUE(parent.Create("factory", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
        FillResources(resources, {{"combo.txt", "X\r\n\r\nY\r\n"},
                                  {"text.txt", "From the resources"},
                                  {"code.txt", "first\r\nsecond"},
                                  {"tree.txt", "Root\r\n\tChild\r\n.\r\nIgnored\r\n"},
                                  {"sound.wav", StereoWave()},
                                  {"picture.png", SmallPicture()}});
    }
    void TearDown() override
    {
        parent.DestroyWindow();
        browserClass.reset();
        playerClass.reset();
        browser->Release();
        player->Release();
    }

    std::unique_ptr<SWnd> Make(int type, const char* keys, bool live = true, SWndDialog* dialog = nullptr)
    {
        TestRecord record(type, keys);
        return std::unique_ptr<SWnd>(SDialogCtrl::CreateControl(dialog, parent.GetHandle(), &record, &resources, live));
    }

    FakeBrowser* browser = nullptr;
    FakeMediaPlayer* player = nullptr;
    std::unique_ptr<FakeClassRegistration> browserClass, playerClass;
    SWnd parent;
    SResource resources;
};
} // namespace

TEST_F(SDialogFactoryTest, EveryTypeAppliesItsKeys)
{
    struct Case
    {
        int type;
        const char* keys;
        std::function<std::string(SWnd*)> read;  // the values the keys set, joined
        const char* expected;
    };
    const Case cases[] = {
        {1, "BROWSER_DIALOGS=1\r\nBROWSER_FILE=missing.htm\r\nBROWSER_URL=http://example.org/\r\n",
         [&](SWnd*) { return Join({browser->silent, browser->url == L"http://example.org/"}); }, "-1 1"},
        {2, "BACKCOLOR=#FE00000F\r\n", [](SWnd* c) { return Join({c->GetBackgroundColor() == GetSysColor(15)}); }, "1"},
        {3, "CHECK_CHECKED=7\r\n", [](SWnd* c) { return Join({As<SCheckCtrl>(c)->GetCheck()}); }, "1"},
        {4, "CODEEDITOR_TABSIZE=1\r\nCODEEDITOR_FILE=code.txt\r\n",
         [](SWnd* c) { return Join({As<SCodeEditCtrl>(c)->GetTabSize(), As<SCodeEditCtrl>(c)->GetLineCount()}); }, "2 2"},
        {4, "", [](SWnd* c) { return Join({As<SCodeEditCtrl>(c)->IsOpen(), As<SCodeEditCtrl>(c)->GetLineCount()}); }, "1 1"},
        {5, "COMBO_FILE=combo.txt\r\nCOMBO_CONTENT=A | B\r\n", [](SWnd* c) {
             char third[8] = "";
             c->SendMessage(CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(third));
             return Join({c->SendMessage(CB_GETCOUNT), third[0]});
         }, "4 65"},
        {6, "TEXTCOLOR=#004080\r\nEDIT_TEXT=text.txt\r\n", [](SWnd* c) {
             return Join({As<SEditCtrl>(c)->GetTextColor(), c->GetWindowText() == "From the resources",
                          (c->GetStyle() & ES_MULTILINE) != 0});
         }, "4278206592 1 0"},
        {7, "EXLIST_GRIDLINES=1\r\nEXLIST_FULLROWSELECT=1\r\n",
         [](SWnd* c) { return Join({As<SExListCtrl>(c)->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & 0x21}); }, "33"},
        {8, "", [](SWnd* c) { return Join({As<SGroupCtrl>(c)->GetWindowText() == "Caption"}); }, "1"},
        {9, "", [](SWnd* c) { return Join({As<SGuiCtrl>(c)->GetBarCount()}); }, "0"},
        {10, "IMAGEEDITOR_FILE=picture.png\r\n", [](SWnd* c) { return Join({As<SPaintCtrl>(c)->GetPictureWidth()}); }, "2"},
        {11, "TEXTCOLOR=#FE000008\r\nLABEL_ALIGN=_RIGHT\r\nLABEL_VALIGN=_BOTTOM\r\nLABEL_IMAGEDRAWMODE=_DRAWTILE\r\n",
         [](SWnd* c) {
             SLabelCtrl* label = As<SLabelCtrl>(c);
             return Join({label->GetTextColor() == GetSysColor(8), label->GetHorizontalAlignment(),
                          label->GetVerticalAlignment(), c->GetBackgroundImage().GetDrawMode()});
         }, "1 2 32 10"},
        {12, "LCD_CHARCOUNT=0\r\nLCD_PIXELWIDTH=3\r\nLCD_PIXELHEIGHT=2\r\nLCD_LINECOUNT=2\r\nLCD_CELLCOLOR=255\r\n",
         [](SWnd* c) {
             SLcdCtrl* lcd = As<SLcdCtrl>(c);
             return Join({lcd->GetCharCount(), lcd->GetDotWidth(), lcd->GetDotHeight(), lcd->GetLineCount(),
                          lcd->GetCellColor()});
         }, "1 3 2 2 255"},
        {13, "LEVEL_HORIZONTAL=1\r\nLEVEL_CHANNELCOUNT=2\r\nLEVEL_MAXVALUE=100\r\nLEVEL_VALUE=40\r\n", [](SWnd* c) {
             SLevelCtrl* level = As<SLevelCtrl>(c);
             return Join({level->IsVertical(), level->GetChannelCount(), level->GetMaximum(), level->GetValue(1)});
         }, "0 2 100 40"},
        {13, "LEVEL_HORIZONTAL=0\r\n", [](SWnd* c) { return Join({As<SLevelCtrl>(c)->IsVertical()}); }, "1"},
        {13, "", [](SWnd* c) { return Join({As<SLevelCtrl>(c)->IsVertical()}); }, "1"},
        {14, "LIST_CONTENT=a | b | c\r\nLIST_SELBACKCOLOR=255\r\nTEXTCOLOR=#004080\r\n", [](SWnd* c) {
             SListCtrl* list = As<SListCtrl>(c);
             return Join({list->GetCount(), list->GetSelectionBackgroundColor(), list->GetTextColor()});
         }, "3 255 8404992"},
        {15, "MEDIA_ALIGN=_CENTER\r\nMEDIA_TAGS=1\r\nMEDIA_AUTOSCROLLX=30\r\n", [](SWnd* c) {
             SMediaCtrl* media = As<SMediaCtrl>(c);
             return Join({media->GetHorizontalAlignment(), media->GetTags(), media->IsAutoScrolling()});
         }, "1 1 1"},
        {16, "MEDIAPLAYER_BUTTON=1\r\nMEDIAPLAYER_MENU=1\r\nMEDIAPLAYER_LOOP=1\r\n", [&](SWnd* c) {
             return Join({player->uiMode == L"full", player->contextMenu, As<SMediaPlayerCtrl>(c)->GetLoop()});
         }, "1 -1 1"},
        {17, "", [](SWnd* c) { return Join({As<SPanelCtrl>(c)->GetType()}); }, "25"},
        {18, "PROGRESS_MINVALUE=5\r\nPROGRESS_MAXVALUE=50\r\nPROGRESS_VALUE=20\r\n", [](SWnd* c) {
             SProgressCtrl* progress = As<SProgressCtrl>(c);
             return Join({progress->GetMin(), progress->GetMax(), progress->GetPos()});
         }, "5 50 20"},
        {19, "FRENCH=1\r\n", GridWord, "Vrai"},
        {19, "", GridWord, "True"},
        {20, "RADIO_GROUP=3\r\nRADIO_CHECKED=1\r\n",
         [](SWnd* c) { return Join({As<SRadioCtrl>(c)->GetGroup(), c->ButtonGetCheck()}); }, "3 1"},
        {21, "RICHEDIT_FILE=text.txt\r\n",
         [](SWnd* c) { return Join({As<SRichEditCtrl>(c)->GetWindowText() == "From the resources"}); }, "1"},
        {22, "SCROLL_MAXVALUE=10\r\nSCROLL_VALUE=4\r\n",
         [](SWnd* c) { return Join({As<SScrollCtrl>(c)->GetMax(), As<SScrollCtrl>(c)->GetPos()}); }, "10 4"},
        {23, "SLIDER_MINVALUE=2\r\nSLIDER_MAXVALUE=8\r\nSLIDER_VALUE=6\r\n", [](SWnd* c) {
             return Join({As<SSliderCtrl>(c)->GetMin(), As<SSliderCtrl>(c)->GetPos(), (c->GetStyle() & TBS_DOWNISLEFT) != 0});
         }, "2 6 1"},
        {24, "SOUNDEDITOR_FILE=sound.wav\r\nSOUNDEDITOR_POPUPMENU=1\r\n", [](SWnd* c) {
             return Join({As<SWaveCtrl>(c)->IsPopupMenu(), As<SWaveCtrl>(c)->GetSound().GetChannelCount()});
         }, "1 2"},
        {25, "SPLITTER_COLCOUNT=2\r\nSPLITTER_ROWCOUNT=3\r\nSPLITTER_WINDOWBACKCOLOR=255\r\n", [](SWnd* c) {
             SSplitterCtrl* splitter = As<SSplitterCtrl>(c);
             return Join({splitter->GetColumnCount(), splitter->GetRowCount(), splitter->GetBarColor()});
         }, "2 3 255"},
        {26, "STATIC_EDGE=_EDGEETCHED\r\nSTATIC_LEFTBORDER=1\r\nSTATIC_BOTTOMBORDER=1\r\n",
         [](SWnd* c) { return Join({As<SStaticCtrl>(c)->GetEdge(), As<SStaticCtrl>(c)->GetBorders()}); }, "6 9"},
        {27, "TAB_CONTENT=One | Two | Three\r\nTAB_SELECTION=1\r\n",
         [](SWnd* c) { return Join({As<STabCtrl>(c)->GetItemCount(), As<STabCtrl>(c)->GetCurSel()}); }, "3 1"},
        {28, "TABDOC_CONTENT=One | Two\r\nTABDOC_SELECTION=0\r\nTABDOC_MOVE=1\r\n", [](SWnd* c) {
             STabDocCtrl* tabs = As<STabDocCtrl>(c);
             return Join({tabs->GetItemCount(), tabs->GetSelection(), tabs->IsMovable()});
         }, "2 0 1"},
        {29, "TOOLBAR_TRANSPARENT=1\r\nTOOLBAR_CONTENT=A |  | B\r\n", [](SWnd* c) {
             TBBUTTON third = {};
             c->SendMessage(TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&third));
             return Join({As<SToolBarCtrl>(c)->IsTransparent(), As<SToolBarCtrl>(c)->GetButtonCount(),
                          third.idCommand, (c->GetStyle() & CCS_NORESIZE) != 0});
         }, "1 3 1 1"},
        {30, "TREE_FILE=tree.txt\r\n", [](SWnd* c) {
             STreeCtrl* tree = As<STreeCtrl>(c);
             HTREEITEM root = tree->GetChild(TVI_ROOT);
             return std::string(tree->GetItemText(root).GetText()) + " " +
                    tree->GetItemText(tree->GetChild(root)).GetText() + " " + Join({tree->GetNextSibling(root) != nullptr});
         }, "Root Child 0"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ": " << c.keys);
        std::unique_ptr<SWnd> control = Make(c.type, c.keys);
        ASSERT_NE(nullptr, control);
        EXPECT_TRUE(control->IsVisible());
        EXPECT_EQ(-5, control->GetControlId());
        EXPECT_STREQ("ELEMENT", control->GetName().GetText());
        EXPECT_EQ(c.expected, c.read(control.get()));
    }
}

TEST_F(SDialogFactoryTest, DesignerImagesAreHiddenAndStill)
{
    std::unique_ptr<SWnd> edit = Make(6, "", false);
    ASSERT_NE(nullptr, edit);
    EXPECT_FALSE(edit->IsVisible());
    EXPECT_TRUE(edit->GetStyle() & ES_MULTILINE);
    std::unique_ptr<SWnd> media = Make(15, "MEDIA_AUTOSCROLLX=30\r\n", false);
    ASSERT_NE(nullptr, media);
    EXPECT_FALSE(As<SMediaCtrl>(media.get())->IsAutoScrolling());
    std::unique_ptr<SWnd> gui = Make(9, "", false);
    EXPECT_EQ(4, As<SGuiCtrl>(gui.get())->GetBarCount());
}

TEST_F(SDialogFactoryTest, CustomControlsAreUsedOrDestroyed)
{
    OfferingDialog dialog;
    std::unique_ptr<SWnd> button = Make(2, "", true, &dialog);
    EXPECT_NE(nullptr, dynamic_cast<CountedButton*>(button.get()));
    EXPECT_NE(nullptr, button->GetHandle());
    // Not of the type's class, or no control type at all: destroyed, nothing made.
    EXPECT_EQ(nullptr, Make(3, "", true, &dialog));
    EXPECT_EQ(nullptr, Make(0, "", true, &dialog));
    EXPECT_EQ(nullptr, Make(31, "", true, &dialog));
    EXPECT_EQ((std::vector<int>{2, 3, 0, 31}), dialog.asked);
    EXPECT_EQ(3, dialog.destroyed);
    TestRecord record(2, "");
    EXPECT_EQ(nullptr, SDialogCtrl::CreateControl(nullptr, nullptr, &record, nullptr, true));
    EXPECT_EQ(nullptr, SDialogCtrl::CreateControl(nullptr, parent.GetHandle(), nullptr, nullptr, true));
}
