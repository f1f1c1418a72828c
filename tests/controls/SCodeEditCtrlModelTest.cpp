#include <random>
#include "CodeEditTestSupport.h"

TEST(SCodeEditCtrlModelTest, AnyBytesLoadAndSaveBackUnchanged)
{
    struct Case
    {
        std::string text;
        int lines;
        int firstLength;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", 3, 1},          {"a\r\nb", 2, 1},   {"", 1, 0},
        {std::string("x\0y", 3), 1, 3}, {"x\ry\nz", 1, 5}, {"\xE9t\xE9\r\n\xFF", 2, 3},
        {std::string(1 << 20, 'q'), 1, 1 << 20},
    };
    for (const Case& c : cases)
    {
        SCodeEditCtrl editor;
        LoadText(editor, c.text);
        EXPECT_EQ(c.lines, editor.GetLineCount());
        EXPECT_EQ(c.firstLength, editor.GetLineLength(0));
        EXPECT_TRUE(SavedText(editor) == c.text) << c.text.size();
        EXPECT_STREQ("doc", editor.GetFileName().GetText());
    }
    SCodeEditCtrl editor;
    EXPECT_FALSE(editor.LoadFromStream(nullptr));
    EXPECT_FALSE(editor.SaveToStream(nullptr));
}

TEST(SCodeEditCtrlModelTest, ShortWritesFailTheSave)
{
    SCodeEditCtrl editor;
    LoadText(editor, "first\r\nsecond");
    for (int limit : {0, 3, 5, 6, 12})
    {
        ShortStream stream(limit);
        EXPECT_FALSE(editor.SaveToStream(&stream)) << limit;
    }
    ShortStream enough(13);
    EXPECT_TRUE(editor.SaveToStream(&enough));
}

TEST(SCodeEditCtrlModelTest, UndoKeepsAtMost128Records)
{
    SCodeEditCtrl editor;
    editor.New("n");
    EXPECT_FALSE(editor.BackspaceKey());
    EXPECT_EQ(0, editor.GetUndoCount());
    for (int i = 0; i < 129; i++)
        editor.OnChar('a' + i % 26);
    EXPECT_EQ(128, editor.GetUndoCount());
    int undone = 0;
    while (editor.ApplyUndo())
        undone++;
    EXPECT_EQ(128, undone);
    EXPECT_EQ("a", SavedText(editor));
}

TEST(SCodeEditCtrlModelTest, EditsUndoExactly)
{
    struct Case
    {
        const char* name;
        const char* text;
        int caret[4]; // caret line, column, other line, column
        void (*edit)(SCodeEditCtrl&);
        const char* after;
    };
    const Case cases[] = {
        {"tab over three lines", "a\r\nb\r\nc\r\nd", {2, 1, 0, 0}, [](SCodeEditCtrl& e) { e.TabKey(false); },
         "\ta\r\n\tb\r\n\tc\r\nd"},
        {"shift tab", "\ta\r\nb\r\n\tc", {0, 0, 2, 1}, [](SCodeEditCtrl& e) { e.TabKey(true); }, "a\r\nb\r\nc"},
        {"paste two lines over four", "1\r\n2\r\n3\r\n4\r\n5", {0, 1, 3, 1},
         [](SCodeEditCtrl& e) { e.InsertText("x\r\ny"); }, "1x\r\ny\r\n5"},
        {"paste with bare line feeds", "ab", {0, 1, -1, -1}, [](SCodeEditCtrl& e) { e.InsertText("x\ny\nz"); },
         "ax\r\ny\r\nzb"},
        {"uncomment", "  // x\r\n\t//y\r\n  ", {0, 0, 2, 1}, [](SCodeEditCtrl& e) { e.UncommentLines(); },
         "   x\r\n\ty\r\n  "},
        {"comment after tabs", "\t\tx\r\n \r\ny", {0, 0, 2, 0}, [](SCodeEditCtrl& e) { e.CommentLines(); },
         "\t\t//x\r\n \r\ny"},
        {"enter keeps the tabs", "\t\tab", {0, 3, -1, -1}, [](SCodeEditCtrl& e) { e.OnChar('\r'); },
         "\t\ta\r\n\t\tb"},
        {"backspace joins", "ab\r\ncd", {1, 0, -1, -1}, [](SCodeEditCtrl& e) { e.BackspaceKey(); }, "abcd"},
        {"delete joins", "ab\r\ncd", {0, 2, -1, -1}, [](SCodeEditCtrl& e) { e.DeleteKey(false); }, "abcd"},
        {"shift delete", "ab\r\ncd\r\nef", {1, 1, -1, -1}, [](SCodeEditCtrl& e) { e.DeleteKey(true); },
         "ab\r\nef"},
        {"shift delete on the last line", "ab\r\ncd", {1, 1, -1, -1}, [](SCodeEditCtrl& e) { e.DeleteKey(true); },
         "ab\r\n"},
    };
    for (const Case& c : cases)
    {
        SCodeEditCtrl editor;
        LoadText(editor, c.text);
        editor.SetSelectionRange(c.caret[0], c.caret[1], c.caret[2], c.caret[3], -1);
        c.edit(editor);
        EXPECT_EQ(c.after, SavedText(editor)) << c.name;
        EXPECT_EQ(1, editor.GetUndoCount()) << c.name;
        EXPECT_TRUE(editor.ApplyUndo()) << c.name;
        EXPECT_EQ(c.text, SavedText(editor)) << c.name;
    }
}

TEST(SCodeEditCtrlModelTest, ShiftDeleteOnTheLastLineLeavesTheCaretAtItsStart)
{
    SCodeEditCtrl editor;
    LoadText(editor, "ab\r\ncd");
    editor.SetSelectionRange(1, 1, -1, -1, -1);
    ASSERT_TRUE(editor.DeleteKey(true));
    EXPECT_EQ(1, editor.GetCaretLine());
    EXPECT_EQ(0, editor.GetCaretColumn());
    EXPECT_FALSE(editor.HasSelection());
    EXPECT_FALSE(editor.DeleteKey(true));
    EXPECT_EQ(1, editor.GetUndoCount());
}

TEST(SCodeEditCtrlModelTest, SingleLineEditorJoinsLineBreaks)
{
    SCodeEditCtrl editor;
    editor.SetSingleLine(true);
    editor.New();
    EXPECT_TRUE(editor.InsertText("a\r\nb\nc"));
    editor.OnChar('\r');
    EXPECT_EQ(1, editor.GetLineCount());
    EXPECT_EQ("abc", SavedText(editor));
    EXPECT_EQ(3, editor.GetCaretColumn());
}

TEST(SCodeEditCtrlModelTest, SelectionIsClampedAndKeptInTextOrder)
{
    struct Case
    {
        int in[5];
        int out[4];
        bool caretAtStart;
    };
    // Lines "abc" and "de".
    const Case cases[] = {
        {{1, 1, 0, 2, -1}, {0, 2, 1, 1}, false}, {{0, 2, 1, 1, -1}, {0, 2, 1, 1}, true},
        {{9, 9, 0, 0, 1}, {0, 0, 1, 2}, false},  {{0, 1, 0, 1, -1}, {0, 1, 0, 1}, true},
        {{-5, 0, 1, 1, -1}, {-1, -1, -1, -1}, true}, {{0, 7, -1, -1, 0}, {0, 3, 0, 3}, true},
    };
    SCodeEditCtrl editor;
    LoadText(editor, "abc\r\nde");
    for (const Case& c : cases)
    {
        editor.SetSelectionRange(c.in[0], c.in[1], c.in[2], c.in[3], c.in[4]);
        int out[4];
        EXPECT_EQ(c.caretAtStart, editor.GetSelection(out[0], out[1], out[2], out[3])) << c.in[0] << c.in[1];
        for (int i = 0; i < 4; i++)
            EXPECT_EQ(c.out[i], out[i]) << c.in[0] << c.in[1] << " " << i;
    }
    editor.OnSelectAll();
    EXPECT_EQ(1, editor.GetCaretLine());
    EXPECT_EQ(2, editor.GetCaretColumn());
    EXPECT_EQ("abc\r\nde", std::string(editor.GetSelectedText().GetText()));
}

TEST(SCodeEditCtrlModelTest, WordBounds)
{
    struct Case
    {
        const char* line;
        int column, start, end;
    };
    const Case cases[] = {{"foo bar", 1, 0, 3}, {"foo bar", 3, 0, 3}, {"foo  bar", 4, 3, 5},
                          {"a+=b", 1, 1, 3},    {"", 5, 0, 0},        {"x_1 ", 9, 0, 3}};
    for (const Case& c : cases)
    {
        int start = -1, end = -1;
        SCodeEditCtrl::GetWordBounds(SString(c.line), c.column, start, end);
        EXPECT_EQ(c.start, start) << c.line << " " << c.column;
        EXPECT_EQ(c.end, end) << c.line << " " << c.column;
    }
}

TEST(SCodeEditCtrlModelTest, ReplaceAllNeverWrapsAndVisitsEachMatchOnce)
{
    SCodeEditCtrl editor;
    LoadText(editor, "aa aa\r\nxaa");
    editor.SetSelectionRange(1, 2, -1, -1, -1);
    editor.SetFindText("aa");
    editor.SetReplaceText("aaa");
    EXPECT_TRUE(editor.ReplaceAll());
    EXPECT_EQ("aaa aaa\r\nxaaa", SavedText(editor));
    EXPECT_EQ(3, editor.GetUndoCount());
    // Searching on from the last match wraps to line 0.
    editor.SetSelectionRange(1, 4, 1, 1, -1);
    editor.SetFindText("aaa");
    EXPECT_TRUE(editor.FindNext(false));
    EXPECT_EQ(0, editor.GetCaretLine());
    EXPECT_EQ(3, editor.GetCaretColumn());
    editor.SetSearchOptions(false, true, false);
    editor.SetFindText("AAA");
    EXPECT_FALSE(editor.FindNext(false));
}

TEST(SCodeEditCtrlModelTest, ReplacingByNothingIsAReplacementEachWithItsUndo)
{
    SCodeEditCtrl editor;
    LoadText(editor, "banana\r\naxa");
    editor.SetSelectionRange(0, 0, -1, -1, -1);
    editor.SetFindText("a");
    editor.SetReplaceText("");
    EXPECT_TRUE(editor.ReplaceOnce());
    EXPECT_EQ("bnana\r\naxa", SavedText(editor));
    EXPECT_TRUE(editor.ReplaceAll());
    EXPECT_EQ("bnn\r\nx", SavedText(editor));
    EXPECT_EQ(5, editor.GetUndoCount());
    EXPECT_FALSE(editor.ReplaceAll());
    editor.ApplyUndo();
    EXPECT_EQ("bnn\r\nxa", SavedText(editor));
}

namespace
{
// The invariants that hold while a document is open.
void CheckInvariants(const SCodeEditCtrl& editor, int step)
{
    ASSERT_GE(editor.GetLineCount(), 1) << step;
    int sl, sc, el, ec;
    editor.GetSelection(sl, sc, el, ec);
    ASSERT_TRUE(sl >= 0 && sl < editor.GetLineCount() && el >= 0 && el < editor.GetLineCount()) << step;
    ASSERT_TRUE(sc >= 0 && sc <= editor.GetLineLength(sl) && ec >= 0 && ec <= editor.GetLineLength(el)) << step;
    ASSERT_TRUE(sl < el || (sl == el && sc <= ec)) << step;
}

void RandomStep(SCodeEditCtrl& e, std::mt19937& random)
{
    const char* const pastes[] = {"x", "\r\n", "p\r\nq", "\tz\n", "//c", "a\r\nb\r\nc\r\n"};
    const int keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT};
    const int lines = e.GetLineCount();
    switch (random() % 10)
    {
    case 0: e.OnChar(" az\t\r{}/\"\xE9"[random() % 10]); break;
    case 1: e.BackspaceKey(); break;
    case 2: e.DeleteKey(random() % 4 == 0); break;
    case 3: e.InsertText(pastes[random() % 6]); break;
    case 4: e.TabKey(random() % 2 == 0); break;
    case 5: random() % 2 ? e.CommentLines() : e.UncommentLines(); break;
    case 6: e.OnKeyDown(keys[random() % 8], random() % 2 == 0, random() % 3 == 0); break;
    case 7:
        e.SetSelectionRange(random() % (lines + 2) - 1, random() % 12, random() % (lines + 2) - 1, random() % 12,
                            static_cast<int>(random() % 3) - 1);
        if (e.GetCaretLine() < 0)
            e.SetSelectionRange(0, 0, -1, -1, -1);
        break;
    case 8: e.OnUndo(); break;
    default: e.OnChar('a' + random() % 26); break;
    }
}
} // namespace

TEST(SCodeEditCtrlModelTest, SeededRandomEditsKeepTheInvariantsAndUndoToTheStart)
{
    std::mt19937 random(20261209);
    SCodeEditCtrl editor;
    LoadText(editor, "int a;\r\n\t// b\r\n\r\nc \"s\"");
    for (int step = 0; step < 5000; step++)
    {
        RandomStep(editor, random);
        CheckInvariants(editor, step);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(editor.GetLineCount(), 4);
    // Runs of up to 128 edits undone one by one give the starting text back.
    int undone = 0;
    for (int run = 0; run < 20; run++)
    {
        editor.ClearUndo();
        const std::string start = SavedText(editor);
        const int edits = 1 + random() % 128;
        for (int i = 0; i < edits; i++)
            RandomStep(editor, random);
        while (editor.ApplyUndo())
        {
            undone++;
            CheckInvariants(editor, run);
        }
        ASSERT_TRUE(SavedText(editor) == start) << run;
    }
    EXPECT_GT(undone, 200);
}

TEST(SCodeEditCtrlModelTest, PointsAndDragArithmetic)
{
    SCodeEditCtrl editor;
    LoadText(editor, "a\tb\r\nxy");
    const int w = editor.GetCharWidth(), h = editor.GetLineHeight(), left = editor.GetTextRect().left;
    struct Case
    {
        double cells; // from the text's left edge
        int row;
        int line, column;
    };
    // The tab spans visual columns 1 to 4: its middle is at 2.5 cells.
    const Case cases[] = {{0.4, 0, 0, 0}, {0.6, 0, 0, 1}, {2.4, 0, 0, 1}, {2.6, 0, 0, 2},
                          {40, 0, 0, 3},  {1.2, 1, 1, 1}, {0, 7, 1, 2},  {-3, -2, 0, 0}};
    for (const Case& c : cases)
    {
        int line = -1, column = -1;
        editor.PointToPosition(left + static_cast<int>(c.cells * w), c.row * h + h / 2, line, column);
        EXPECT_EQ(c.line, line) << c.cells << " " << c.row;
        EXPECT_EQ(c.column, column) << c.cells << " " << c.row;
    }
    // 20 lines a second within 40 pixels of the edge, 60 beyond; 100 columns a second.
    EXPECT_DOUBLE_EQ(10.0, SCodeEditCtrl::AutoScrollLines(40, 500));
    EXPECT_DOUBLE_EQ(30.0, SCodeEditCtrl::AutoScrollLines(41, 500));
    EXPECT_DOUBLE_EQ(0.0, SCodeEditCtrl::AutoScrollLines(0, 500));
    EXPECT_DOUBLE_EQ(25.0, SCodeEditCtrl::AutoScrollColumns(250));
}
