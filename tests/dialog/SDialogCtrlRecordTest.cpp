#include <gtest/gtest.h>
#include "DialogTestSupport.h"
#include "SClipboard.h"
#include "SWndDialog.h"

namespace
{
typedef SDialogCtrl::_SCtrl Record;

std::string RecordBytes(const Record& record)
{
    SMemory stream;
    record.WriteRecord(&stream);
    return Bytes(stream);
}
} // namespace

TEST(SDialogCtrlRecord, NegativeFontSizeReachesTheDialogWindowAsACharacterHeight)
{
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\n\r\n[LABEL]\r\nFONT=Arial, -12, 0\r\n"));
    const SControlDescription& description = *designer.GetElement(0);
    EXPECT_EQ(-12, description.GetFontSize());

    SWndDialog dialog;
    RECT rect = {0, 0, 200, 100};
    ASSERT_TRUE(dialog.CreatePopup("Fonts", &rect, nullptr));
    SWnd* child = new SWnd;
    RECT place = {10, 10, 100, 30};
    ASSERT_TRUE(child->CreateSubclassed("STATIC", "Text", WS_CHILD | WS_VISIBLE, 0, &place, dialog.GetHandle()));
    ASSERT_TRUE(dialog.AddChild(child, &description));
    LOGFONTA font = {};
    ASSERT_NE(0, GetObjectA(dialog.GetChildFont(0), sizeof(font), &font));
    EXPECT_EQ(-12, font.lfHeight);
    dialog.DestroyWindow();
}

TEST(SDialogCtrlRecord, RecordsHaveTheirFixedLayoutAndReadBack)
{
    Record empty;
    EXPECT_EQ(49u, RecordBytes(empty).size());

    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    Record* button = designer.GetElement(0);
    button->SetReserved(0xFFFFFFFE);
    const std::string bytes = RecordBytes(*button);
    ASSERT_EQ(85u, bytes.size());
    EXPECT_EQ(std::string("\x01\x00\x02\x00OK\0OK\0Tahoma\0\x08\x00\x01", 20),
              bytes.substr(0, 20));
    EXPECT_EQ(std::string("\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF", 8), bytes.substr(77));

    SMemory stream;
    Fill(stream, bytes + "tail");
    Record back;
    ASSERT_EQ(85, back.ReadRecord(&stream));
    EXPECT_EQ(85, stream.GetPosition());
    EXPECT_EQ(bytes, RecordBytes(back));
    EXPECT_EQ(0xFFFFFFFEu, back.GetReserved());
    EXPECT_EQ(0, back.ReadRecord(nullptr));
}

TEST(SDialogCtrlRecord, ForeignRecordsLoseLineBreaksSoTheWriterStaysReadable)
{
    // Name, caption and face with line breaks; type keys with a bare line, an
    // empty key and no final line end.
    const char raw[] = "\x05\x00\x02\x00N\r\nX\0Cap\ntion\0Face\r\0\x08\x00\x00\x00\x00\x00"
                       "\x0A\x00\x0A\x00\x32\x00\x19\x00\x00\x00"
                       "\x00\x00\x00\x10\x00\x00\x00\x00\x00\x00\x00\xFF\x00\x00\x00\xFF\x00"
                       "A=1\r\n\r\nbare\r\n=x\nB=2\0\x00\x00\x00\x00\x00\x00\x00\x00";
    const std::string block(raw, sizeof(raw) - 1);
    SMemory stream;
    Fill(stream, block);
    Record record;
    ASSERT_EQ(85, record.ReadRecord(&stream));
    EXPECT_STREQ("NX", record.GetName().GetText());
    EXPECT_STREQ("Caption", record.GetCaption().GetText());
    EXPECT_STREQ("Face", record.GetFontName().GetText());
    EXPECT_STREQ("A=1\r\nB=2\r\n", record.GetTypeKeys().GetText());

    TestDesigner designer;
    SMemory section;
    ASSERT_GT(record.Write(&section, &designer), 0);
    ASSERT_TRUE(ReadText(designer, "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\n\r\n" + Bytes(section)));
    EXPECT_STREQ("NX", designer.GetElement(0)->GetName().GetText());
    EXPECT_STREQ("A=1\r\nB=2\r\n", designer.GetElement(0)->GetTypeKeys().GetText());
}

TEST(SDialogCtrlRecord, CopiedSelectionTravelsThroughTheClipboard)
{
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    Record* button = designer.GetElement(0);
    designer.SelectOnly(button);
    ASSERT_TRUE(designer.CopySelection());
    EXPECT_TRUE(designer.CanPaste());

    SMemory block;
    SClipboard clipboard;
    ASSERT_EQ(26 + 85, clipboard.GetData(&block));
    EXPECT_EQ(std::string("KLV DIALOG EDITOR 1.0.0.0", 26) + RecordBytes(*button), Bytes(block));
    block.Seek(26);
    Record pasted;
    ASSERT_EQ(85, pasted.ReadRecord(&block));
    EXPECT_STREQ("OK", pasted.GetName().GetText());
    EXPECT_STREQ("TABENABLED=1\r\nTABGROUP=1\r\n", pasted.GetTypeKeys().GetText());

    clipboard.SetText("plain");
    EXPECT_FALSE(designer.CanPaste());

    // Cut: the same block, and the element leaves the layout and the selection.
    designer.SelectOnly(button);
    const std::string copied = Bytes(block);
    ASSERT_TRUE(designer.CutSelection());
    EXPECT_EQ(0, designer.GetElementCount());
    EXPECT_EQ(0, designer.GetSelectedCount());
    SMemory cut;
    ASSERT_EQ(26 + 85, clipboard.GetData(&cut));
    EXPECT_EQ(copied, Bytes(cut));
    EXPECT_FALSE(designer.CutSelection());
}
