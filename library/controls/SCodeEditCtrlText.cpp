// The editor's text model: lines, document, caret and selection, and the
// editing primitives. Lines may hold any byte, NUL included, so line texts are
// always copied with their lengths.
#include "SCodeEditCtrl.h"
#include <cstring>
#include "SVirtualFile.h"

namespace
{
void InsertBytes(SString* line, int at, const char* data, int n)
{
    if (n <= 0)
        return;
    const int old = line->GetLength();
    line->SetLength(old + n);
    char* buffer = line->GetBuffer();
    memmove(buffer + at + n, buffer + at, old - at);
    memcpy(buffer + at, data, n);
}

void AppendBytes(SString* line, const char* data, int n)
{
    InsertBytes(line, line->GetLength(), data, n);
}

int Digits(int n)
{
    int digits = 1;
    for (; n >= 10; n /= 10)
        digits++;
    return digits;
}
} // namespace

SString* SCodeEditCtrl::LineAt(int i) const
{
    return i >= 0 && i < m_lines.GetCount() ? m_lines.SArray<SString*>::GetAt(i) : nullptr;
}

const SString* SCodeEditCtrl::GetLine(int i) const
{
    return LineAt(i);
}

int SCodeEditCtrl::GetLineLength(int i, bool raw) const
{
    const SString* line = LineAt(i);
    if (!line)
        return 0;
    return raw ? line->GetLength() : ExpandedWidth(*line, line->GetLength());
}

SString SCodeEditCtrl::GetAllText() const
{
    SString text("");
    for (int i = 0; i < GetLineCount(); i++)
    {
        if (i > 0)
            AppendBytes(&text, "\r\n", 2);
        AppendBytes(&text, LineAt(i)->GetText(), LineAt(i)->GetLength());
    }
    return text;
}

bool SCodeEditCtrl::HasText() const
{
    return m_open && (GetLineCount() > 1 || (GetLineCount() == 1 && LineAt(0)->GetLength() > 0));
}

void SCodeEditCtrl::NotifyEdit(bool centre)
{
    m_scrollRequest |= SCROLL_SHOW | (centre ? SCROLL_CENTRE : 0);
    if (!m_handle)
        return;
    NotifyChanged(0);
    InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::CheckDigits(int oldCount)
{
    if (m_lineNumbers && Digits(oldCount) != Digits(GetLineCount()))
        UpdateLayout();
}

// A new or loaded text starts with the caret at its start and no selection.
void SCodeEditCtrl::FinishOpening(const char* name)
{
    m_startLine = m_startColumn = 0;
    m_endLine = m_endColumn = -1;
    m_open = true;
    if (name)
        m_fileName = name;
    UpdateLayout();
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::New(const char* name)
{
    Close(false);
    InsertLine(-1);
    FinishOpening(name);
}

bool SCodeEditCtrl::LoadFromStream(SVirtualFile* stream, const char* name)
{
    if (!stream)
        return false;
    Close(false);
    bool ended = false;
    while (!stream->IsEnd())
    {
        const SString line = stream->ReadLine(true, -1, &ended);
        SString* added = InsertLine(-1);
        added->Assign(line.GetText(), line.GetLength());
        if (m_singleLine)
            ended = false;
    }
    if (ended || GetLineCount() == 0)
        InsertLine(-1);
    FinishOpening(name);
    return true;
}

bool SCodeEditCtrl::SaveToStream(SVirtualFile* stream, const char* name)
{
    if (!stream)
        return false;
    bool complete = true;
    for (int i = 0; i < GetLineCount() && complete; i++)
    {
        const SString* line = LineAt(i);
        if (line->GetLength() > 0)
            complete = stream->WriteText(line->GetText(), line->GetLength()) == line->GetLength();
        if (complete && i + 1 < GetLineCount())
            complete = stream->WriteText("\r\n", 2) == 2;
    }
    m_fileName = name ? name : "";
    return complete;
}

void SCodeEditCtrl::Close(bool redraw)
{
    if (!m_open)
        return;
    CloseFindDialog();
    m_scrollRequest = 0;
    if (m_handle)
    {
        for (int vertical = 0; vertical < 2; vertical++)
        {
            SetScrollRange(vertical != 0, 0, 0, 0, true);
            SetScrollPos(vertical != 0, 0, true);
            SetScrollSteps(vertical != 0, 1, 5, 1);
        }
    }
    m_scrollRangeV = m_scrollPageV = m_scrollRangeH = m_scrollPageH = -1;
    m_startLine = m_startColumn = m_endLine = m_endColumn = -1;
    m_lines.DeleteAndRemoveAll();
    m_checks.RemoveAll();
    m_crosses.RemoveAll();
    m_values.RemoveAll();
    m_goto.reset();
    ClearUndo();
    m_open = false;
    m_fileName = "";
    if (redraw && m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::SetSingleLine(bool on)
{
    m_singleLine = on;
    if (!on)
        return;
    while (GetLineCount() > 1)
        DeleteLine(1);
    ClampPosition(m_startLine, m_startColumn);
    ClampPosition(m_endLine, m_endColumn);
    if (m_endLine == m_startLine && m_endColumn == m_startColumn)
        m_endLine = m_endColumn = -1;
    m_vScrollShown = m_hScrollShown = false;
    if (m_handle)
    {
        ShowScrollBar(true, false);
        ShowScrollBar(false, false);
    }
}

void SCodeEditCtrl::SetScrollBarsShown(int which, bool shown)
{
    if (which == 0 || which == 3)
        m_hScrollShown = shown;
    if (which == 1 || which == 3)
        m_vScrollShown = shown;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

// --- Caret and selection ----------------------------------------------------

void SCodeEditCtrl::ClampPosition(int& line, int& column) const
{
    if (line < 0 || column < 0 || GetLineCount() == 0)
    {
        line = column = -1;
        return;
    }
    if (line >= GetLineCount())
        line = GetLineCount() - 1;
    if (column > LineAt(line)->GetLength())
        column = LineAt(line)->GetLength();
}

void SCodeEditCtrl::SetSelectionRange(int caretLine, int caretColumn, int otherLine, int otherColumn, int mode)
{
    ClampPosition(caretLine, caretColumn);
    ClampPosition(otherLine, otherColumn);
    const int old[5] = {m_startLine, m_startColumn, m_endLine, m_endColumn, m_caretAtStart ? 1 : 0};
    if (caretLine < 0)
    {
        m_startLine = m_startColumn = m_endLine = m_endColumn = -1;
        m_caretAtStart = false;
    }
    else if (otherLine < 0 || (otherLine == caretLine && otherColumn == caretColumn))
    {
        m_startLine = caretLine;
        m_startColumn = caretColumn;
        m_endLine = m_endColumn = -1;
        m_caretAtStart = false;
    }
    else
    {
        const bool caretFirst = caretLine < otherLine || (caretLine == otherLine && caretColumn < otherColumn);
        m_startLine = caretFirst ? caretLine : otherLine;
        m_startColumn = caretFirst ? caretColumn : otherColumn;
        m_endLine = caretFirst ? otherLine : caretLine;
        m_endColumn = caretFirst ? otherColumn : caretColumn;
        m_caretAtStart = mode == 0 ? true : mode == 1 ? false : caretFirst;
    }
    const int now[5] = {m_startLine, m_startColumn, m_endLine, m_endColumn, m_caretAtStart ? 1 : 0};
    if (m_open && memcmp(old, now, sizeof(old)) != 0)
        OnSelectionChanged();
}

void SCodeEditCtrl::SetSelection(int caretLine, int caretColumn, int otherLine, int otherColumn, int mode,
                                 bool centre)
{
    SetSelectionRange(caretLine, caretColumn, otherLine, otherColumn, mode);
    m_scrollRequest |= SCROLL_SHOW | (centre ? SCROLL_CENTRE : 0);
    if (m_handle)
        InvalidateRect(nullptr, true);
}

bool SCodeEditCtrl::GetSelection(int& startLine, int& startColumn, int& endLine, int& endColumn) const
{
    startLine = m_startLine;
    startColumn = m_startColumn;
    endLine = m_endLine < 0 ? m_startLine : m_endLine;
    endColumn = m_endLine < 0 ? m_startColumn : m_endColumn;
    return m_startLine < 0 || m_endLine < 0 || m_caretAtStart;
}

int SCodeEditCtrl::GetCaretLine() const
{
    return m_caretAtStart || m_endLine < 0 ? m_startLine : m_endLine;
}

int SCodeEditCtrl::GetCaretColumn() const
{
    return m_caretAtStart || m_endLine < 0 ? m_startColumn : m_endColumn;
}

SString SCodeEditCtrl::GetSelectedText() const
{
    SString text("");
    if (!HasSelection())
        return text;
    for (int i = m_startLine; i <= m_endLine; i++)
    {
        const SString* line = LineAt(i);
        const int from = i == m_startLine ? m_startColumn : 0;
        const int to = i == m_endLine ? m_endColumn : line->GetLength();
        if (i > m_startLine)
            AppendBytes(&text, "\r\n", 2);
        AppendBytes(&text, line->GetText() + from, to - from);
    }
    return text;
}

// --- Primitives -------------------------------------------------------------

SString* SCodeEditCtrl::InsertLine(int index)
{
    if (m_singleLine && GetLineCount() > 0)
        return LineAt(0);
    if (index < 0 || index > GetLineCount())
        index = GetLineCount();
    SString empty("");
    m_lines.SArray<SString*>::InsertAt(&empty, index, 1);
    m_checks.InsertAt(0, index, 1);
    m_crosses.InsertAt(0, index, 1);
    m_values.InsertAt(0, index, 1);
    return LineAt(index);
}

void SCodeEditCtrl::DeleteLine(int index)
{
    if (index < 0 || index >= GetLineCount())
        return;
    if (GetLineCount() == 1)
    {
        LineAt(0)->Assign("", 0);
        return;
    }
    m_lines.DeleteAndRemoveAt(index, 1);
    m_checks.RemoveAt(index, 1);
    m_crosses.RemoveAt(index, 1);
    m_values.RemoveAt(index, 1);
}

bool SCodeEditCtrl::DeleteSelection()
{
    if (!HasSelection())
        return false;
    const int oldCount = GetLineCount();
    const int sl = m_startLine, sc = m_startColumn, el = m_endLine, ec = m_endColumn;
    SString* start = LineAt(sl);
    if (sc > 0 || sl == el)
        start->Delete(sc, (sl == el ? ec : start->GetLength()) - sc);
    if (el != sl)
    {
        LineAt(el)->Delete(0, ec);
        for (int i = el - 1; i > sl; i--)
            DeleteLine(i);
        if (sc > 0)
        {
            AppendBytes(start, LineAt(sl + 1)->GetText(), LineAt(sl + 1)->GetLength());
            DeleteLine(sl + 1);
        }
        else
            DeleteLine(sl);
    }
    SetSelectionRange(sl, sc, -1, -1, -1);
    CheckDigits(oldCount);
    return true;
}

bool SCodeEditCtrl::InsertAtCaret(const char* text)
{
    DeleteSelection();
    if (m_startLine < 0 || !text)
        return false;
    const int oldCount = GetLineCount();
    // The pieces between line feeds, each without one trailing carriage return;
    // a single-line editor joins them.
    SArrayString pieces;
    const char* begin = text;
    for (const char* p = text;; p++)
    {
        if (*p == '\n' || *p == 0)
        {
            int length = static_cast<int>(p - begin);
            if (length > 0 && begin[length - 1] == '\r')
                length--;
            SString piece;
            piece.Assign(begin, length);
            if (m_singleLine && pieces.GetCount() > 0)
                *pieces.SArray<SString*>::GetAt(0) += piece.GetText();
            else
                pieces.SArray<SString*>::Add(&piece);
            if (*p == 0)
                break;
            begin = p + 1;
        }
    }
    const int line = m_startLine, column = m_startColumn, n = pieces.GetCount();
    SString* caretLine = LineAt(line);
    if (n > 1)
    {
        for (int i = 1; i < n; i++)
            InsertLine(line + i);
        SString* last = LineAt(line + n - 1);
        last->Assign(caretLine->GetText() + column, caretLine->GetLength() - column);
        caretLine->Truncate(column);
    }
    for (int i = 0; i < n; i++)
    {
        const SString* piece = pieces.SArray<SString*>::GetAt(i);
        InsertBytes(LineAt(line + i), i == 0 ? column : 0, piece->GetText(), piece->GetLength());
    }
    const int lastLength = pieces.SArray<SString*>::GetAt(n - 1)->GetLength();
    if (n > 1)
        SetSelectionRange(line + n - 1, lastLength, -1, -1, -1);
    else
        SetSelectionRange(line, column + lastLength, -1, -1, -1);
    CheckDigits(oldCount);
    return true;
}

bool SCodeEditCtrl::DeleteForward()
{
    if (HasSelection())
        return DeleteSelection();
    const int line = m_startLine, column = m_startColumn;
    if (line < 0)
        return false;
    SString* text = LineAt(line);
    if (column < text->GetLength())
    {
        text->Delete(column, 1);
        return true;
    }
    if (line + 1 >= GetLineCount())
        return false;
    const int oldCount = GetLineCount();
    AppendBytes(text, LineAt(line + 1)->GetText(), LineAt(line + 1)->GetLength());
    DeleteLine(line + 1);
    CheckDigits(oldCount);
    return true;
}

bool SCodeEditCtrl::DeleteBackward()
{
    if (HasSelection())
        return DeleteSelection();
    const int line = m_startLine, column = m_startColumn;
    if (line < 0 || (line == 0 && column == 0))
        return false;
    if (column > 0)
    {
        LineAt(line)->Delete(column - 1, 1);
        SetSelectionRange(line, column - 1, -1, -1, -1);
        return true;
    }
    const int oldCount = GetLineCount();
    SString* previous = LineAt(line - 1);
    const int joint = previous->GetLength();
    AppendBytes(previous, LineAt(line)->GetText(), LineAt(line)->GetLength());
    DeleteLine(line);
    SetSelectionRange(line - 1, joint, -1, -1, -1);
    CheckDigits(oldCount);
    return true;
}

void SCodeEditCtrl::MoveByChars(int& line, int& column, int n) const
{
    if (line < 0 || GetLineCount() == 0)
        return;
    ClampPosition(line, column);
    for (; n > 0; n--)
    {
        if (column < LineAt(line)->GetLength())
            column++;
        else if (line + 1 < GetLineCount())
        {
            line++;
            column = 0;
        }
        else
            return;
    }
    for (; n < 0; n++)
    {
        if (column > 0)
            column--;
        else if (line > 0)
        {
            line--;
            column = LineAt(line)->GetLength();
        }
        else
            return;
    }
}
