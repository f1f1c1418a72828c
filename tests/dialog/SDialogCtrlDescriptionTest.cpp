#include <gtest/gtest.h>
#include <functional>
#include "DialogTestSupport.h"

namespace
{
typedef SDialogCtrl::_SCtrl Record;

// The header, a dialog section, then the given text.
std::string WithDialog(const std::string& rest)
{
    return "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\nNAME=D\r\n\r\n" + rest;
}

std::string Section(const Record& record, const SDialogCtrl& designer)
{
    SMemory stream;
    return record.Write(&stream, &designer) > 0 ? Bytes(stream) : "";
}
} // namespace

TEST(SDialogCtrlDescription, DemoReadsIntoItsRecordsAndWritesBackByteForByte)
{
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    EXPECT_TRUE(designer.IsOpen());
    const Record* dialog = designer.GetDialogDescription();
    ASSERT_NE(nullptr, dialog);
    EXPECT_STREQ("DEMO", dialog->GetName().GetText());
    EXPECT_STREQ("Demo dialog", dialog->GetCaption().GetText());
    EXPECT_EQ(300, dialog->GetWidth());
    EXPECT_EQ(90, dialog->GetHeight());
    EXPECT_EQ(0x10000000u | WS_CAPTION | WS_SYSMENU, dialog->GetStyle());
    EXPECT_STREQ("One | Two | Three", dialog->GetValue("DIALOG_STATUSBARTEXT").GetText());

    ASSERT_EQ(1, designer.GetElementCount());
    const Record* button = designer.GetElement(0);
    EXPECT_EQ(DTYPE_BUTTON, button->GetType());
    EXPECT_EQ(1, button->GetIdValue());
    EXPECT_STREQ("OK", button->GetName().GetText());
    EXPECT_STREQ("OK", button->GetCaption().GetText());
    EXPECT_STREQ("Tahoma", button->GetFontName().GetText());
    EXPECT_EQ(8, button->GetFontSize());
    EXPECT_EQ(1, button->GetFontStyle());
    EXPECT_EQ(0x804000u, button->GetTextColor());
    EXPECT_EQ(0xFF000000u, button->GetBackColor());
    EXPECT_TRUE(button->GetValueBool("TABENABLED"));
    EXPECT_EQ(1, button->GetValueInt("TABGROUP"));

    EXPECT_EQ(DemoText(), WriteText(designer));
}

TEST(SDialogCtrlDescription, ReaderToleratesWhatTheFormatAllowsAndRefusesTheTwoFaults)
{
    struct Case
    {
        const char* name;
        std::string text;
        bool ok;
        std::function<void(SDialogCtrl&)> check;
    };
    const auto button = [](SDialogCtrl& d) { return d.GetElement(0); };
    const Case cases[] = {
        {"round header", "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n(dialog)\r\nNAME=X\r\n", true,
         [](SDialogCtrl& d) { EXPECT_STREQ("X", d.GetDialogDescription()->GetName().GetText()); }},
        {"lower-case header", WithDialog("[tabdoc]\r\n"), true,
         [&](SDialogCtrl& d) { EXPECT_EQ(DTYPE_TABDOC, button(d)->GetType()); }},
        {"blank in the type ends reading", WithDialog("[GUI]\r\n\r\n[MEDIA PLAYER]\r\n\r\n[GUI]\r\n"), true,
         [](SDialogCtrl& d) { EXPECT_EQ(1, d.GetElementCount()); }},
        {"three-number position", WithDialog("[BUTTON]\r\nPOSITION=1 2 3\r\n"), true,
         [&](SDialogCtrl& d) { EXPECT_EQ(150, button(d)->GetHeight()); EXPECT_EQ(10, button(d)->GetX()); }},
        {"two-part font", WithDialog("[BUTTON]\r\nFONT=Tahoma, 8\r\n"), true,
         [&](SDialogCtrl& d) { EXPECT_STREQ("", button(d)->GetFontName().GetText()); }},
        {"font without blanks", WithDialog("[BUTTON]\r\nFONT=Tahoma,8,1\r\n"), true,
         [&](SDialogCtrl& d) {
             EXPECT_STREQ("Tahoma", button(d)->GetFontName().GetText());
             EXPECT_EQ(8, button(d)->GetFontSize());
             EXPECT_EQ(1, button(d)->GetFontStyle());
         }},
        {"unknown style name", WithDialog("[BUTTON]\r\nSTYLE=WS_VISIBLE FOO \r\n"), true,
         [&](SDialogCtrl& d) { EXPECT_EQ(0x10000000u, button(d)->GetStyle()); }},
        {"colour name", WithDialog("[BUTTON]\r\nBACKCOLOR=red\r\n"), true,
         [&](SDialogCtrl& d) { EXPECT_EQ(0u, button(d)->GetBackColor()); }},
        {"equals in a value", WithDialog("[BUTTON]\r\nNAME=A=B\r\n"), true,
         [&](SDialogCtrl& d) { EXPECT_STREQ("A=B", button(d)->GetName().GetText()); }},
        {"numbers cut to 16 bits", WithDialog("[BUTTON]\r\nID=65537\r\nPOSITION=-1 70000 12px x\r\n"), true,
         [&](SDialogCtrl& d) {
             EXPECT_EQ(1, button(d)->GetIdValue());
             EXPECT_EQ(-1, button(d)->GetX());
             EXPECT_EQ(4464, button(d)->GetY());
             EXPECT_EQ(12, button(d)->GetWidth());
             EXPECT_EQ(0, button(d)->GetHeight());
         }},
        {"header line 2 is free", "KLV DIALOG EDITOR 1.0.0.0\r\nanything\r\n[DIALOG]\r\n", true, nullptr},
        {"trailing blank on the header", "KLV DIALOG EDITOR 1.0.0.0 \r\n\r\n[DIALOG]\r\n", false, nullptr},
        {"zero byte after the header", std::string("KLV DIALOG EDITOR 1.0.0.0\0\r\n\r\n[DIALOG]\r\n", 40), false, nullptr},
        {"line without equals", WithDialog("[BUTTON]\r\nTABENABLED\r\n"), false, nullptr},
        {"bare LF line ends", "KLV DIALOG EDITOR 1.0.0.0\n\n[DIALOG]\n", false, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        TestDesigner designer;
        ASSERT_EQ(c.ok, ReadText(designer, c.text));
        if (!c.ok)
        {
            EXPECT_EQ(nullptr, designer.GetDialogDescription());
            EXPECT_EQ(0, designer.GetElementCount());
            continue;
        }
        ASSERT_NE(nullptr, designer.GetDialogDescription());
        if (c.check)
            c.check(designer);
    }
}

TEST(SDialogCtrlDescription, DuplicateNamesAndIdsGetFreshOnesAndAMiddleDialogIsAnElement)
{
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, WithDialog("[BUTTON]\r\nID=4\r\nNAME=Same\r\n\r\n[BUTTON]\r\nID=4\r\n"
                                              "NAME=Same\r\n\r\n[DIALOG]\r\nID=9\r\n")));
    ASSERT_EQ(3, designer.GetElementCount());
    EXPECT_STREQ("Button1", designer.GetElement(1)->GetName().GetText());
    EXPECT_EQ(1, designer.GetElement(1)->GetIdValue());
    EXPECT_EQ(DTYPE_DIALOG, designer.GetElement(2)->GetType());
    EXPECT_FALSE(designer.GetElement(2)->IsDialog());
}

TEST(SDialogCtrlDescription, TextWithoutDialogIsValidButLeavesTheDesignerEmpty)
{
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    EXPECT_TRUE(ReadText(designer, "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n"));
    EXPECT_FALSE(designer.IsOpen());
    EXPECT_EQ(nullptr, designer.GetDialogDescription());
    ShortStream stream(1000);
    EXPECT_FALSE(designer.WriteDescription(&stream));
    EXPECT_EQ(0, stream.GetSize());
    EXPECT_FALSE(designer.ReadDescription(nullptr));
}

TEST(SDialogCtrlDescription, WriterWritesFreshRecordsStyleNamesAndNewControlDefaults)
{
    TestDesigner designer;
    Record fresh;
    fresh.SetType(DTYPE_BUTTON);
    EXPECT_EQ("[BUTTON]\r\nID=0\r\nNAME=\r\nCAPTION=\r\nFONT=, 0, 0\r\nPOSITION=10 10 150 150\r\nSTYLE=\r\n"
              "EXSTYLE=\r\nBACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\n\r\n",
              Section(fresh, designer));
    const struct
    {
        int type;
        DWORD style;
        bool exstyle;
        const char* names;
    } styles[] = {
        {DTYPE_BUTTON, 0x10000300, false, "WS_VISIBLE BS_LEFT BS_RIGHT BS_CENTER "},
        {DTYPE_TAB, 0x1008, false, "TCS_FLATBUTTONS  TCS_FOCUSONBUTTONDOWN  "},
        {DTYPE_EDIT, 0, false, "ES_LEFT "},
        {DTYPE_RICHEDIT, 0x4, false, "ES_LEFT "},
        {DTYPE_DIALOG, 0x20088, true, "WS_EX_STATICEDGE WS_EX_TOOLWINDOW WS_EX_TOPMOST "},
        {DTYPE_STATIC, 0x10800000, false, "WS_VISIBLE "},
    };
    for (const auto& s : styles)
    {
        Record record;
        record.SetType(static_cast<short>(s.type));
        s.exstyle ? record.SetExStyle(s.style) : record.SetStyle(s.style);
        EXPECT_STREQ(s.names, record.GetStyleNames(s.exstyle).GetText());
        Record back;
        back.SetType(static_cast<short>(s.type));
        back.SetStyleNames(s.exstyle, s.names);
        EXPECT_STREQ(s.names, back.GetStyleNames(s.exstyle).GetText());
    }

    ASSERT_TRUE(ReadText(designer, DemoText()));
    designer.RemoveAllElements();
    const int types[] = {DTYPE_EDIT, DTYPE_LCD, DTYPE_TOOLBAR};
    for (int type : types)
    {
        fresh.SetType(static_cast<short>(type));
        ASSERT_NE(nullptr, designer.AddElement(&fresh, true, false, false));
    }
    const char* common = "BACKCOLOR=#FF000000\r\nTEXTCOLOR=#FF000000\r\nTRANSPARENT=0\r\nISLOCKED=0\r\n";
    EXPECT_EQ(std::string("[EDIT]\r\nID=1\r\nNAME=Edit1\r\nCAPTION=Edit\r\nFONT=, 0, 0\r\nPOSITION=10 10 150 20\r\n"
                          "STYLE=WS_VISIBLE WS_BORDER ES_LEFT ES_AUTOHSCROLL \r\nEXSTYLE=\r\n") +
                  common + "TABENABLED=1\r\n\r\n",
              Section(*designer.GetElement(0), designer));
    EXPECT_EQ(std::string("[LCD]\r\nID=2\r\nNAME=Lcd1\r\nCAPTION=QUENTARA\r\nFONT=, 0, 0\r\nPOSITION=10 10 200 15\r\n"
                          "STYLE=WS_VISIBLE \r\nEXSTYLE=WS_EX_STATICEDGE \r\n") +
                  common +
                  "LCD_PIXELWIDTH=2\r\nLCD_PIXELHEIGHT=1\r\nLCD_CHARCOUNT=16\r\nLCD_LINECOUNT=1\r\nLCD_SCROLL=1\r\n"
                  "LCD_SCROLLSPEED=5\r\nLCD_CELLCOLOR=-16777216\r\n\r\n",
              Section(*designer.GetElement(1), designer));
    EXPECT_EQ(std::string("[TOOLBAR]\r\nID=3\r\nNAME=ToolBar1\r\nCAPTION=Tool Bar\r\nFONT=, 0, 0\r\n"
                          "POSITION=0 0 300 25\r\nSTYLE=WS_VISIBLE TBSTYLE_TOOLTIPS \r\nEXSTYLE=\r\n") +
                  common + "HALIGN=4\r\nTOOLBAR_CONTENT=Btn 1 | Btn 2\r\n\r\n",
              Section(*designer.GetElement(2), designer));
}

TEST(SDialogCtrlDescription, TypeKeysAreFoundSetAndConvertedAsTheFormatSays)
{
    Record record;
    record.SetValue("A", "1");
    EXPECT_STREQ("A=1\r\n", record.GetTypeKeys().GetText());
    record.SetValue("B", "3");
    record.SetValue("A", "2");
    EXPECT_STREQ("A=2\r\nB=3\r\n", record.GetTypeKeys().GetText());
    // Line breaks in a value would end the section early; a key that a rebuilt
    // text would read otherwise is refused.
    EXPECT_TRUE(record.SetValue("C", "x\r\ny"));
    for (const char* key : {"a=b", "C\r\n", "x\ny", "", static_cast<const char*>(nullptr)})
        EXPECT_FALSE(record.SetValue(key, "1"));
    EXPECT_STREQ("A=2\r\nB=3\r\nC=xy\r\n", record.GetTypeKeys().GetText());

    record.SetTypeKeys("K=first\r\nK=second\r\nnoequals\r\n=empty\nN=-16777216\rM=4278190080\r\n"
                       "S=4261412869\r\nE=\r\nD=_DRAWFIT\r\nR=0.5\r\nL=12px");
    EXPECT_STREQ("first", record.GetValue("K").GetText());
    EXPECT_STREQ("", record.GetValue("noequals").GetText());
    EXPECT_EQ(0xFF000000u, record.GetValueColor("N"));
    EXPECT_EQ(0xFF000000u, record.GetValueColor("M"));
    EXPECT_EQ(0xFF000000u, record.GetValueColor("E"));
    EXPECT_EQ(0xFF000000u, record.GetValueColor("missing"));
    EXPECT_EQ(GetSysColor(5), record.GetValueColor("S"));
    EXPECT_EQ(11, record.GetValueDrawMode("D"));
    EXPECT_EQ(0, record.GetValueDrawMode("K"));
    EXPECT_DOUBLE_EQ(0.5, record.GetValueReal("R"));
    EXPECT_EQ(12, record.GetValueInt("L"));
    EXPECT_EQ(4278190080LL, record.GetValueInt64("M"));
    EXPECT_FALSE(record.GetValueBool("missing"));
    EXPECT_EQ(std::string::npos, std::string(record.GetTypeKeys().GetText()).find("noequals"));
}

// Thousands of keys come back byte for byte, and each lookup finds what the lines
// say: the first of a repeated key, a key apart from the longer keys it begins,
// an empty value, a piece after a lone line feed inside a value.
TEST(SDialogCtrlDescription, ThousandsOfTypeKeysRoundTripAndLookUpLikeTheirLines)
{
    std::string keys;
    for (int i = 0; i < 5000; i++)
        keys += "K" + std::to_string(i) + "=" + std::to_string(i * 3) + "\r\n";
    keys += "K1=again\r\nK=\r\nK12=x=y\r\nW=a\nV=b\r\nE=\r\n";
    const std::string text = DemoText().substr(0, DemoText().size() - 2) + keys + "\r\n";
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, text));
    EXPECT_EQ(text, WriteText(designer));
    Record* button = designer.GetElement(0);
    const struct
    {
        const char* key;
        const char* value;
    } lookups[] = {{"K0", "0"}, {"K1", "3"},  {"K12", "36"}, {"K4999", "14997"}, {"K", ""},          {"E", ""},
                   {"W", "a"},  {"V", "b"},   {"K5000", ""}, {"TABGROUP", "1"},  {"K1=again", ""}, {"", ""}};
    for (const auto& k : lookups)
        EXPECT_STREQ(k.value, button->GetValue(k.key).GetText()) << k.key;

    // A change finds the first line of its key; a new key goes last.
    button->SetValue("K1", "new");
    button->SetValue("NEW", "v");
    EXPECT_STREQ("new", button->GetValue("K1").GetText());
    EXPECT_STREQ("30", button->GetValue("K10").GetText());
    EXPECT_STREQ("v", button->GetValue("NEW").GetText());
    std::string changed = text;
    changed.replace(changed.find("K1=3\r\n"), 6, "K1=new\r\n");
    changed.insert(changed.size() - 2, "NEW=v\r\n");
    EXPECT_EQ(changed, WriteText(designer));
    // Either side of a lone line feed changes where it is read, the other kept.
    button->SetValue("V", "d");
    button->SetValue("W", "c");
    EXPECT_STREQ("d", button->GetValue("V").GetText());
    EXPECT_STREQ("c", button->GetValue("W").GetText());
    changed.replace(changed.find("W=a\nV=b"), 7, "W=c\nV=d");
    EXPECT_EQ(changed, WriteText(designer));
}
