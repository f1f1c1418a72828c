#include <gtest/gtest.h>
#include <random>
#include "DialogTestSupport.h"

namespace
{
typedef SDialogCtrl::_SCtrl Record;

std::string RandomBytes(std::mt19937& random, size_t length)
{
    std::string bytes(length, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// A few byte edits; line breaks, "=" and brackets are favoured so that the
// structure of the text is hit, not only its values.
std::string Mutate(std::mt19937& random, std::string text)
{
    static const char favoured[] = "\r\n=[]() ,#-0123456789";
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits && !text.empty(); e++)
    {
        const size_t at = random() % text.size();
        const char c = random() % 2 ? favoured[random() % (sizeof(favoured) - 1)] : static_cast<char>(random());
        switch (random() % 4)
        {
        case 0: text[at] = c; break;
        case 1: text.insert(at, 1, c); break;
        case 2: text.erase(at, 1 + random() % 8); break;
        default: text.insert(at, text.substr(random() % text.size(), random() % 40)); break;
        }
    }
    return text;
}

size_t StoredTextLength(const Record& r)
{
    return r.GetName().GetLength() + r.GetCaption().GetLength() + r.GetFontName().GetLength() +
           r.GetTypeKeys().GetLength();
}

// A refused text leaves the designer empty; an accepted one holds no more than
// the text paid for, and writes a text that reads back and rewrites to itself.
void CheckReading(TestDesigner& designer, const std::string& input)
{
    if (!ReadText(designer, input))
    {
        ASSERT_EQ(nullptr, designer.GetDialogDescription());
        ASSERT_EQ(0, designer.GetElementCount());
        return;
    }
    // Each control's section needs at least "[Gui]" and two line ends.
    ASSERT_LE(static_cast<size_t>(designer.GetElementCount()) * 9, input.size());
    size_t stored = designer.GetDialogDescription() ? StoredTextLength(*designer.GetDialogDescription()) : 0;
    for (int i = 0; i < designer.GetElementCount(); i++)
        stored += StoredTextLength(*designer.GetElement(i));
    ASSERT_LE(stored, input.size() + 16 * static_cast<size_t>(designer.GetElementCount()));
    if (!designer.GetDialogDescription())
        return;
    const std::string written = WriteText(designer);
    ASSERT_FALSE(written.empty());
    ASSERT_TRUE(ReadText(designer, written));
    ASSERT_EQ(written, WriteText(designer));
}
} // namespace

TEST(SDialogCtrlFuzz, EveryTruncationOfAValidTextReadsCleanly)
{
    TestDesigner designer;
    const std::string text = DemoText();
    for (size_t length = 0; length <= text.size(); length++)
    {
        SCOPED_TRACE(length);
        CheckReading(designer, text.substr(0, length));
    }
}

TEST(SDialogCtrlFuzz, RandomBytesFailAtTheHeader)
{
    TestDesigner designer;
    std::mt19937 random(20240611);
    for (int i = 0; i < 10000; i++)
    {
        const std::string bytes = RandomBytes(random, random() % 300);
        ASSERT_FALSE(ReadText(designer, bytes)) << i;
        ASSERT_EQ(nullptr, designer.GetDialogDescription());
        ASSERT_EQ(0, designer.GetElementCount());
    }
}

TEST(SDialogCtrlFuzz, MutationsOfAValidTextReadCleanlyAndRoundTrip)
{
    TestDesigner designer;
    std::mt19937 random(7177);
    // Mutations of a longer text: more sections, more type keys.
    const std::string base = DemoText() +
                             "[TAB]\r\nID=7\r\nNAME=Pages\r\nTAB_CONTENT=A | B\r\nTAB_CHILDREN_PRIVATE=0 1 1 7 \r\n\r\n"
                             "[COMBO]\r\nSTYLE=CBS_DROPDOWNLIST WS_EX_CLIENTEDGE \r\nEXSTYLE=WS_VISIBLE \r\n\r\n";
    for (int i = 0; i < 10000; i++)
    {
        SCOPED_TRACE(i);
        CheckReading(designer, Mutate(random, base));
        if (HasFatalFailure())
            return;
    }
}

TEST(SDialogCtrlFuzz, ReadRecordRefusesEveryTruncationAndStaysInsideItsBlock)
{
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    SMemory whole;
    ASSERT_EQ(85, designer.GetElement(0)->WriteRecord(&whole));
    const std::string record = Bytes(whole);
    for (size_t length = 0; length < record.size(); length++)
    {
        SMemory cut;
        Fill(cut, record.substr(0, length));
        Record target;
        target.SetName("untouched");
        ASSERT_EQ(0, target.ReadRecord(&cut)) << length;
        ASSERT_STREQ("untouched", target.GetName().GetText());
    }
    std::mt19937 random(99);
    TestDesigner reader;
    for (int i = 0; i < 10000; i++)
    {
        // Random bytes, with zero bytes common enough that the texts end.
        std::string bytes = RandomBytes(random, random() % 120);
        for (char& c : bytes)
            c = random() % 4 ? c : '\0';
        SMemory block;
        Fill(block, bytes);
        Record target;
        const int read = target.ReadRecord(&block);
        ASSERT_LE(read, static_cast<int>(bytes.size()));
        if (read == 0)
            continue;
        // Whatever was accepted writes a section the reader takes back.
        target.SetType(DTYPE_BUTTON);
        std::string text = "KLV DIALOG EDITOR 1.0.0.0\r\n\r\n[DIALOG]\r\n\r\n";
        SMemory section;
        ASSERT_GT(target.Write(&section, &designer), 0);
        ASSERT_TRUE(ReadText(reader, text + Bytes(section)));
        ASSERT_EQ(1, reader.GetElementCount());
    }
}

TEST(SDialogCtrlFuzz, WriteDescriptionFailsOnEveryShortWrite)
{
    TestDesigner designer;
    ASSERT_TRUE(ReadText(designer, DemoText()));
    const int size = static_cast<int>(DemoText().size());
    for (int limit = 0; limit < size; limit++)
    {
        ShortStream stream(limit);
        ASSERT_FALSE(designer.WriteDescription(&stream)) << limit;
    }
    ShortStream stream(size);
    ASSERT_TRUE(designer.WriteDescription(&stream));
    EXPECT_EQ(DemoText(), Bytes(stream));
}
