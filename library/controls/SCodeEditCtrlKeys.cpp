// The editor's key table: caret moves with and without the anchor, Tab,
// Backspace, Ctrl+Enter, comment keys and F3.
#include "SCodeEditCtrl.h"

void SCodeEditCtrl::MoveCaretTo(int line, int column, bool keepAnchor)
{
    if (keepAnchor)
    {
        int anchorLine = m_startLine, anchorColumn = m_startColumn;
        if (HasSelection() && m_caretAtStart)
        {
            anchorLine = m_endLine;
            anchorColumn = m_endColumn;
        }
        SetSelectionRange(line, column, anchorLine, anchorColumn, -1);
    }
    else
        SetSelectionRange(line, column, -1, -1, -1);
    m_scrollRequest |= SCROLL_SHOW;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

// A vertical move keeps the visual column of the base position.
void SCodeEditCtrl::VerticalMove(int lines, bool shift)
{
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    int baseLine = GetCaretLine(), baseColumn = GetCaretColumn();
    if (!shift && lines < 0)
        baseLine = sl, baseColumn = sc;
    else if (!shift)
        baseLine = el, baseColumn = ec;
    int target = baseLine + lines;
    target = target < 0 ? 0 : target >= GetLineCount() ? GetLineCount() - 1 : target;
    const int visual = ExpandedWidth(*LineAt(baseLine), baseColumn);
    MoveCaretTo(target, ColumnFromVisual(*LineAt(target), visual, false), shift);
}

void SCodeEditCtrl::MoveHome(bool shift, bool ctrl)
{
    if (ctrl)
    {
        MoveCaretTo(0, 0, shift);
        return;
    }
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    const int line = shift ? GetCaretLine() : sl;
    const int column = shift ? GetCaretColumn() : sc;
    if (!shift && sl != el)
    {
        MoveCaretTo(sl, 0, false);
        return;
    }
    const SString& text = *LineAt(line);
    int tabs = 0;
    while (tabs < text.GetLength() && text.GetAt(tabs) == '\t')
        tabs++;
    MoveCaretTo(line, column == tabs ? 0 : tabs, shift);
}

void SCodeEditCtrl::MoveEnd(bool shift, bool ctrl)
{
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    int line = shift ? GetCaretLine() : el;
    if (ctrl)
        line = GetLineCount() - 1;
    MoveCaretTo(line, GetLineLength(line), shift);
}

void SCodeEditCtrl::MoveLeft(bool shift, bool ctrl)
{
    int line = GetCaretLine(), column = GetCaretColumn();
    if (!shift && !ctrl && HasSelection())
    {
        MoveCaretTo(m_startLine, m_startColumn, false);
        return;
    }
    if (ctrl && column > 0)
    {
        int start = -1, end = -1;
        GetWordBounds(*LineAt(line), column - 1, start, end);
        column = start;
    }
    else
        MoveByChars(line, column, -1);
    MoveCaretTo(line, column, shift);
}

void SCodeEditCtrl::MoveRight(bool shift, bool ctrl)
{
    int line = GetCaretLine(), column = GetCaretColumn();
    if (!shift && !ctrl && HasSelection())
    {
        MoveCaretTo(m_endLine, m_endColumn, false);
        return;
    }
    if (ctrl && column < GetLineLength(line))
    {
        int start = column, end = -1;
        GetWordBounds(*LineAt(line), column, start, end);
        column = end;
    }
    else
        MoveByChars(line, column, 1);
    MoveCaretTo(line, column, shift);
}

void SCodeEditCtrl::OnKeyDown(int key, bool shift, bool ctrl)
{
    if (!m_open || m_startLine < 0 || !FilterKey(key, shift, ctrl))
        return;
    const int page = GetVisibleRows(false);
    switch (key)
    {
    case VK_BACK: BackspaceKey(); break;
    case VK_TAB: TabKey(shift && !ctrl); break;
    case VK_RETURN:
        if (ctrl && !shift)
            CtrlEnter();
        break;
    case VK_UP:
    case VK_DOWN:
        if (ctrl)
        {
            SetVScrollPos(GetFirstVisibleLine() + (key == VK_UP ? -1 : 1), true);
            InvalidateRect(nullptr, true);
        }
        else
            VerticalMove(key == VK_UP ? -1 : 1, shift);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (!ctrl)
        {
            const int line = GetCaretLine(), column = GetCaretColumn();
            const int target = line + (key == VK_PRIOR ? -page : page);
            const int clamped = target < 0 ? 0 : target >= GetLineCount() ? GetLineCount() - 1 : target;
            const int visual = ExpandedWidth(*LineAt(line), column);
            MoveCaretTo(clamped, ColumnFromVisual(*LineAt(clamped), visual, false), shift);
        }
        break;
    case VK_HOME: MoveHome(shift, ctrl); break;
    case VK_END: MoveEnd(shift, ctrl); break;
    case VK_LEFT: MoveLeft(shift, ctrl); break;
    case VK_RIGHT: MoveRight(shift, ctrl); break;
    case VK_DELETE:
        // Plain Delete arrives as the Delete command; Shift+Delete only here.
        if (shift && !ctrl)
            DeleteKey(true);
        break;
    case 'U':
        if (ctrl && !shift)
            UncommentLines();
        break;
    case 'Y':
        if (ctrl && !shift)
            CommentLines();
        break;
    case VK_F3:
        if (FindNext(false))
        {
            m_scrollRequest |= SCROLL_SHOW | SCROLL_CENTRE;
            if (m_handle)
                InvalidateRect(nullptr, true);
        }
        break;
    default:
        break;
    }
    OnKeyHandled(key, shift, ctrl);
}
