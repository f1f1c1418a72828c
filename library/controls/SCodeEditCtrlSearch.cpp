// Find and replace: the search through the lines, replacing one match or all,
// and the common Find and Replace dialogs with their registered message.
#include "SCodeEditCtrl.h"
#include <cstring>
#include "SLibrary.h"

namespace
{
unsigned char Lower(unsigned char c)
{
    static unsigned char table[256];
    static bool filled = false;
    if (!filled)
    {
        for (int i = 0; i < 256; i++)
            table[i] = static_cast<unsigned char>(i);
        CharLowerBuffA(reinterpret_cast<char*>(table + 1), 255);
        filled = true;
    }
    return table[c];
}

void CopyText(char* target, const char* source)
{
    const size_t length = source ? strnlen(source, SCodeEditCtrl::FIND_TEXT_SIZE) : 0;
    memcpy(target, source ? source : "", length);
    target[length] = 0;
}
} // namespace

SCodeEditCtrl::CodeEditFindState& SCodeEditCtrl::GetSharedFindState()
{
    static CodeEditFindState state;
    return state;
}

SCodeEditCtrl::CodeEditFindState& SCodeEditCtrl::GetFindState()
{
    return m_findLocal ? m_find : GetSharedFindState();
}

void SCodeEditCtrl::SetFindText(const char* text)
{
    CopyText(GetFindState().findText, text);
}

void SCodeEditCtrl::SetReplaceText(const char* text)
{
    CopyText(GetFindState().replaceText, text);
}

void SCodeEditCtrl::SetSearchOptions(bool down, bool matchCase, bool wrap)
{
    m_find.down = down;
    m_find.matchCase = matchCase;
    if (!m_findLocal)
    {
        GetSharedFindState().down = down;
        GetSharedFindState().matchCase = matchCase;
    }
    m_wrap = wrap;
}

// The first match lying wholly in the part [from, before) of a line; -1 for none.
int SCodeEditCtrl::FindInLine(int line, const SString& find, int from, int before) const
{
    const SString& text = *LineAt(line);
    const int end = before < 0 || before > text.GetLength() ? text.GetLength() : before;
    const int n = find.GetLength();
    const bool matchCase = const_cast<SCodeEditCtrl*>(this)->GetFindState().matchCase;
    for (int i = from < 0 ? 0 : from; i + n <= end; i++)
    {
        int k = 0;
        while (k < n && (matchCase ? text.GetAt(i + k) == find.GetAt(k)
                                   : Lower(text.GetAt(i + k)) == Lower(find.GetAt(k))))
            k++;
        if (k == n)
            return i;
    }
    return -1;
}

bool SCodeEditCtrl::SearchDown(const SString& find, int line, int column, bool wrap, int stopLine, int stopColumn)
{
    for (int i = line; i < GetLineCount(); i++)
    {
        const int k = FindInLine(i, find, i == line ? column : 0, -1);
        if (k >= 0)
            return SetSelectionRange(i, k + find.GetLength(), i, k, -1), true;
    }
    for (int i = 0; wrap && i <= stopLine && i < GetLineCount(); i++)
    {
        const int k = FindInLine(i, find, 0, i == stopLine ? stopColumn : -1);
        if (k >= 0)
            return SetSelectionRange(i, k + find.GetLength(), i, k, -1), true;
    }
    return false;
}

bool SCodeEditCtrl::SearchUp(const SString& find, int line, int column, bool wrap)
{
    int endLine = line, endColumn = column, sl, sc;
    GetSelection(sl, sc, endLine, endColumn);
    for (int i = line; i >= 0; i--)
    {
        const int k = FindInLine(i, find, 0, i == line ? column : -1);
        if (k >= 0)
            return SetSelectionRange(i, k + find.GetLength(), i, k, -1), true;
    }
    for (int i = GetLineCount() - 1; wrap && i >= endLine; i--)
    {
        const int k = FindInLine(i, find, i == endLine ? endColumn : 0, -1);
        if (k >= 0)
            return SetSelectionRange(i, k + find.GetLength(), i, k, -1), true;
    }
    return false;
}

bool SCodeEditCtrl::FindNext(bool atSelection)
{
    const SString find(GetFindState().findText);
    if (find.GetLength() == 0 || !m_open || m_startLine < 0)
        return false;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    if (atSelection)
        return SearchDown(find, sl, sc, m_wrap, sl, sc);
    if (GetFindState().down)
        return SearchDown(find, el, ec, m_wrap, sl, sc);
    return SearchUp(find, sl, sc, m_wrap);
}

bool SCodeEditCtrl::ReplaceOnce()
{
    if (!StartEdit() || !FindNext(true))
        return false;
    const char* replace = GetFindState().replaceText;
    int sl, sc, el, ec;
    GetSelection(sl, sc, el, ec);
    int added = 0;
    for (const char* p = replace; *p && !m_singleLine; p++)
        added += *p == '\n';
    PushUndo(sl, el - sl + 1, added);
    if (!InsertAtCaret(replace))
    {
        PopUndo();
        return false;
    }
    SetSelectionRange(sl, sc, GetCaretLine(), GetCaretColumn(), 0);
    return true;
}

bool SCodeEditCtrl::ReplaceAll()
{
    if (!StartEdit())
        return false;
    const bool wrap = m_wrap;
    m_wrap = false;
    SetSelectionRange(0, 0, -1, -1, -1);
    bool any = false;
    while (ReplaceOnce())
    {
        any = true;
        // Search on after the replacement; replacing by nothing leaves only a cursor there.
        int sl, sc, el, ec;
        GetSelection(sl, sc, el, ec);
        SetSelectionRange(el, ec, -1, -1, -1);
    }
    m_wrap = wrap;
    return any;
}

// --- Dialogs ----------------------------------------------------------------

bool SCodeEditCtrl::OpenFindDialog(bool replace)
{
    if (m_findDialog)
    {
        ::SetFocus(m_findDialog);
        return true;
    }
    if (!m_handle)
        return false;
    const CodeEditFindState& state = GetFindState();
    m_findRecord.reset(new _SFindDialogData());
    FINDREPLACEA& record = m_findRecord->record;
    record.lStructSize = sizeof(FINDREPLACEA);
    record.hwndOwner = m_handle;
    record.Flags = FR_NOWHOLEWORD | (state.down ? FR_DOWN : 0) | (state.matchCase ? FR_MATCHCASE : 0);
    CopyText(m_findRecord->findText, state.findText);
    record.lpstrFindWhat = m_findRecord->findText;
    record.wFindWhatLen = FIND_TEXT_SIZE;
    if (replace)
    {
        CopyText(m_findRecord->replaceText, state.replaceText);
        record.lpstrReplaceWith = m_findRecord->replaceText;
        record.wReplaceWithLen = FIND_TEXT_SIZE;
    }
    m_findDialog = replace ? ReplaceTextA(&record) : FindTextA(&record);
    if (!m_findDialog)
    {
        m_findRecord.reset();
        return false;
    }
    AddModalKeyExemption(m_findDialog);
    return true;
}

void SCodeEditCtrl::CloseFindDialog()
{
    if (!m_findDialog)
        return;
    HWND dialog = m_findDialog;
    m_findDialog = nullptr;
    RemoveModalKeyExemption(dialog);
    ::DestroyWindow(dialog);
    m_findRecord.reset();
}

void SCodeEditCtrl::TakeDialogSettings(const FINDREPLACEA* record, bool withReplace)
{
    SetSearchOptions((record->Flags & FR_DOWN) != 0, (record->Flags & FR_MATCHCASE) != 0, true);
    SetFindText(record->lpstrFindWhat);
    if (withReplace)
        SetReplaceText(record->lpstrReplaceWith);
}

LRESULT SCodeEditCtrl::OnFindReplaceMessage(FINDREPLACEA* record)
{
    if (!record)
        return 0;
    if (record->Flags & FR_DIALOGTERM)
    {
        if (m_findDialog)
            RemoveModalKeyExemption(m_findDialog);
        m_findDialog = nullptr;
        SetFocus();
        return 0;
    }
    if (record->Flags & FR_FINDNEXT)
    {
        TakeDialogSettings(record, false);
        if (FindNext(false))
        {
            m_scrollRequest |= SCROLL_SHOW | SCROLL_CENTRE;
            if (m_handle)
                InvalidateRect(nullptr, true);
        }
    }
    else if (record->Flags & FR_REPLACE)
    {
        TakeDialogSettings(record, true);
        if (ReplaceOnce())
            NotifyEdit(true);
    }
    else if (record->Flags & FR_REPLACEALL)
    {
        TakeDialogSettings(record, true);
        if (ReplaceAll())
            NotifyEdit(true);
    }
    return 0;
}

void SCodeEditCtrl::OnFind()
{
    if (!m_open)
        return;
    const SString selected = GetSelectedText();
    if (selected.GetLength() > 0)
        SetFindText(selected.Left(FIND_TEXT_SIZE).GetText());
    OpenFindDialog(false);
}

void SCodeEditCtrl::OnReplace()
{
    if (!m_open || m_readOnly)
        return;
    const SString selected = GetSelectedText();
    if (selected.GetLength() > 0)
        SetFindText(selected.Left(FIND_TEXT_SIZE).GetText());
    OpenFindDialog(true);
}
