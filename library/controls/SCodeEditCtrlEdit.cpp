// Undo records and the editing operations built on the primitives: edit
// commands, typing, Tab blocks, comment toggling, Delete and Backspace.
#include "SCodeEditCtrl.h"
#include "SDrawing.h"

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsBlankLine(const SString& line)
{
    for (int i = 0; i < line.GetLength(); i++)
        if (!IsBlank(line.GetAt(i)))
            return false;
    return true;
}

int LeadingTabs(const SString& line, int limit)
{
    int n = 0;
    while (n < line.GetLength() && n < limit && line.GetAt(n) == '\t')
        n++;
    return n;
}

int CharClass(char c)
{
    return IsNameChar(c) ? 1 : IsBlank(c) ? 2 : 3;
}
} // namespace

void SCodeEditCtrl::GetWordBounds(const SString& line, int column, int& start, int& end)
{
    const int length = line.GetLength();
    if (length == 0)
    {
        if (start == -1)
            start = 0;
        if (end == -1)
            end = 0;
        return;
    }
    column = column < 0 ? 0 : column >= length ? length - 1 : column;
    if (start == -1)
    {
        int kind = CharClass(line.GetAt(column));
        int from = column;
        // A blank right after a word selects the word.
        if (kind == 2 && column > 0 && CharClass(line.GetAt(column - 1)) == 1)
        {
            kind = 1;
            from = column - 1;
        }
        while (from > 0 && CharClass(line.GetAt(from - 1)) == kind)
            from--;
        start = from;
    }
    if (end == -1)
    {
        const int kind = CharClass(line.GetAt(start < length ? start : length - 1));
        int to = start;
        while (to < length && CharClass(line.GetAt(to)) == kind)
            to++;
        end = to;
    }
}

// --- Undo -------------------------------------------------------------------

void SCodeEditCtrl::PushUndo(int firstLine, int savedCount, int linesAfter)
{
    if (m_undo.GetCount() >= UNDO_LIMIT)
        m_undo.DeleteAndRemoveAt(0, 1);
    _SUndo* record = new _SUndo;
    if (firstLine < 0)
        firstLine = 0;
    for (int i = firstLine; i < firstLine + savedCount && i < GetLineCount(); i++)
        record->SArray<SString*>::Add(LineAt(i));
    record->firstLine = firstLine;
    record->savedCount = record->GetCount();
    record->linesAfter = linesAfter;
    record->caretLine = GetCaretLine();
    record->caretColumn = GetCaretColumn();
    m_undo.Add(record);
}

bool SCodeEditCtrl::ApplyUndo()
{
    if (m_undo.GetCount() == 0)
        return false;
    _SUndo* record = m_undo.GetAt(m_undo.GetCount() - 1);
    const int oldCount = GetLineCount();
    const int first = record->firstLine;
    for (int i = 1; i < record->savedCount; i++)
        InsertLine(first);
    for (int i = 0; i < record->savedCount; i++)
    {
        SString* line = LineAt(first + i);
        const SString* saved = record->SArray<SString*>::GetAt(i);
        if (line)
            line->Assign(saved->GetText(), saved->GetLength());
    }
    for (int i = 0; i < record->linesAfter && first + record->savedCount < GetLineCount(); i++)
        DeleteLine(first + record->savedCount);
    SetSelectionRange(record->caretLine, record->caretColumn, -1, -1, -1);
    m_undo.DeleteAndRemoveAt(m_undo.GetCount() - 1, 1);
    CheckDigits(oldCount);
    return true;
}

void SCodeEditCtrl::PopUndo()
{
    if (m_undo.GetCount() > 0)
        m_undo.DeleteAndRemoveAt(m_undo.GetCount() - 1, 1);
}

void SCodeEditCtrl::ClearUndo()
{
    m_undo.DeleteAndRemoveAll();
}

// --- Edit commands ----------------------------------------------------------

void SCodeEditCtrl::OnUndo()
{
    if (StartEdit() && ApplyUndo())
        NotifyEdit();
}

void SCodeEditCtrl::OnCut()
{
    if (!StartEdit() || m_startLine < 0)
        return;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    PushUndo(sl, el - sl + 1, 0);
    // Text the clipboard refused stays where it is: a cut must not lose it.
    if (!HasSelection() || !m_clipboard.SetText(GetSelectedText().GetText()))
    {
        PopUndo();
        return;
    }
    DeleteSelection();
    NotifyEdit();
}

void SCodeEditCtrl::OnCopy()
{
    if (m_open && HasSelection())
        m_clipboard.SetText(GetSelectedText().GetText());
}

void SCodeEditCtrl::OnPaste()
{
    if (!StartEdit())
        return;
    const SString text = m_clipboard.GetText();
    if (text.GetLength() > 0)
        InsertText(text.GetText());
}

void SCodeEditCtrl::OnDelete()
{
    DeleteKey(m_keyboard.IsShiftDown());
}

void SCodeEditCtrl::OnSelectAll()
{
    if (!m_open)
        return;
    const int last = GetLineCount() - 1;
    SetSelection(last, GetLineLength(last), 0, 0, -1, false);
}

void SCodeEditCtrl::OnEscape()
{
    if (!m_open)
        return;
    if (HasSelection())
        SetSelectionRange(GetCaretLine(), GetCaretColumn(), -1, -1, -1);
    m_scrollRequest |= SCROLL_SHOW;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

bool SCodeEditCtrl::InsertText(const char* text)
{
    if (!StartEdit() || !text || m_startLine < 0)
        return false;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    // The lines the text adds: one per line feed (none in a single-line editor).
    int added = 0;
    for (const char* p = text; *p && !m_singleLine; p++)
        added += *p == '\n';
    PushUndo(sl, el - sl + 1, added);
    if (!InsertAtCaret(text))
    {
        PopUndo();
        return false;
    }
    NotifyEdit();
    return true;
}

// --- Blocks: comments and Tab -----------------------------------------------

void SCodeEditCtrl::CommentBlock(int& first, int& last) const
{
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    first = sl;
    last = el > sl && ec == 0 ? el - 1 : el;
}

bool SCodeEditCtrl::CommentLines()
{
    if (!StartEdit() || m_startLine < 0)
        return false;
    int first, last, sl, sc, el, ec;
    CommentBlock(first, last);
    GetSelection(sl, sc, el, ec);
    const bool caretAtStart = m_caretAtStart;
    PushUndo(first, last - first + 1, last - first);
    bool changed = false;
    for (int i = first; i <= last; i++)
    {
        SString* line = LineAt(i);
        if (IsBlankLine(*line))
            continue;
        const int at = LeadingTabs(*line, line->GetLength());
        line->Insert("//", at);
        changed = true;
        if (i == sl && sc > at)
            sc += 2;
        if (i == el && ec > at)
            ec += 2;
    }
    if (!changed)
    {
        PopUndo();
        return false;
    }
    if (HasSelection())
        SetSelectionRange(caretAtStart ? sl : el, caretAtStart ? sc : ec, caretAtStart ? el : sl,
                          caretAtStart ? ec : sc, -1);
    else
        SetSelectionRange(sl, sc, -1, -1, -1);
    NotifyEdit();
    return true;
}

bool SCodeEditCtrl::UncommentLines()
{
    if (!StartEdit() || m_startLine < 0)
        return false;
    int first, last, sl, sc, el, ec;
    CommentBlock(first, last);
    GetSelection(sl, sc, el, ec);
    const bool caretAtStart = m_caretAtStart;
    PushUndo(first, last - first + 1, last - first);
    bool changed = false;
    for (int i = first; i <= last; i++)
    {
        SString* line = LineAt(i);
        int at = 0;
        while (at < line->GetLength() && IsBlank(line->GetAt(at)))
            at++;
        if (at + 1 >= line->GetLength() || line->GetAt(at) != '/' || line->GetAt(at + 1) != '/')
            continue;
        const int slash = line->FindChar('/');
        line->Delete(slash, 2);
        changed = true;
        if (i == sl && sc >= 2 && sc > slash)
            sc -= 2;
        if (i == el && ec >= 2 && ec > slash)
            ec -= 2;
    }
    if (!changed)
    {
        PopUndo();
        return false;
    }
    if (HasSelection())
        SetSelectionRange(caretAtStart ? sl : el, caretAtStart ? sc : ec, caretAtStart ? el : sl,
                          caretAtStart ? ec : sc, -1);
    else
        SetSelectionRange(sl, sc, -1, -1, -1);
    NotifyEdit();
    return true;
}

bool SCodeEditCtrl::TabKey(bool shift)
{
    if (!StartEdit() || m_startLine < 0)
        return false;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    if (sl == el)
    {
        PushUndo(sl, 1, 0);
        InsertAtCaret("\t");
        NotifyEdit();
        return true;
    }
    const int last = ec == 0 ? el - 1 : el;
    PushUndo(sl, last - sl + 1, last - sl);
    bool changed = false;
    for (int i = sl; i <= last; i++)
    {
        SString* line = LineAt(i);
        if (!shift)
            line->Insert("\t", 0);
        else if (line->GetLength() > 0 && line->GetAt(0) == '\t')
            line->Delete(0, 1);
        else
            continue;
        changed = true;
    }
    if (!changed)
    {
        PopUndo();
        return false;
    }
    if (last + 1 < GetLineCount())
        SetSelectionRange(sl, 0, last + 1, 0, 0);
    else
        SetSelectionRange(sl, 0, last, GetLineLength(last), 0);
    NotifyEdit();
    return true;
}

// --- Typing, Delete and Backspace -------------------------------------------

void SCodeEditCtrl::TypeLineBreak()
{
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    SString text("\r\n");
    for (int i = m_autoIndent ? LeadingTabs(*LineAt(sl), sc) : 0; i > 0; i--)
        text += '\t';
    PushUndo(sl, el - sl + 1, 1);
    InsertAtCaret(text.GetText());
}

void SCodeEditCtrl::OnChar(int character, bool ctrl)
{
    if (!m_open || !FilterChar(character) || m_readOnly || m_startLine < 0)
        return;
    if (character == '\r')
    {
        if (ctrl || m_singleLine)
            return;
        TypeLineBreak();
    }
    else
    {
        if (character < 31 || (character == ' ' && ctrl))
            return;
        int sl, sc, el, ec;
        GetSelection(sl, sc, el, ec);
        PushUndo(sl, el - sl + 1, 0);
        const char text[2] = {static_cast<char>(character), 0};
        InsertAtCaret(text);
    }
    OnCharInserted(character);
    NotifyEdit();
}

bool SCodeEditCtrl::CtrlEnter()
{
    if (m_readOnly || !m_br || m_singleLine || m_startLine < 0)
        return false;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    PushUndo(sl, el - sl + 1, 0);
    InsertAtCaret("<br>");
    TypeLineBreak();
    NotifyEdit();
    return true;
}

bool SCodeEditCtrl::DeleteKey(bool shift)
{
    if (!StartEdit() || m_startLine < 0)
        return false;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    bool done = false;
    if (shift && !HasSelection())
    {
        // The caret line goes with its line break; the last line has none and is emptied.
        const bool last = sl + 1 >= GetLineCount();
        PushUndo(sl, last ? 1 : 2, 0);
        if (last)
            SetSelectionRange(sl, 0, sl, GetLineLength(sl), 0);
        else
            SetSelectionRange(sl, 0, sl + 1, 0, 0);
        done = HasSelection() ? DeleteForward() : false;
        SetSelectionRange(sl, 0, -1, -1, -1);
    }
    else
    {
        const bool joins = !HasSelection() && sc >= GetLineLength(sl) && sl + 1 < GetLineCount();
        PushUndo(sl, joins ? 2 : el - sl + 1, 0);
        done = DeleteForward();
    }
    if (!done)
    {
        PopUndo();
        return false;
    }
    NotifyEdit();
    return true;
}

bool SCodeEditCtrl::BackspaceKey()
{
    if (!StartEdit() || m_startLine < 0)
        return false;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    if (!HasSelection() && sc == 0)
        PushUndo(sl - 1, 2, 0);
    else
        PushUndo(sl, el - sl + 1, 0);
    if (!DeleteBackward())
    {
        PopUndo();
        return false;
    }
    NotifyEdit();
    return true;
}

// --- Per-line marks ---------------------------------------------------------

// The check and cross marks show in the bar, so setting one redraws.
bool SCodeEditCtrl::SetLineMark(SArray<BYTE>& marks, int line, bool on)
{
    if (line < 0 || line >= marks.GetCount())
        return false;
    marks.SetAt(line, on ? 1 : 0);
    if (m_handle)
        InvalidateRect(nullptr, true);
    return true;
}

bool SCodeEditCtrl::SetLineCheck(int line, bool on)
{
    return SetLineMark(m_checks, line, on);
}

bool SCodeEditCtrl::SetLineCross(int line, bool on)
{
    return SetLineMark(m_crosses, line, on);
}

bool SCodeEditCtrl::SetLineValue(int line, int value)
{
    if (line < 0 || line >= m_values.GetCount())
        return false;
    m_values.SetAt(line, value);
    return true;
}

bool SCodeEditCtrl::GetLineCheck(int line) const
{
    return line >= 0 && line < m_checks.GetCount() && m_checks.GetAt(line) != 0;
}

bool SCodeEditCtrl::GetLineCross(int line) const
{
    return line >= 0 && line < m_crosses.GetCount() && m_crosses.GetAt(line) != 0;
}

int SCodeEditCtrl::GetLineValue(int line) const
{
    return line >= 0 && line < m_values.GetCount() ? m_values.GetAt(line) : 0;
}
