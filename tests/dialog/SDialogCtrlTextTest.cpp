#include <gtest/gtest.h>
#include <string>
#include "DialogTestSupport.h"

namespace
{
std::string shownText, shownTitle;
UINT shownStyle = 0;

int RecordError(HWND, const char* text, const char* title, UINT style)
{
    shownText = text;
    shownTitle = title;
    shownStyle = style;
    return IDOK;
}
} // namespace

TEST(SDialogCtrlText, TablesHoldTheirLinesInOrderAndSwitchWhole)
{
    TestDesigner designer;
    const SLanguageTable& table = designer.GetLanguageTable();
    ASSERT_EQ(333, table.GetCount());
    EXPECT_STREQ("@CUT=Cut", table.GetAt(0).GetText());
    EXPECT_STREQ("_EDGESUNKENOUTER=Sunken Outer", table.GetAt(332).GetText());
    const SString english = table.Join("\n");

    designer.SetLanguage(false);
    ASSERT_EQ(331, table.GetCount());
    EXPECT_STREQ("@CUT=Couper", table.GetAt(0).GetText());
    EXPECT_STREQ("", designer.GetText("RESOURCE").GetText());
    EXPECT_STREQ("", designer.GetText("CODEEDITOR_BARCOLOR").GetText());
    EXPECT_STREQ("Ce nom existe d\xE9j\xE0.", designer.GetText("?NAMEEXIST").GetText());
    EXPECT_STREQ("Taille", designer.GetText("_AUTOHEIGHT").GetText());
    EXPECT_STREQ("Bump", designer.GetText("_EDGEBUMP").GetText());

    designer.SetLanguage(true);
    ASSERT_EQ(333, table.GetCount());
    EXPECT_STREQ(english.GetText(), table.Join("\n").GetText());
}

TEST(SDialogCtrlText, LookupsMatchTheWholeKeyWithCase)
{
    TestDesigner designer;
    const struct
    {
        const char* key;
        const char* text;
    } cases[] = {
        {"@CUT", "Cut"},
        {"cut", ""},
        {"CUT", ""},
        {"RESOURCE", "Resource"},
        {"CODEEDITOR_BARCOLOR", "Bar"},
        {"?NAMEEXIST", "This name already exists."},
        {"DIALOG_NOCLOSE", "Disable Close"},
        {"MEDIA_AUTOSCROLLX", "Horz. Scroll Speed"},
        {"_AUTOCENTERHALF", "Half Center"},
        {"I", ""},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(c.text, designer.GetText(c.key).GetText()) << c.key;
    EXPECT_STREQ("_AUTOLEFT|Left", designer.MakeChoice("_AUTOLEFT").GetText());
}

TEST(SDialogCtrlText, ErrorsGoThroughTheReplaceableFunction)
{
    TestDesigner designer;
    SDialogCtrl::SetErrorFunction(RecordError);
    designer.ShowError("?NAMEEXIST");
    SDialogCtrl::SetErrorFunction(nullptr);
    EXPECT_EQ("This name already exists.", shownText);
    EXPECT_EQ("Error", shownTitle);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), shownStyle & MB_ICONMASK);
}

TEST(SDialogCtrlText, LanguageReachesTheAttachedPane)
{
    TestDesigner designer;
    SDialogCtrl::_SPropertyCtrl pane;
    pane.AddGroup("G", "Group");
    pane.SetItem(0, "B", "Bool", SPropertyCtrl::KIND_BOOL, "1");
    designer.SetLanguage(false);
    EXPECT_STREQ("True", pane.GetDisplayText(pane.FindItem(0, "B")).GetText());
    designer.SetPropertyPane(&pane);
    designer.SetLanguage(false);
    EXPECT_STREQ("Vrai", pane.GetDisplayText(pane.FindItem(0, "B")).GetText());
    designer.SetLanguage(true);
    EXPECT_STREQ("True", pane.GetDisplayText(pane.FindItem(0, "B")).GetText());
    designer.SetPropertyPane(nullptr);
}
