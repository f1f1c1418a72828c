// Painting of the editor: the margin bar, lines cut into coloured tokens, the
// current line, the inverted selection; then scroll ranges and the caret.
#include "SCodeEditCtrl.h"
#include "SDrawing.h"
#include "SGuards.h"

namespace
{
class Tokenizer
{
public:
    Tokenizer(SArray<SCodeEditCtrl::_SToken>& out) : out(out) {}
    void Emit(int kind, int keyword, int end)
    {
        if (end > start)
            out.Add({start, end - start, kind, keyword});
        start = end;
    }
    SArray<SCodeEditCtrl::_SToken>& out;
    int start = 0;
};
} // namespace

void SCodeEditCtrl::TokenizeLine(const SString& line, SArray<_SToken>& tokens) const
{
    tokens.RemoveAll();
    Tokenizer t(tokens);
    bool inString = false, inComment = false, inWord = false;
    const int length = line.GetLength();
    // The rule of the word from the token start to end: keyword, upper-case name or none.
    auto wordRule = [&](int end, int& keyword) {
        const SString word = line.Mid(t.start, end - t.start);
        keyword = FindKeyword(word.GetText());
        if (keyword >= 0)
            return static_cast<int>(TOKEN_KEYWORD);
        return m_upperWords && IsUpperCaseName(word.GetText()) ? static_cast<int>(TOKEN_UPPER) : -1;
    };
    for (int i = 0; i < length; i++)
    {
        const char c = line.GetAt(i);
        if (inString)
        {
            if (c == '"')
            {
                t.Emit(TOKEN_STRING, -1, i + 1);
                inString = false;
            }
            continue;
        }
        if (inComment)
            continue;
        if (IsNameChar(c))
        {
            if (!inWord)
                t.Emit(TOKEN_PLAIN, -1, i);
            inWord = true;
            continue;
        }
        if (inWord)
        {
            int keyword = -1;
            const int rule = wordRule(i, keyword);
            if (rule >= 0)
                t.Emit(rule, keyword, i);
            inWord = false;
        }
        if (c == '"')
        {
            t.Emit(TOKEN_PLAIN, -1, i);
            inString = true;
        }
        else if (c == '/')
        {
            t.Emit(TOKEN_PLAIN, -1, i);
            if (m_comments && i + 1 < length && line.GetAt(i + 1) == '/')
            {
                inComment = true;
                i++;
            }
        }
    }
    int keyword = -1;
    int rule = inComment ? TOKEN_COMMENT : inString ? TOKEN_STRING : TOKEN_PLAIN;
    if (inWord && wordRule(length, keyword) >= 0)
        rule = wordRule(length, keyword);
    t.Emit(rule, rule == TOKEN_KEYWORD ? keyword : -1, length);
}

int SCodeEditCtrl::ExpandedWidth(const SString& line, int column) const
{
    int visual = 0;
    for (int i = 0; i < column && i < line.GetLength(); i++)
        visual = line.GetAt(i) == '\t' ? (visual / m_tabSize + 1) * m_tabSize : visual + 1;
    return visual;
}

int SCodeEditCtrl::ColumnFromVisual(const SString& line, int visual, bool nearest) const
{
    int at = 0;
    for (int i = 0; i < line.GetLength(); i++)
    {
        const int next = line.GetAt(i) == '\t' ? (at / m_tabSize + 1) * m_tabSize : at + 1;
        // Past the middle of a cell (or of a tab's span) the point goes after the character.
        if (nearest ? 2 * visual < at + next : visual < next)
            return i;
        at = next;
    }
    return line.GetLength();
}

void SCodeEditCtrl::UpdateLayout()
{
    if (m_handle)
        GetClientRect(&m_clientRect);
    const int bar = GetBarWidth();
    m_barRect = {0, 0, bar, m_clientRect.bottom};
    m_textRect = {bar + m_gap, 0, m_clientRect.right, m_clientRect.bottom};
    if (m_handle)
        InvalidateRect(nullptr, true);
}

int SCodeEditCtrl::GetFirstVisibleLine() const
{
    return m_handle ? GetVScrollPos() : 0;
}

int SCodeEditCtrl::GetVisibleRows(bool partly) const
{
    const int height = m_textRect.bottom - m_textRect.top;
    const int rows = partly ? (height + m_lineHeight - 1) / m_lineHeight : height / m_lineHeight;
    return rows > 0 ? rows : (partly ? 0 : 1);
}

void SCodeEditCtrl::Paint(HDC dc)
{
    if (!dc)
        return;
    if (m_open)
        PlaceCaret();
    SetBkMode(dc, TRANSPARENT);
    const int rows = GetVisibleRows(true);
    for (int r = 0; r < rows; r++)
        PaintRow(dc, r);
}

void SCodeEditCtrl::PaintRow(HDC dc, int row)
{
    const int line = GetFirstVisibleLine() + row;
    const int top = row * m_lineHeight;
    const RECT text = {m_textRect.left, top, m_textRect.right, top + m_lineHeight};
    const RECT bar = {m_barRect.left, top, m_barRect.right, top + m_lineHeight};
    const RECT gap = {m_barRect.right, top, m_textRect.left, top + m_lineHeight};
    const bool exists = m_open && line < GetLineCount();
    const bool current = exists && line == GetCaretLine() && (m_endLine < 0 || m_startLine == m_endLine);
    FillRect(dc, &text, current ? m_currentBrush : m_backBrush);
    FillRect(dc, &bar, exists ? m_barBrush : m_greyBrush);
    FillRect(dc, &gap, m_backBrush);
    if (!exists)
        return;
    PaintBar(dc, bar, line);
    PaintTokens(dc, row, line, current);
    PaintSelection(dc, row, line);
}

void SCodeEditCtrl::PaintBar(HDC dc, const RECT& bar, int line)
{
    if (GetLineCheck(line))
        FillRect(dc, &bar, m_checkBrush);
    if (GetLineCross(line))
    {
        const int cx = (bar.left + bar.right) / 2, cy = (bar.top + bar.bottom) / 2;
        DrawLineWithPen(dc, cx - 3, cy - 3, cx + 3, cy + 3, m_crossPen);
        DrawLineWithPen(dc, cx + 3, cy - 3, cx - 3, cy + 3, m_crossPen);
    }
    if (!m_lineNumbers)
        return;
    SSelectGuard font(dc, m_numberFont);
    SetTextColor(dc, GetLineCheck(line) ? m_numberCheckColor : m_numberColor);
    RECT place = bar;
    const SString number = IntToString(line + 1);
    DrawTextA(dc, number.GetText(), number.GetLength(), &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void SCodeEditCtrl::PaintTokens(HDC dc, int row, int line, bool current)
{
    const SString& text = *LineAt(line);
    const int top = row * m_lineHeight;
    const int scroll = m_handle ? GetHScrollPos() : 0;
    if (current)
    {
        // The leading tabs of the current line keep the plain background.
        int tabs = 0;
        while (tabs < text.GetLength() && text.GetAt(tabs) == '\t')
            tabs++;
        const int right = m_textRect.left + (ExpandedWidth(text, tabs) - scroll) * m_charWidth;
        if (right > m_textRect.left)
        {
            const RECT plain = {m_textRect.left, top, right, top + m_lineHeight};
            FillRect(dc, &plain, m_backBrush);
        }
    }
    SArray<_SToken> tokens;
    TokenizeLine(text, tokens);
    int x = m_textRect.left - scroll * m_charWidth, visual = 0;
    for (int i = 0; i < tokens.GetCount() && x < m_textRect.right; i++)
        DrawToken(dc, text, tokens.GetAt(i), x, visual, top);
}

void SCodeEditCtrl::DrawToken(HDC dc, const SString& text, const _SToken& token, int& x, int& visual, int top)
{
    SString expanded("");
    for (int i = token.start; i < token.start + token.length; i++)
    {
        const char c = text.GetAt(i);
        const int next = c == '\t' ? (visual / m_tabSize + 1) * m_tabSize : visual + 1;
        if (c == '\t')
            expanded.SetLength(expanded.GetLength() + next - visual, ' ');
        else
            expanded.SetLength(expanded.GetLength() + 1, c);
        visual = next;
    }
    COLORREF color = m_textColor;
    HFONT font = m_font;
    if (token.kind == TOKEN_COMMENT)
        color = m_commentColor;
    else if (token.kind == TOKEN_STRING && m_strings)
        color = m_stringColor;
    else if (token.kind == TOKEN_KEYWORD && token.keyword >= 0 && token.keyword < m_keywordColors.GetCount())
    {
        color = static_cast<COLORREF>(m_keywordColors.GetAt(token.keyword));
        if (m_keywordBold.GetAt(token.keyword))
            font = m_boldFont;
    }
    else if (token.kind == TOKEN_UPPER && m_upperWords)
        color = m_upperColor;
    int skip = 0, drawX = x;
    if (x < m_textRect.left)
    {
        skip = (m_textRect.left - x) / m_charWidth;
        drawX = m_textRect.left;
    }
    x += expanded.GetLength() * m_charWidth;
    if (skip >= expanded.GetLength())
        return;
    // Never more than the visible width is handed to GDI.
    int count = expanded.GetLength() - skip;
    const int visible = (m_textRect.right - drawX) / m_charWidth + 2;
    if (count > visible)
        count = visible;
    SSelectGuard select(dc, font);
    SetTextColor(dc, color);
    TextOutA(dc, drawX, top, expanded.GetText() + skip, count);
}

void SCodeEditCtrl::PaintSelection(HDC dc, int row, int line)
{
    if (!HasSelection() || line < m_startLine || line > m_endLine)
        return;
    const SString& text = *LineAt(line);
    const int scroll = m_handle ? GetHScrollPos() : 0;
    const int from = (line == m_startLine ? ExpandedWidth(text, m_startColumn) : 0) - scroll;
    const int to = (line == m_endLine ? ExpandedWidth(text, m_endColumn) : ExpandedWidth(text, text.GetLength())) -
                   scroll;
    int x1 = m_textRect.left + from * m_charWidth;
    if (from < 0)
        x1 = m_textRect.left;
    int x2 = m_textRect.left + to * m_charWidth;
    if (to <= 0)
        x2 = m_textRect.left;
    if (line != m_endLine && (text.GetLength() > 0 || scroll == 0))
        x2 += m_charWidth / 2;
    if (x2 <= x1)
        return;
    const RECT area = {x1, row * m_lineHeight, x2, (row + 1) * m_lineHeight};
    InvertRect(dc, &area);
}

void SCodeEditCtrl::SetScrollRanges()
{
    int widest = 0;
    for (int i = 0; i < GetLineCount(); i++)
    {
        const int width = ExpandedWidth(*LineAt(i), LineAt(i)->GetLength());
        widest = width > widest ? width : widest;
    }
    const int rows = GetVisibleRows(true);
    const int columns = ((m_textRect.right - m_textRect.left) + m_charWidth - 1) / m_charWidth;
    if (m_scrollRangeV != GetLineCount() || m_scrollPageV != rows)
    {
        m_scrollRangeV = GetLineCount();
        m_scrollPageV = rows;
        SetScrollRange(true, 0, m_scrollRangeV, m_scrollPageV, true);
    }
    if (m_scrollRangeH != widest || m_scrollPageH != columns)
    {
        m_scrollRangeH = widest;
        m_scrollPageH = columns;
        SetScrollRange(false, 0, m_scrollRangeH, m_scrollPageH, true);
    }
    if (!m_vScrollShown)
        ShowScrollBar(true, false);
    if (!m_hScrollShown)
        ShowScrollBar(false, false);
}

void SCodeEditCtrl::ServeScrollRequest()
{
    const int line = GetCaretLine();
    if (!m_scrollRequest || line < 0)
        return;
    const int rows = GetVisibleRows(true), full = GetVisibleRows(false);
    int first = GetFirstVisibleLine();
    if (m_scrollRequest & SCROLL_CENTRE)
        first = line < rows / 2 ? 0 : line - rows / 2;
    else if (line < first)
        first = line;
    else if (line >= first + full)
        first = line - full + 1;
    SetVScrollPos(first, true);
    const int visual = ExpandedWidth(*LineAt(line), GetCaretColumn());
    const int columns = (m_textRect.right - m_textRect.left) / m_charWidth;
    int left = GetHScrollPos();
    if (visual < left)
        left = visual;
    else if (columns > 0 && visual >= left + columns)
        left = visual - columns + 1;
    SetHScrollPos(left, true);
    m_scrollRequest = 0;
}

void SCodeEditCtrl::PlaceCaret()
{
    if (!m_handle || !m_open)
        return;
    SetScrollRanges();
    ServeScrollRequest();
    const int line = GetCaretLine();
    if (line < 0)
        return;
    const int x = m_textRect.left +
                  (ExpandedWidth(*LineAt(line), GetCaretColumn()) - GetHScrollPos()) * m_charWidth;
    const int y = (line - GetFirstVisibleLine()) * m_lineHeight;
    if (x < m_textRect.left)
        SetCaretPos(-1000, -1000);
    else
        SetCaretPos(x, y);
}
