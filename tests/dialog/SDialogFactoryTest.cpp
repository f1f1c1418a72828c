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

SString GridWord(SWnd* control)
{
    SPropertyCtrl* grid = As<SPropertyCtrl>(control);
    const int group = grid->AddGroup("g", "Group");
    grid->SetItem(group, "b", "Bool", SPropertyCtrl::KIND_BOOL, "1");
    return grid->GetDisplayText(grid->FindItem(group, "b"));
}

// Offers one object for every type, and says when it is destroyed.
class OfferingDialog : public SWndDialog
{
public:
    struct Offered : public SButtonCtrl
    {
        explicit Offered(int* destroyed) : destroyed(destroyed) {}
        ~Offered() override { ++*destroyed; }
        int* destroyed;
    };
    SWnd* CreateCustomControl(int type) override
    {
        asked.push_back(type);
        return new Offered(&destroyed);
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
        std::function<void(SWnd*)> check;
    };
    const Case cases[] = {
        {1, "BROWSER_DIALOGS=1\r\nBROWSER_FILE=missing.htm\r\nBROWSER_URL=http://example.org/\r\n",
         [&](SWnd*) {
             EXPECT_EQ(VARIANT_TRUE, browser->silent);
             EXPECT_EQ(L"http://example.org/", browser->url);
         }},
        {2, "BACKCOLOR=#FE00000F\r\n", [](SWnd* c) {
             EXPECT_EQ(GetSysColor(15), c->GetBackgroundColor());
             EXPECT_STREQ("Caption", c->GetWindowText().GetText());
         }},
        {3, "CHECK_CHECKED=7\r\n", [](SWnd* c) { EXPECT_EQ(BST_CHECKED, As<SCheckCtrl>(c)->GetCheck()); }},
        {4, "CODEEDITOR_TABSIZE=1\r\nCODEEDITOR_FILE=code.txt\r\n", [](SWnd* c) {
             EXPECT_EQ(2, As<SCodeEditCtrl>(c)->GetTabSize());
             EXPECT_EQ(2, As<SCodeEditCtrl>(c)->GetLineCount());
         }},
        {4, "CODEEDITOR_BARWIDTH=30\r\n", [](SWnd* c) {
             EXPECT_TRUE(As<SCodeEditCtrl>(c)->IsOpen());
             EXPECT_EQ(1, As<SCodeEditCtrl>(c)->GetLineCount());
         }},
        {5, "COMBO_FILE=combo.txt\r\nCOMBO_CONTENT=A | B\r\n", [](SWnd* c) {
             EXPECT_EQ(4, c->SendMessage(CB_GETCOUNT));
             char text[8] = "";
             c->SendMessage(CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(text));
             EXPECT_STREQ("A", text);
         }},
        {6, "TEXTCOLOR=#004080\r\nEDIT_TEXT=text.txt\r\n", [](SWnd* c) {
             EXPECT_EQ(0xFF004080u, As<SEditCtrl>(c)->GetTextColor());
             EXPECT_STREQ("From the resources", c->GetWindowText().GetText());
             EXPECT_FALSE(c->GetStyle() & ES_MULTILINE);
         }},
        {7, "EXLIST_GRIDLINES=1\r\nEXLIST_FULLROWSELECT=1\r\n",
         [](SWnd* c) { EXPECT_EQ(0x21, c->SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE) & 0x21); }},
        {8, "", [](SWnd* c) { EXPECT_STREQ("Caption", As<SGroupCtrl>(c)->GetWindowText().GetText()); }},
        {9, "", [](SWnd* c) { EXPECT_EQ(0, As<SGuiCtrl>(c)->GetBarCount()); }},
        {10, "IMAGEEDITOR_FILE=picture.png\r\n", [](SWnd* c) { EXPECT_EQ(2, As<SPaintCtrl>(c)->GetPictureWidth()); }},
        {11, "TEXTCOLOR=#FE000008\r\nLABEL_ALIGN=_RIGHT\r\nLABEL_VALIGN=_BOTTOM\r\nLABEL_IMAGEDRAWMODE=_DRAWTILE\r\n",
         [](SWnd* c) {
             EXPECT_EQ(GetSysColor(8), As<SLabelCtrl>(c)->GetTextColor());
             EXPECT_EQ(2, As<SLabelCtrl>(c)->GetHorizontalAlignment());
             EXPECT_EQ(32, As<SLabelCtrl>(c)->GetVerticalAlignment());
             EXPECT_EQ(10, c->GetBackgroundImage().GetDrawMode());
         }},
        {12, "LCD_CHARCOUNT=0\r\nLCD_PIXELWIDTH=3\r\nLCD_PIXELHEIGHT=2\r\nLCD_LINECOUNT=2\r\nLCD_CELLCOLOR=255\r\n",
         [](SWnd* c) {
             SLcdCtrl* lcd = As<SLcdCtrl>(c);
             EXPECT_EQ(1, lcd->GetCharCount());
             EXPECT_EQ(3, lcd->GetDotWidth());
             EXPECT_EQ(2, lcd->GetDotHeight());
             EXPECT_EQ(2, lcd->GetLineCount());
             EXPECT_EQ(255u, lcd->GetCellColor());
         }},
        {13, "LEVEL_HORIZONTAL=1\r\nLEVEL_CHANNELCOUNT=2\r\nLEVEL_MAXVALUE=100\r\nLEVEL_VALUE=40\r\n",
         [](SWnd* c) {
             SLevelCtrl* level = As<SLevelCtrl>(c);
             EXPECT_FALSE(level->IsVertical());
             EXPECT_EQ(2, level->GetChannelCount());
             EXPECT_EQ(100, level->GetMaximum());
             EXPECT_EQ(40, level->GetValue(1));
         }},
        {13, "LEVEL_HORIZONTAL=0\r\n", [](SWnd* c) { EXPECT_TRUE(As<SLevelCtrl>(c)->IsVertical()); }},
        {13, "", [](SWnd* c) { EXPECT_TRUE(As<SLevelCtrl>(c)->IsVertical()); }},
        {14, "LIST_CONTENT=a | b | c\r\nLIST_SELBACKCOLOR=255\r\nTEXTCOLOR=#004080\r\n", [](SWnd* c) {
             EXPECT_EQ(3, As<SListCtrl>(c)->GetCount());
             EXPECT_EQ(255u, As<SListCtrl>(c)->GetSelectionBackgroundColor());
             EXPECT_EQ(0x804000u, As<SListCtrl>(c)->GetTextColor());
         }},
        {15, "MEDIA_ALIGN=_CENTER\r\nMEDIA_TAGS=1\r\nMEDIA_AUTOSCROLLX=30\r\n", [](SWnd* c) {
             EXPECT_EQ(1, As<SMediaCtrl>(c)->GetHorizontalAlignment());
             EXPECT_TRUE(As<SMediaCtrl>(c)->GetTags());
             EXPECT_TRUE(As<SMediaCtrl>(c)->IsAutoScrolling());
         }},
        {16, "MEDIAPLAYER_BUTTON=1\r\nMEDIAPLAYER_MENU=1\r\nMEDIAPLAYER_LOOP=1\r\n", [&](SWnd* c) {
             EXPECT_EQ(L"full", player->uiMode);
             EXPECT_EQ(VARIANT_TRUE, player->contextMenu);
             EXPECT_TRUE(As<SMediaPlayerCtrl>(c)->GetLoop());
         }},
        {17, "", [](SWnd* c) { EXPECT_EQ(STYPE_PANEL, As<SPanelCtrl>(c)->GetType()); }},
        {18, "PROGRESS_MINVALUE=5\r\nPROGRESS_MAXVALUE=50\r\nPROGRESS_VALUE=20\r\n", [](SWnd* c) {
             EXPECT_EQ(5, As<SProgressCtrl>(c)->GetMin());
             EXPECT_EQ(50, As<SProgressCtrl>(c)->GetMax());
             EXPECT_EQ(20, As<SProgressCtrl>(c)->GetPos());
         }},
        {19, "FRENCH=1\r\n", [](SWnd* c) { EXPECT_STREQ("Vrai", GridWord(c).GetText()); }},
        {19, "", [](SWnd* c) { EXPECT_STREQ("True", GridWord(c).GetText()); }},
        {20, "RADIO_GROUP=3\r\nRADIO_CHECKED=1\r\n", [](SWnd* c) {
             EXPECT_EQ(3, As<SRadioCtrl>(c)->GetGroup());
             EXPECT_EQ(BST_CHECKED, c->ButtonGetCheck());
         }},
        {21, "RICHEDIT_FILE=text.txt\r\n",
         [](SWnd* c) { EXPECT_STREQ("From the resources", As<SRichEditCtrl>(c)->GetWindowText().GetText()); }},
        {22, "SCROLL_MINVALUE=0\r\nSCROLL_MAXVALUE=10\r\nSCROLL_VALUE=4\r\n", [](SWnd* c) {
             EXPECT_EQ(10, As<SScrollCtrl>(c)->GetMax());
             EXPECT_EQ(4, As<SScrollCtrl>(c)->GetPos());
         }},
        {23, "SLIDER_MINVALUE=2\r\nSLIDER_MAXVALUE=8\r\nSLIDER_VALUE=6\r\n", [](SWnd* c) {
             EXPECT_EQ(2, As<SSliderCtrl>(c)->GetMin());
             EXPECT_EQ(6, As<SSliderCtrl>(c)->GetPos());
             EXPECT_TRUE(c->GetStyle() & TBS_DOWNISLEFT);
         }},
        {24, "SOUNDEDITOR_FILE=sound.wav\r\nSOUNDEDITOR_POPUPMENU=1\r\n", [](SWnd* c) {
             EXPECT_TRUE(As<SWaveCtrl>(c)->IsPopupMenu());
             EXPECT_EQ(2, As<SWaveCtrl>(c)->GetSound().GetChannelCount());
         }},
        {25, "SPLITTER_COLCOUNT=2\r\nSPLITTER_ROWCOUNT=3\r\nSPLITTER_WINDOWBACKCOLOR=255\r\n", [](SWnd* c) {
             EXPECT_EQ(2, As<SSplitterCtrl>(c)->GetColumnCount());
             EXPECT_EQ(3, As<SSplitterCtrl>(c)->GetRowCount());
             EXPECT_EQ(255u, As<SSplitterCtrl>(c)->GetBarColor());
         }},
        {26, "STATIC_EDGE=_EDGEETCHED\r\nSTATIC_LEFTBORDER=1\r\nSTATIC_BOTTOMBORDER=1\r\n", [](SWnd* c) {
             EXPECT_EQ(6, As<SStaticCtrl>(c)->GetEdge());
             EXPECT_EQ(9, As<SStaticCtrl>(c)->GetBorders());
         }},
        {27, "TAB_CONTENT=One | Two | Three\r\nTAB_SELECTION=1\r\n", [](SWnd* c) {
             EXPECT_EQ(3, As<STabCtrl>(c)->GetItemCount());
             EXPECT_EQ(1, As<STabCtrl>(c)->GetCurSel());
         }},
        {28, "TABDOC_CONTENT=One | Two\r\nTABDOC_SELECTION=0\r\nTABDOC_MOVE=1\r\n", [](SWnd* c) {
             EXPECT_EQ(2, As<STabDocCtrl>(c)->GetItemCount());
             EXPECT_EQ(0, As<STabDocCtrl>(c)->GetSelection());
             EXPECT_TRUE(As<STabDocCtrl>(c)->IsMovable());
         }},
        {29, "TOOLBAR_TRANSPARENT=1\r\nTOOLBAR_CONTENT=A |  | B\r\n", [](SWnd* c) {
             EXPECT_TRUE(As<SToolBarCtrl>(c)->IsTransparent());
             EXPECT_EQ(3, As<SToolBarCtrl>(c)->GetButtonCount());
             TBBUTTON button = {};
             c->SendMessage(TB_GETBUTTON, 2, reinterpret_cast<LPARAM>(&button));
             EXPECT_EQ(1, button.idCommand);
             EXPECT_TRUE(c->GetStyle() & CCS_NORESIZE);
         }},
        {30, "TREE_FILE=tree.txt\r\n", [](SWnd* c) {
             STreeCtrl* tree = As<STreeCtrl>(c);
             HTREEITEM root = tree->GetChild(TVI_ROOT);
             EXPECT_STREQ("Root", tree->GetItemText(root).GetText());
             EXPECT_STREQ("Child", tree->GetItemText(tree->GetChild(root)).GetText());
             EXPECT_EQ(nullptr, tree->GetNextSibling(root));
         }},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "type " << c.type << ": " << c.keys);
        std::unique_ptr<SWnd> control = Make(c.type, c.keys);
        ASSERT_NE(nullptr, control);
        EXPECT_TRUE(control->IsVisible());
        EXPECT_EQ(-5, control->GetControlId());
        EXPECT_STREQ("ELEMENT", control->GetName().GetText());
        c.check(control.get());
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
    std::unique_ptr<SWnd> tab = Make(27, "TAB_CONTENT=A | B\r\nTAB_TIPCONTENT=a | b\r\n", false);
    EXPECT_EQ(2, As<STabCtrl>(tab.get())->GetItemCount());
    std::unique_ptr<SWnd> gui = Make(9, "", false);
    EXPECT_EQ(4, As<SGuiCtrl>(gui.get())->GetBarCount());
}

TEST_F(SDialogFactoryTest, CustomControlsAreUsedOrDestroyed)
{
    OfferingDialog dialog;
    std::unique_ptr<SWnd> button = Make(2, "", true, &dialog);
    EXPECT_NE(nullptr, dynamic_cast<OfferingDialog::Offered*>(button.get()));
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
