#include "SEditCtrl.h"
#include "SListCtrl.h"
#include "SNativeCtrl.h"

SEditCtrl::SEditCtrl() : m_textColor(0xFF000000), m_suggestionsOn(false)
{
    SetTypeId(STYPE_EDIT);
}

SEditCtrl::~SEditCtrl()
{
    CloseSuggestions();
}

bool SEditCtrl::Create(const char* text, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                       UINT_PTR id, LPARAM param)
{
    return SNativeCtrl::Create(this, "EDIT", text, style, 0, exStyle, rect, parent, id, param);
}

void SEditCtrl::SetSel(int start, int end) const
{
    if (start < 0)
        start = GetWindowTextLength();
    EditSetSel(start, end);
}

void SEditCtrl::EnableSuggestions(bool on)
{
    m_suggestionsOn = on;
    if (!on)
        CloseSuggestions();
}

void SEditCtrl::CloseSuggestions()
{
    m_list.reset();
}

// A read-only or disabled edit asks through the static request: it looks the same.
HBRUSH SEditCtrl::OnCtlColorEdit(HDC dc)
{
    const COLORREF background = GetBackgroundColor();
    HBRUSH brush = m_color.MakeBrush(background);
    SControlColor::PrepareContext(dc, background);
    SControlColor::SetTextColor(dc, m_textColor);
    return brush;
}

HBRUSH SEditCtrl::OnCtlColorStatic(HDC dc)
{
    return OnCtlColorEdit(dc);
}

void SEditCtrl::FillClientRect(HDC dc) const
{
    RECT client = {};
    GetClientRect(&client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
}

LRESULT SEditCtrl::OnKeyDown(WPARAM key, LPARAM lParam)
{
    if (m_suggestionsOn && m_list)
        return 0; // the list has the key
    if (key == VK_RETURN)
    {
        if (HWND parent = GetParent())
            SharedWindowProc(parent, SWM_EDIT_RETURN, reinterpret_cast<WPARAM>(this), 0);
    }
    else if (key == 'A' && m_keyboard.IsCtrlDown())
        EditSetSel(0, -1);
    return SWnd::WindowProc(WM_KEYDOWN, key, lParam);
}

LRESULT SEditCtrl::OnKeyUp(WPARAM key, LPARAM lParam)
{
    if (m_suggestionsOn)
    {
        RunSuggestionStep(static_cast<int>(key));
        if (m_list && (key == VK_UP || key == VK_DOWN))
        {
            const int selection = m_list->GetSelection();
            if (key == VK_UP && selection > 0)
                m_list->SetSelection(selection - 1);
            else if (key == VK_DOWN && selection + 1 < m_list->GetCount())
                m_list->SetSelection(selection + 1);
            return 0;
        }
    }
    return SWnd::WindowProc(WM_KEYUP, key, lParam);
}

// With Ctrl down, only AltGr characters and the cut, copy, paste and undo keys
// reach the native edit: other control characters would beep or insert junk.
bool SEditCtrl::SwallowsChar(WPARAM character) const
{
    if (character == VK_RETURN)
        return !(GetStyle() & ES_MULTILINE);
    if (!m_keyboard.IsCtrlDown() || m_keyboard.IsAltDown())
        return false;
    static const int KEYS[] = {'X', 'C', 'V', 'Z'};
    for (int key : KEYS)
        if (m_keyboard.IsKeyDown(key))
            return false;
    return character < 32;
}

LRESULT SEditCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PRINTCLIENT:
        FillClientRect(reinterpret_cast<HDC>(wParam));
        break;
    case WM_KEYDOWN:
        return OnKeyDown(wParam, lParam);
    case WM_KEYUP:
        return OnKeyUp(wParam, lParam);
    case WM_CHAR:
        if (SwallowsChar(wParam))
            return 0;
        break;
    case WM_DESTROY:
        CloseSuggestions();
        break;
    default:
        break;
    }
    return SNativeCtrl::RelayAndHandle(this, SWM_EDIT_MOUSE, message, wParam, lParam);
}

void SEditCtrl::RunSuggestionStep(int key)
{
    if (m_list)
    {
        const int selection = m_list->GetSelection();
        if (key == VK_RETURN && selection != -1)
        {
            SetWindowText(m_list->GetItemText(selection).GetText());
            SetSel(-1, -1);
            CloseSuggestions();
            return;
        }
        if (key == VK_ESCAPE)
        {
            CloseSuggestions();
            return;
        }
        if (key == VK_UP || key == VK_DOWN)
            return;
    }
    const SString text = GetWindowText();
    if (!m_list && text.GetLength() == 0 && key != VK_DOWN)
        return;
    // Byte 1 and byte 2 are the wildcards: '*' and '?' typed by the user are literal.
    SString pattern = text;
    pattern += '\1';
    SArray<int> matches;
    if (m_words.MatchAll(pattern.GetText(), &matches, '\1', '\2') == 0)
    {
        CloseSuggestions();
        return;
    }
    if (!m_list && !OpenSuggestionList())
        return;
    FillSuggestionList(matches);
}

bool SEditCtrl::OpenSuggestionList()
{
    RECT r = {};
    GetWindowRect(&r);
    r.top = r.bottom;
    r.bottom = r.top + 200;
    if (r.bottom > GetScreenHeight())
        r.bottom = GetScreenHeight();
    std::unique_ptr<SListCtrl> list(new SListCtrl);
    if (!list->Create(WS_POPUP | WS_BORDER | WS_VSCROLL, 0, &r, m_handle, 0))
        return false;
    list->SetFont(GetFont(), false);
    m_list = std::move(list);
    return true;
}

void SEditCtrl::FillSuggestionList(const SArray<int>& matches)
{
    m_list->RemoveAll();
    for (int i = 0; i < matches.GetCount(); i++)
        m_list->AddItem(m_words.GetAt(matches.GetAt(i)).GetText());
    m_list->ShowWindow(SW_SHOWNOACTIVATE);
    SetFocus();
}
