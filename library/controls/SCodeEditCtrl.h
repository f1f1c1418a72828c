// A self-drawn editor for source-like text: lines with caret and selection,
// undo, comment and Tab blocks, auto-indent, syntax colours, find and replace
// through the common dialogs, a Go To box, printing and an optional tool panel.
#pragma once
#include "SPlatform.h"
#include <commdlg.h>
#include <memory>
#include "SArray.h"
#include "SArrayString.h"
#include "SClipboard.h"
#include "SImageList.h"
#include "SKeyboard.h"
#include "SLanguageTable.h"
#include "SMenu.h"
#include "SPanelCtrl.h"
#include "SWnd.h"

class SEditCtrl;
class SButtonCtrl;
class SPrinter;
class SVirtualFile;

class SCodeEditCtrl : public SWnd
{
public:
    static const int UNDO_LIMIT = 128;
    static const int FIND_TEXT_SIZE = 256;
    enum MenuCommand
    {
        MENU_UNDO = 1000,
        MENU_CUT = 1001,
        MENU_COPY = 1002,
        MENU_PASTE = 1003,
        MENU_DELETE = 1004,
        MENU_SELECTALL = 1005
    };
    enum ScrollRequest
    {
        SCROLL_SHOW = 1,
        SCROLL_CENTRE = 2
    };
    enum TokenKind
    {
        TOKEN_PLAIN,
        TOKEN_STRING,
        TOKEN_COMMENT,
        TOKEN_KEYWORD,
        TOKEN_UPPER
    };

    // One coloured piece of a line: its characters and how it is drawn.
    struct _SToken
    {
        int start;
        int length;
        int kind;
        int keyword; // index in the keyword list, -1 for other kinds
    };

    // The lines an edit is about to change, to put them back.
    class _SUndo : public SArrayString
    {
    public:
        int firstLine = 0;
        int savedCount = 0;
        int linesAfter = 0;
        int caretLine = 0;
        int caretColumn = 0;
    };

    // Find and replace texts and options, the editor's own or the process's shared ones.
    struct CodeEditFindState
    {
        char findText[FIND_TEXT_SIZE + 1] = {};
        char replaceText[FIND_TEXT_SIZE + 1] = {};
        bool down = true;
        bool matchCase = false;
    };

    // The common dialog's record with the buffers it writes into.
    struct _SFindDialogData
    {
        FINDREPLACEA record;
        char findText[FIND_TEXT_SIZE + 1];
        char replaceText[FIND_TEXT_SIZE + 1];
    };

    // The modal Go To line box.
    class _SWndGoto : public SWnd
    {
    public:
        explicit _SWndGoto(SCodeEditCtrl* editor);
        ~_SWndGoto() override;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
        SEditCtrl* GetEdit() const { return m_edit.get(); }

    private:
        void OnCreated();
        int ReadNumber() const;
        SCodeEditCtrl* m_editor;
        std::unique_ptr<SEditCtrl> m_edit;
        std::unique_ptr<SButtonCtrl> m_ok;
        std::unique_ptr<SButtonCtrl> m_cancel;
    };

    // A button panel whose clicks reach the editor that owns it.
    class _SToolPanel : public SPanelCtrl
    {
    public:
        explicit _SToolPanel(SCodeEditCtrl* editor) : m_editor(editor) {}
        void OnButtonClick(int groupId, int buttonId, _SButton* button) override;

    private:
        SCodeEditCtrl* m_editor;
    };

    SCodeEditCtrl();
    ~SCodeEditCtrl() override;

    // SWnd operations.
    void OnUndo() override;
    void OnCut() override;
    void OnCopy() override;
    void OnPaste() override;
    void OnDelete() override;
    void OnSelectAll() override;
    void OnFind() override;
    void OnReplace() override;
    void OnGoTo() override;
    void OnPrint() override;
    void OnEscape() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Operations the editor adds, in this order.
    virtual void SetSelection(int caretLine, int caretColumn, int otherLine, int otherColumn, int mode,
                              bool centre);
    virtual bool InsertText(const char* text);
    virtual bool CommentLines();
    virtual bool UncommentLines();
    virtual bool FilterKey(int key, bool shift, bool ctrl) { return true; }
    virtual void OnKeyHandled(int key, bool shift, bool ctrl) {}
    virtual bool FilterChar(int character) { return true; }
    virtual void OnCharInserted(int character) {}
    virtual void OnSelectionChanged() {}
    virtual void FillToolPanel(LPARAM first, LPARAM second);
    virtual LRESULT ExtraHook(LPARAM value) { return 0; }
    virtual void OnToolPanelClick(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* hit) {}
    virtual bool CanShowContextMenu(int screenX, int screenY) { return true; }

    // Document and text (SCodeEditCtrlText.cpp).
    void New(const char* name = nullptr);
    bool LoadFromStream(SVirtualFile* stream, const char* name = nullptr);
    bool SaveToStream(SVirtualFile* stream, const char* name = nullptr);
    void Close(bool redraw);
    void Reset();
    bool IsOpen() const { return m_open; }
    const SString& GetFileName() const { return m_fileName; }
    int GetLineCount() const { return m_lines.GetCount(); }
    const SString* GetLine(int i) const;
    int GetLineLength(int i, bool raw = true) const;
    SString GetAllText() const;
    bool HasText() const;
    void SetSingleLine(bool on);
    bool IsSingleLine() const { return m_singleLine; }
    void SetScrollBarsShown(int which, bool shown);
    bool ReplaceSelection(const char* text) { return InsertText(text); }

    // Caret and selection.
    void SetSelectionRange(int caretLine, int caretColumn, int otherLine, int otherColumn, int mode);
    bool GetSelection(int& startLine, int& startColumn, int& endLine, int& endColumn) const;
    bool HasSelection() const { return m_endLine >= 0 && m_startLine >= 0; }
    int GetCaretLine() const;
    int GetCaretColumn() const;
    SString GetSelectedText() const;

    // Editing primitives.
    SString* InsertLine(int index);
    void DeleteLine(int index);
    bool DeleteSelection();
    bool InsertAtCaret(const char* text);
    bool DeleteForward();
    bool DeleteBackward();
    void MoveByChars(int& line, int& column, int n) const;
    static void GetWordBounds(const SString& line, int column, int& start, int& end);

    // Undo.
    void PushUndo(int firstLine, int savedCount, int linesAfter);
    bool ApplyUndo();
    void PopUndo();
    void ClearUndo();
    int GetUndoCount() const { return m_undo.GetCount(); }

    // Keys and typing as the window receives them (SCodeEditCtrlKeys.cpp).
    void OnKeyDown(int key, bool shift, bool ctrl);
    void OnChar(int character, bool ctrl = false);
    bool DeleteKey(bool shift);
    bool BackspaceKey();
    bool TabKey(bool shift);

    // Options and looks.
    void SetTabSize(int size);
    int GetTabSize() const { return m_tabSize; }
    void SetBarWidth(int width);
    int GetBarWidth() const;
    void SetLineNumbers(bool on);
    void SetIndent(bool on) { m_autoIndent = on; }
    void SetCommentsEnabled(bool on);
    void SetStrings(bool on);
    void SetUpperWords(bool on);
    void SetBrEnabled(bool on) { m_br = on; }
    void SetReadOnly(bool on) { m_readOnly = on; }
    bool IsReadOnly() const { return m_readOnly; }
    void SetFindReplaceLocal(bool on) { m_findLocal = on; }
    void SetTextColors(COLORREF text, COLORREF keyword, COLORREF string, COLORREF upper, COLORREF comment);
    void SetBarColors(COLORREF bar, COLORREF grey, COLORREF check, COLORREF cross);
    void SetBackColors(COLORREF back, COLORREF currentLine);
    using SWnd::SetFont;
    void SetFont(const char* face, int points);
    const char* GetFontFace() const { return m_fontFace.GetText(); }
    int GetFontPoints() const { return m_fontPoints; }
    int GetCharWidth() const { return m_charWidth; }
    int GetLineHeight() const { return m_lineHeight; }
    void SetLanguage(bool english);
    SString GetText(const char* key) const { return m_language.GetText(key); }
    SMenu& GetContextMenu() { return m_menu; }

    // Keywords and per-line marks (read by painting).
    int AddKeyword(const char* word, COLORREF color, bool bold);
    void ClearKeywords();
    int FindKeyword(const char* word) const;
    bool SetLineCheck(int line, bool on);
    bool SetLineCross(int line, bool on);
    bool SetLineValue(int line, int value);
    bool GetLineCheck(int line) const;
    bool GetLineCross(int line) const;
    int GetLineValue(int line) const;

    // Painting (SCodeEditCtrlPaint.cpp).
    void TokenizeLine(const SString& line, SArray<_SToken>& tokens) const;
    int ExpandedWidth(const SString& line, int column) const;
    int ColumnFromVisual(const SString& line, int visual, bool nearest) const;
    void UpdateLayout();
    const RECT& GetTextRect() const { return m_textRect; }
    const RECT& GetBarRect() const { return m_barRect; }
    void Paint(HDC dc);
    void PlaceCaret();
    int GetFirstVisibleLine() const;
    int GetVisibleRows(bool partly) const;

    // Search (SCodeEditCtrlSearch.cpp).
    CodeEditFindState& GetFindState();
    // The state shared by every editor whose own settings are off.
    static CodeEditFindState& GetSharedFindState();
    void SetFindText(const char* text);
    void SetReplaceText(const char* text);
    void SetSearchOptions(bool down, bool matchCase, bool wrap);
    bool FindNext(bool atSelection);
    bool ReplaceOnce();
    bool ReplaceAll();
    bool OpenFindDialog(bool replace);
    void CloseFindDialog();
    HWND GetFindDialog() const { return m_findDialog; }
    LRESULT OnFindReplaceMessage(FINDREPLACEA* record);

    // Go To, printing and the tool panel (SCodeEditCtrlTools.cpp).
    void ShowGoToBox();
    _SWndGoto* GetGoToBox() const { return m_goto.get(); }
    bool GoToLine(int line);
    bool PrintText();
    // The printer PrintText uses; null makes a fresh one each time. Not owned.
    void SetPrinter(SPrinter* printer) { m_printer = printer; }
    // Takes ownership of the panel (null detaches and deletes the old one).
    void SetToolPanel(SPanelCtrl* panel);
    SPanelCtrl* GetToolPanel() const { return m_toolPanel.get(); }
    void HandleToolPanelClick(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* hit);

    // Mouse (SCodeEditCtrlMouse.cpp).
    void PointToPosition(int x, int y, int& line, int& column) const;
    // Lines (or columns) to scroll for a pointer distance beyond the edge over
    // the elapsed milliseconds while dragging.
    static double AutoScrollLines(int distance, DWORD elapsed);
    static double AutoScrollColumns(DWORD elapsed);

protected:
    // Text helpers of the model.
    SString* LineAt(int i) const;
    void ClampPosition(int& line, int& column) const;
    void NotifyEdit(bool centre = false);
    void CheckDigits(int oldCount);
    bool StartEdit() const { return m_open && !m_readOnly; }

private:
    void FinishOpening(const char* name);
    bool SetLineMark(SArray<BYTE>& marks, int line, bool on);
    void InitLanguage(bool english);
    void BuildMenu();
    void MakeBrushes();
    void FreeGdi();
    void ApplyDefaults();
    void VerticalMove(int lines, bool shift);
    void MoveHome(bool shift, bool ctrl);
    void MoveEnd(bool shift, bool ctrl);
    void MoveLeft(bool shift, bool ctrl);
    void MoveRight(bool shift, bool ctrl);
    void MoveCaretTo(int line, int column, bool keepAnchor);
    bool CtrlEnter();
    void TypeLineBreak();
    void CommentBlock(int& first, int& last) const;
    void PaintRow(HDC dc, int row);
    void PaintBar(HDC dc, const RECT& bar, int line);
    void PaintTokens(HDC dc, int row, int line, bool current);
    void PaintSelection(HDC dc, int row, int line);
    void DrawToken(HDC dc, const SString& text, const _SToken& token, int& x, int& visual, int top);
    void SetScrollRanges();
    void ServeScrollRequest();
    bool SearchDown(const SString& find, int line, int column, bool wrap, int stopLine, int stopColumn);
    bool SearchUp(const SString& find, int line, int column, bool wrap);
    int FindInLine(int line, const SString& find, int from, int before) const;
    void TakeDialogSettings(const FINDREPLACEA* record, bool withReplace);
    void OnLButtonDown(int x, int y);
    void ClickText(int x, int y);
    void OnLButtonDblClk();
    void OnRButtonDown(int x, int y);
    void DragSelection(bool inBar, int anchorLine, int anchorColumn);
    void UpdateCursor(int x, int y);
    void OnMenuCommand(int id);

    SKeyboard m_keyboard;
    SClipboard m_clipboard;
    RECT m_clientRect;
    RECT m_textRect;
    RECT m_barRect;
    int m_tabSize;
    int m_barMinimum;
    int m_gap;
    bool m_autoIndent;
    bool m_lineNumbers;
    bool m_comments;
    bool m_strings;
    bool m_upperWords;
    bool m_br;
    bool m_readOnly;
    SString m_fontFace;
    int m_fontPoints;
    HFONT m_font;
    HFONT m_boldFont;
    int m_charWidth;
    int m_lineHeight;
    HFONT m_numberFont;
    COLORREF m_backColor, m_currentColor, m_barColor, m_greyColor, m_checkColor, m_crossColor;
    COLORREF m_textColor, m_keywordColor, m_stringColor, m_upperColor, m_commentColor;
    COLORREF m_numberColor, m_numberCheckColor;
    HBRUSH m_backBrush, m_currentBrush, m_barBrush, m_greyBrush, m_checkBrush;
    HPEN m_crossPen;
    SLanguageTable m_language;
    bool m_singleLine;
    bool m_vScrollShown;
    bool m_hScrollShown;
    bool m_open;
    SString m_fileName;
    int m_scrollRequest;
    int m_startLine, m_startColumn, m_endLine, m_endColumn;
    bool m_caretAtStart;
    SMenu m_menu;
    SArrayString m_lines;
    SArray<BYTE> m_checks;
    SArray<BYTE> m_crosses;
    SArray<int> m_values;
    SArrayString m_keywords;
    SArray<int> m_keywordColors;
    SArray<bool> m_keywordBold;
    bool m_findLocal;
    std::unique_ptr<_SFindDialogData> m_findRecord;
    HWND m_findDialog;
    CodeEditFindState m_find;
    bool m_wrap;
    std::unique_ptr<_SWndGoto> m_goto;
    SArray<_SUndo*> m_undo;
    std::unique_ptr<SPanelCtrl> m_toolPanel;
    SImageList m_images;
    SPrinter* m_printer;
    int m_scrollRangeV, m_scrollPageV, m_scrollRangeH, m_scrollPageH;
};
