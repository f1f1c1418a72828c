#include <string>
#include "CodeEditTestSupport.h"
#include "MemoryDib.h"

namespace
{
// The tokens of a line as "kind:text" joined by '|' (P plain, S string, C comment, K keyword, U upper).
std::string Tokens(const SCodeEditCtrl& editor, const char* line)
{
    SArray<SCodeEditCtrl::_SToken> tokens;
    const SString text(line);
    editor.TokenizeLine(text, tokens);
    std::string out;
    for (int i = 0; i < tokens.GetCount(); i++)
    {
        const SCodeEditCtrl::_SToken t = tokens.GetAt(i);
        out += std::string(i ? "|" : "") + "PSCKU"[t.kind] + ":" + std::string(text.GetText() + t.start, t.length);
    }
    return out;
}
} // namespace

TEST(SCodeEditCtrlPaintTest, LinesBecomeTokens)
{
    struct Case
    {
        bool comments, upper;
        const char* line;
        const char* tokens;
    };
    const Case cases[] = {
        {true, false, "word // rest", "P:word |C:// rest"},
        {false, false, "a/b", "P:a|P:/|P:b"},
        {true, false, "s = \"a//b\" x", "P:s = |S:\"a//b\"|P: |P:x"},
        {true, false, "\"open", "S:\"open"},
        {false, true, "FOO_ BAR", "P:FOO_ |U:BAR"},
        {false, true, "X1 1X _", "U:X1|P: |P:1X |P:_"},
        {false, false, "int x;", "K:int|P: |P:x;"},
        {false, false, "\tint", "P:\t|K:int"},
    };
    SCodeEditCtrl editor;
    editor.AddKeyword("int", RGB(0, 0, 255), true);
    for (const Case& c : cases)
    {
        editor.SetCommentsEnabled(c.comments);
        editor.SetUpperWords(c.upper);
        EXPECT_EQ(c.tokens, Tokens(editor, c.line)) << c.line;
    }
}

TEST(SCodeEditCtrlPaintTest, BarWidthFollowsTheLineNumbers)
{
    struct Case
    {
        int lines;
        bool numbers;
        int width;
    };
    const Case cases[] = {{100, true, 24}, {9, true, 20}, {1000, true, 32}, {1000, false, 20}};
    for (const Case& c : cases)
    {
        SCodeEditCtrl editor;
        std::string text;
        for (int i = 1; i < c.lines; i++)
            text += "\r\n";
        LoadText(editor, text);
        editor.SetLineNumbers(c.numbers);
        EXPECT_EQ(c.lines, editor.GetLineCount());
        EXPECT_EQ(c.width, editor.GetBarWidth()) << c.lines;
    }
}

TEST(SCodeEditCtrlPaintTest, CurrentLineBarAndCheckedLinesAtSolidPixels)
{
    SWnd parent;
    RECT r = {0, 0, 400, 300};
    ASSERT_TRUE(parent.Create("Code", WS_POPUP | WS_VISIBLE, 0, &r, nullptr));
    SCodeEditCtrl editor;
    RECT child = {0, 0, 300, 200};
    ASSERT_TRUE(editor.CreateChild("", WS_VISIBLE, 0, &child, parent.GetHandle()));
    editor.SetScrollBarsShown(3, false);
    editor.SetWindowText("\tab\r\nline\r\nchecked");
    editor.SetSelectionRange(0, 3, -1, -1, -1);
    editor.SetLineCheck(2, true);
    MemoryDib canvas(300, 200, RGB(0, 0, 0));
    editor.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
    const int h = editor.GetLineHeight(), left = editor.GetTextRect().left;
    struct Probe
    {
        int x, y;
        COLORREF color;
    };
    const int right = editor.GetTextRect().right - 3;
    const Probe probes[] = {
        {right, h / 2, RGB(245, 245, 245)},            // the current line
        {left + 1, h / 2, RGB(255, 255, 255)},         // its leading tab keeps the plain background
        {right, h + h / 2, RGB(255, 255, 255)},        // another line
        {2, h + 1, RGB(215, 228, 237)},                // the bar
        {2, 2 * h + 1, RGB(255, 0, 0)},                // the bar of a checked line
        {2, 3 * h + 1, RGB(208, 208, 208)},            // the bar below the last line
        {left - 1, h / 2, RGB(255, 255, 255)},         // the gap
    };
    for (const Probe& p : probes)
        EXPECT_EQ(p.color, canvas.Pixel(p.x, p.y)) << p.x << "," << p.y;
    // A selection over two lines is inverted; no line is current then.
    editor.SetSelectionRange(1, 0, 0, 0, -1);
    editor.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.GetDC()), PRF_CLIENT);
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(right, h / 2));
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(left + 1, h / 2));
}
