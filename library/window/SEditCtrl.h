// An edit on the native "EDIT" class with its own colours, a Return notice to the
// parent, Ctrl+A, no stray control characters, and an optional drop-down list of
// the owner's words that begin with the typed text.
#pragma once
#include <memory>
#include "SWnd.h"
#include "SArrayString.h"
#include "SControlColor.h"
#include "SKeyboard.h"

class SListCtrl;

class SEditCtrl : public SWnd
{
public:
    SEditCtrl();
    ~SEditCtrl() override;

    bool Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR id = 0, LPARAM param = 0);
    // A negative start is the text length: SetSel(-1, -1) puts the caret at the end.
    void SetSel(int start, int end) const;
    // ARGB; opaque black at first.
    void SetTextColor(DWORD argb) { m_textColor = argb; }
    DWORD GetTextColor() const { return m_textColor; }

    // Suggestions: the owner fills the words and switches them on.
    SArrayString& GetSuggestionWords() { return m_words; }
    void SetSuggestionWords(const SArrayString& words) { m_words = words; }
    void EnableSuggestions(bool on);
    bool AreSuggestionsEnabled() const { return m_suggestionsOn; }
    // The list shown under the edit; null while none is shown.
    SListCtrl* GetSuggestionList() const { return m_list.get(); }
    void CloseSuggestions();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColorEdit(HDC dc) override;
    HBRUSH OnCtlColorStatic(HDC dc) override;

private:
    LRESULT OnKeyDown(WPARAM key, LPARAM lParam);
    LRESULT OnKeyUp(WPARAM key, LPARAM lParam);
    bool SwallowsChar(WPARAM character) const;
    void RunSuggestionStep(int key);
    bool OpenSuggestionList();
    void FillSuggestionList(const SArray<int>& matches);
    void FillClientRect(HDC dc) const;

    SKeyboard m_keyboard;
    DWORD m_textColor;
    SControlColor m_color;
    SArrayString m_words;
    bool m_suggestionsOn;
    std::unique_ptr<SListCtrl> m_list;
};
