#include "SCodeEditCtrl.h"
#include <windowsx.h>
#include "SButtonCtrl.h"
#include "SDrawing.h"
#include "SEditCtrl.h"
#include "SGuards.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
const char* const LANGUAGE_KEYS[13] = {"#GENERAL", "#CODE",  "#FIND",   "#REPLACE", "#GOTO",
                                       "#PRINT",   "#CANCEL", "@UNDO",  "@CUT",     "@COPY",
                                       "@PASTE",   "@DELETE", "@SELECTALL"};
const char* const ENGLISH[13] = {"General", "Code", "Find...", "Replace...", "Go To...", "Print...", "Cancel",
                                 "Undo",    "Cut",  "Copy",    "Paste",      "Delete",   "Select All"};
const char* const FRENCH[13] = {"G\xE9n\xE9ral", "Code",    "Rechercher...", "Remplacer...", "Aller \xE0...",
                                "Imprimer...",   "Annuler", "Annuler",       "Couper",       "Copier",
                                "Coller",        "Supprimer", "Tout s\xE9lectionner"};

void DeleteGdi(HGDIOBJ& object)
{
    if (object)
        DeleteObject(object);
    object = nullptr;
}
} // namespace

SCodeEditCtrl::SCodeEditCtrl()
    : m_clientRect(), m_textRect(), m_barRect(), m_tabSize(4), m_barMinimum(20), m_gap(2), m_autoIndent(true),
      m_lineNumbers(false), m_comments(false), m_strings(false), m_upperWords(false), m_br(false),
      m_readOnly(false), m_fontFace("courier new"), m_fontPoints(10), m_font(nullptr), m_boldFont(nullptr),
      m_charWidth(8), m_lineHeight(16), m_numberFont(nullptr), m_backBrush(nullptr), m_currentBrush(nullptr),
      m_barBrush(nullptr), m_greyBrush(nullptr), m_checkBrush(nullptr), m_crossPen(nullptr), m_singleLine(false),
      m_vScrollShown(true), m_hScrollShown(true), m_open(false), m_fileName(""), m_scrollRequest(0),
      m_startLine(-1), m_startColumn(-1), m_endLine(-1), m_endColumn(-1), m_caretAtStart(false),
      m_findLocal(true), m_findDialog(nullptr), m_wrap(true), m_printer(nullptr), m_scrollRangeV(-1),
      m_scrollPageV(-1), m_scrollRangeH(-1), m_scrollPageH(-1)
{
    SetTypeId(STYPE_CODEEDIT);
    GetSharedFindState();
    SWindowDCGuard screen(nullptr);
    m_numberFont = CreateFontFromPoints(screen.Get(), "verdana", 7, 0, nullptr);
    ApplyDefaults();
}

SCodeEditCtrl::~SCodeEditCtrl()
{
    CloseFindDialog();
    m_toolPanel.reset();
    Reset();
    ClearUndo();
    DestroyWindow();
    FreeGdi();
    if (m_numberFont)
        DeleteObject(m_numberFont);
}

void SCodeEditCtrl::FreeGdi()
{
    HGDIOBJ objects[] = {m_font, m_boldFont, m_backBrush, m_currentBrush, m_barBrush, m_greyBrush, m_checkBrush,
                         m_crossPen};
    for (HGDIOBJ& object : objects)
        DeleteGdi(object);
    m_font = m_boldFont = nullptr;
    m_backBrush = m_currentBrush = m_barBrush = m_greyBrush = m_checkBrush = nullptr;
    m_crossPen = nullptr;
}

// Everything Reset restores apart from closing the document.
void SCodeEditCtrl::ApplyDefaults()
{
    SetFont("courier new", 10);
    m_backColor = RGB(255, 255, 255);
    m_currentColor = RGB(245, 245, 245);
    m_barColor = RGB(215, 228, 237);
    m_greyColor = RGB(208, 208, 208);
    m_checkColor = RGB(255, 0, 0);
    m_crossColor = RGB(0, 0, 128);
    m_textColor = RGB(0, 0, 0);
    m_keywordColor = RGB(0, 0, 255);
    m_stringColor = RGB(128, 128, 128);
    m_upperColor = RGB(128, 0, 128);
    m_commentColor = RGB(0, 128, 0);
    m_numberColor = RGB(59, 103, 133);
    m_numberCheckColor = RGB(255, 255, 255);
    MakeBrushes();
    InitLanguage(true);
    m_tabSize = 4;
    m_barMinimum = 20;
    m_gap = 2;
    m_lineNumbers = false;
    m_autoIndent = true;
    m_comments = m_strings = m_upperWords = false;
    m_singleLine = false;
    m_vScrollShown = m_hScrollShown = true;
    m_br = m_readOnly = false;
    ClearKeywords();
    m_find.findText[0] = m_find.replaceText[0] = 0;
    m_find.down = true;
    m_find.matchCase = false;
    m_wrap = true;
}

void SCodeEditCtrl::Reset()
{
    Close(true);
    if (m_handle)
    {
        SetScrollRange(true, 0, 0, 0, true);
        SetScrollRange(false, 0, 0, 0, true);
    }
    ApplyDefaults();
    CloseFindDialog();
    m_goto.reset();
    UpdateLayout();
}

void SCodeEditCtrl::MakeBrushes()
{
    HGDIOBJ objects[] = {m_backBrush, m_currentBrush, m_barBrush, m_greyBrush, m_checkBrush, m_crossPen};
    for (HGDIOBJ& object : objects)
        DeleteGdi(object);
    m_backBrush = CreateSolidBrush(m_backColor);
    m_currentBrush = CreateSolidBrush(m_currentColor);
    m_barBrush = CreateSolidBrush(m_barColor);
    m_greyBrush = CreateSolidBrush(m_greyColor);
    m_checkBrush = CreateSolidBrush(m_checkColor);
    m_crossPen = CreatePen(PS_SOLID, 2, m_crossColor);
}

void SCodeEditCtrl::SetTextColors(COLORREF text, COLORREF keyword, COLORREF string, COLORREF upper,
                                  COLORREF comment)
{
    COLORREF* targets[] = {&m_textColor, &m_keywordColor, &m_stringColor, &m_upperColor, &m_commentColor};
    const COLORREF values[] = {text, keyword, string, upper, comment};
    for (int i = 0; i < 5; i++)
        if (values[i] != COLOR_NONE)
            *targets[i] = values[i];
    m_numberColor = RGB(59, 103, 133);
    m_numberCheckColor = RGB(255, 255, 255);
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::SetBarColors(COLORREF bar, COLORREF grey, COLORREF check, COLORREF cross)
{
    COLORREF* targets[] = {&m_barColor, &m_greyColor, &m_checkColor, &m_crossColor};
    const COLORREF values[] = {bar, grey, check, cross};
    for (int i = 0; i < 4; i++)
        if (values[i] != COLOR_NONE)
            *targets[i] = values[i];
    MakeBrushes();
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::SetBackColors(COLORREF back, COLORREF currentLine)
{
    if (back != COLOR_NONE)
        m_backColor = back;
    if (currentLine != COLOR_NONE)
        m_currentColor = currentLine;
    MakeBrushes();
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::SetFont(const char* face, int points)
{
    m_fontFace = face && *face ? face : "courier new";
    m_fontPoints = points > 0 ? points : 10;
    SWindowDCGuard screen(nullptr);
    HFONT normal = CreateFontFromPoints(screen.Get(), m_fontFace.GetText(), m_fontPoints, 0, nullptr);
    HFONT bold = CreateFontFromPoints(screen.Get(), m_fontFace.GetText(), m_fontPoints, 1, nullptr);
    if (m_font)
        DeleteObject(m_font);
    if (m_boldFont)
        DeleteObject(m_boldFont);
    m_font = normal;
    m_boldFont = bold;
    const SIZE cell = GetFontCharSize(m_font);
    m_charWidth = cell.cx > 0 ? cell.cx : 8;
    m_lineHeight = cell.cy > 0 ? cell.cy : 16;
    if (m_handle)
    {
        CreateCaret(m_lineHeight, 1, 0, 0, HasFocus());
        InvalidateRect(nullptr, true);
    }
}

void SCodeEditCtrl::SetTabSize(int size)
{
    m_tabSize = size < 2 ? 2 : size;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::SetBarWidth(int width)
{
    m_barMinimum = width < 0 ? 0 : width;
    UpdateLayout();
}

int SCodeEditCtrl::GetBarWidth() const
{
    if (!m_lineNumbers)
        return m_barMinimum;
    int digits = 1;
    for (int n = GetLineCount(); n >= 10; n /= 10)
        digits++;
    return digits * 8 > m_barMinimum ? digits * 8 : m_barMinimum;
}

void SCodeEditCtrl::SetLineNumbers(bool on)
{
    m_lineNumbers = on;
    UpdateLayout();
}

void SCodeEditCtrl::SetCommentsEnabled(bool on)
{
    m_comments = on;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::SetStrings(bool on)
{
    m_strings = on;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::SetUpperWords(bool on)
{
    m_upperWords = on;
    if (m_handle)
        InvalidateRect(nullptr, true);
}

void SCodeEditCtrl::InitLanguage(bool english)
{
    m_language.DeleteAndRemoveAll();
    for (int i = 0; i < 13; i++)
        m_language.AddEntry(LANGUAGE_KEYS[i], english ? ENGLISH[i] : FRENCH[i]);
}

void SCodeEditCtrl::SetLanguage(bool english)
{
    InitLanguage(english);
    const char* const keys[6] = {"@UNDO", "@CUT", "@COPY", "@PASTE", "@DELETE", "@SELECTALL"};
    const char* const shortcuts[6] = {"\tCtrl+Z", "\tCtrl+X", "\tCtrl+C", "\tCtrl+V",
                                      english ? "\tDel" : "\tSuppr", "\tCtrl+A"};
    for (int i = 0; i < 6; i++)
        m_menu.SetItemText(MENU_UNDO + i, (GetText(keys[i]) + shortcuts[i]).GetText());
}

void SCodeEditCtrl::BuildMenu()
{
    m_menu.Destroy();
    if (!m_menu.Create(m_handle))
        return;
    m_menu.InsertItem(MENU_UNDO, "");
    m_menu.InsertSeparator();
    for (int id = MENU_CUT; id <= MENU_DELETE; id++)
        m_menu.InsertItem(id, "");
    m_menu.InsertSeparator();
    m_menu.InsertItem(MENU_SELECTALL, "");
}

int SCodeEditCtrl::AddKeyword(const char* word, COLORREF color, bool bold)
{
    if (!word || !*word)
        return -1;
    m_keywords.Add(word);
    m_keywordColors.Add(static_cast<int>(color));
    m_keywordBold.Add(bold);
    return m_keywords.GetCount() - 1;
}

void SCodeEditCtrl::ClearKeywords()
{
    m_keywords.DeleteAndRemoveAll();
    m_keywordColors.RemoveAll();
    m_keywordBold.RemoveAll();
}

int SCodeEditCtrl::FindKeyword(const char* word) const
{
    for (int i = 0; word && i < m_keywords.GetCount(); i++)
        if (strcmp(m_keywords.SArray<SString*>::GetAt(i)->GetText(), word) == 0)
            return i;
    return -1;
}

void SCodeEditCtrl::OnMenuCommand(int id)
{
    switch (id)
    {
    case MENU_UNDO: OnUndo(); break;
    case MENU_CUT: OnCut(); break;
    case MENU_COPY: OnCopy(); break;
    case MENU_PASTE: OnPaste(); break;
    case MENU_DELETE: OnDelete(); break;
    case MENU_SELECTALL: OnSelectAll(); break;
    default: break;
    }
}
