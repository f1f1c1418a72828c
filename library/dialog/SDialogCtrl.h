// The dialog designer and the owner of the dialog description format: element
// records, reading and writing descriptions, the element list and selection,
// the clipboard, the layout with its rulers, new controls, undo snapshots and
// the designer's texts; and the builder that turns a description into a dialog.
#pragma once
#include <memory>
#include "SControlDescription.h"
#include "SDialogElementType.h"
#include "SDialogFormat.h"
#include "SGuards.h"
#include "SKeyboard.h"
#include "SLanguageTable.h"
#include "SWndDialog.h"

class SPanelCtrl;
class SPropertyCtrl;

class SDialogCtrl : public SWnd
{
public:
    // One element of a layout: the dialog itself or one control.
    class _SCtrl : public SControlDescription
    {
    public:
        _SCtrl();
        ~_SCtrl() override;
        _SCtrl(const _SCtrl&) = delete;
        _SCtrl& operator=(const _SCtrl&) = delete;

        // What SWndDialog::AddChild reads.
        unsigned short GetId() const override { return static_cast<unsigned short>(m_id); }
        SString GetName() const override { return m_name; }
        SString GetFontName() const override { return m_fontName; }
        short GetFontSize() const override { return m_fontSize; }
        int GetFontStyle() const override { return static_cast<int>(m_fontStyle); }

        // Every described field, the is-dialog flag, the reserved word and the
        // grid scroll position; not the live control or its font.
        void CopyFrom(const _SCtrl& other);

        // One section of the text from the stream's position: the bytes consumed,
        // 0 when the header names no type, -1 for a null stream or a line without "=".
        int Read(SVirtualFile* stream, const SDialogCtrl* designer);
        // One section: the bytes written; 0 for a null stream, a type outside the
        // table or a write that comes back short.
        int Write(SVirtualFile* stream, const SDialogCtrl* designer) const;
        // The binary clipboard record: little-endian, the same on every build.
        int WriteRecord(SVirtualFile* stream) const;
        // The bytes consumed; 0, with the record unchanged, for a null stream or a
        // record cut short anywhere.
        int ReadRecord(SVirtualFile* stream);

        // The names of the set bits of the style (false) or extended style (true) word.
        SString GetStyleNames(bool exstyle) const;
        // The word from names (the type's STYLE and EXSTYLE names alike); no names: unchanged.
        void SetStyleNames(bool exstyle, const char* text);

        // Type keys: KEY=value lines, keys compared with case.
        SString GetValue(const char* key) const;
        void SetValue(const char* key, const char* text);
        void SetValueInt(const char* key, int n);
        bool GetValueBool(const char* key) const;
        int GetValueInt(const char* key) const;
        long long GetValueInt64(const char* key) const;
        double GetValueReal(const char* key) const;
        // Empty: 0xFF000000; system colours for 0xFE000000 to 0xFEFFFFFF.
        DWORD GetValueColor(const char* key) const;
        int GetValueDrawMode(const char* key) const;
        const SString& GetTypeKeys() const { return m_typeKeys; }
        void SetTypeKeys(const char* text);

        // Fields. Texts set here lose CR and LF: a line of the text holds them.
        short GetIdValue() const { return m_id; }
        void SetId(short id) { m_id = id; }
        short GetType() const { return m_type; }
        void SetType(short type) { m_type = type; }
        // The name without a copy, for the designer's searches.
        const SString& GetNameText() const { return m_name; }
        void SetName(const char* name) { m_name = RemoveLineBreaks(name); }
        const SString& GetCaption() const { return m_caption; }
        void SetCaption(const char* caption) { m_caption = RemoveLineBreaks(caption); }
        void SetFont(const char* face, short size, DWORD style);
        short GetX() const { return m_x; }
        short GetY() const { return m_y; }
        short GetWidth() const { return m_width; }
        short GetHeight() const { return m_height; }
        void SetPosition(short x, short y, short width, short height);
        RECT GetRect() const;
        bool IsLocked() const { return m_locked; }
        void SetLocked(bool locked) { m_locked = locked; }
        bool IsDialog() const { return m_isDialog; }
        void SetDialog(bool isDialog) { m_isDialog = isDialog; }
        DWORD GetStyle() const { return m_style; }
        void SetStyle(DWORD style) { m_style = style; }
        DWORD GetExStyle() const { return m_exstyle; }
        void SetExStyle(DWORD exstyle) { m_exstyle = exstyle; }
        DWORD GetBackColor() const { return m_backColor; }
        void SetBackColor(DWORD color) { m_backColor = color; }
        DWORD GetTextColor() const { return m_textColor; }
        void SetTextColor(DWORD color) { m_textColor = color; }
        bool IsTransparent() const { return m_transparent; }
        void SetTransparent(bool transparent) { m_transparent = transparent; }
        DWORD GetReserved() const { return m_reserved; }
        void SetReserved(DWORD value) { m_reserved = value; }
        int GetGridScroll() const { return m_gridScroll; }
        void SetGridScroll(int position) { m_gridScroll = position; }
        // The designer's preview of the element and its font; both owned, null when none.
        SWnd* GetLiveControl() const { return m_live.get(); }
        void SetLiveControl(SWnd* control) { m_live.reset(control); }
        HFONT GetFontHandle() const { return m_font.Get(); }
        void SetFontHandle(HFONT font) { m_font.Reset(font); }

    private:
        void ReadKeyLine(const SString& key, const SString& value, SString& typeKeys);
        void ReadFont(const SString& value);
        void ReadPosition(const SString& value);
        SString FormatSection(const SDialogElementType& type) const;

        short m_id;
        short m_type;
        SString m_name;
        SString m_caption;
        SString m_fontName;
        short m_fontSize;
        DWORD m_fontStyle;
        short m_x, m_y, m_width, m_height;
        bool m_locked;
        bool m_isDialog;
        DWORD m_style;
        DWORD m_exstyle;
        DWORD m_backColor;
        DWORD m_textColor;
        bool m_transparent;
        SString m_typeKeys;
        DWORD m_reserved;
        int m_gridScroll;
        std::unique_ptr<SWnd> m_live;
        SGdiObjectGuard<HFONT> m_font;
    };

    // One undo snapshot: copies of the dialog record and of every element, and
    // those copies whose ids were selected.
    class _SUndo
    {
    public:
        _SUndo() = default;
        ~_SUndo() { Clear(); }
        _SUndo(const _SUndo&) = delete;
        _SUndo& operator=(const _SUndo&) = delete;
        void Clear();

        std::unique_ptr<_SCtrl> dialog;
        SArray<_SCtrl*> elements;  // owned
        SArray<_SCtrl*> selected;  // entries of elements
    };

    // Shows the designer's errors; replaceable so that no test meets a message box.
    typedef int (*ErrorFunction)(HWND owner, const char* text, const char* title, UINT style);
    static void SetErrorFunction(ErrorFunction function);

    static const int UNDO_LIMIT = 32;
    static const int RULER_SIZE = 22;
    static const int HANDLE_SIZE = 6;

    SDialogCtrl();
    ~SDialogCtrl() override;

    // The live control of one control description, created in the parent; owned
    // by the caller. The dialog, when given, is asked for a custom control first;
    // live false makes the designer's hidden image of it. Null when none is made.
    static SWnd* CreateControl(SWndDialog* dialog, HWND parent, const _SCtrl* description,
                               SResource* resources, bool live);
    // Builds the dialog window and its controls from the description into a
    // dialog without a window; false when the window or a control cannot be made.
    static bool BuildWindow(SVirtualFile* description, SWndDialog* dialog, HWND parent,
                            SResource* resources, bool topLevel, LPARAM value);

    // Virtual operations, in the order of the table.
    void OnUndo() override;
    void OnCut() override;
    void OnCopy() override;
    void OnPaste() override;
    void OnDelete() override;
    void OnSelectAll() override;
    void OnEscape() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual void OnElementAdded(_SCtrl* element);
    virtual bool OnRemoveElement(_SCtrl* element);
    virtual bool OnNameChanging(_SCtrl* element, const char* name);
    virtual bool OnSelectionChanged(_SCtrl* previous, _SCtrl* current);
    virtual void OnElementDoubleClick(_SCtrl* element);
    virtual void OnPropertiesFilled(SPropertyCtrl* grid, _SCtrl* element);
    virtual void FillToolbox();
    virtual void SyncToolbox(SPanelCtrl* panel);

    // Life of the layout.
    bool Initialize(bool noPreviews);
    void Clear();
    void Reset();
    bool IsOpen() const { return m_open; }

    // Element types.
    const SDialogElementType* FindElementType(const char* name) const;
    const SDialogElementType* GetTypeDescriptor(int index) const;
    const SDialogElementType* GetElementDescriptor(const _SCtrl* element) const;

    // Descriptions as text.
    bool ReadDescription(SVirtualFile* stream);
    bool WriteDescription(SVirtualFile* stream) const;
    bool SetDialogDescription(const _SCtrl* description);
    _SCtrl* GetDialogDescription() const { return m_dialog.get(); }

    // The element list.
    int GetElementCount() const { return m_elements.GetCount(); }
    _SCtrl* GetElement(int i) const;
    int FindElement(const _SCtrl* element) const;
    _SCtrl* GetElementById(int id) const;
    bool IsIdFree(int id) const;
    int GetFreeId() const;
    _SCtrl* GetElementByName(const char* name) const;
    bool IsNameAvailable(const char* name) const;
    SString MakeUniqueName(int type) const;
    _SCtrl* AddElement(const _SCtrl* source, bool withDefaults, bool keepName, bool keepId);
    bool RemoveElement(_SCtrl* element, bool ask);
    void RemoveAllElements();
    int ListElements(int type, SArray<_SCtrl*>* pointers, SArray<int>* ids, SArrayString* names,
                     SArrayString* idNames) const;
    // Listed as a page of a tab whose selected page does not show it.
    bool IsElementHidden(const _SCtrl* element) const;
    // The element at a client point: controls from the top down, then the page; null for none.
    _SCtrl* HitTest(int x, int y);

    // The selection; its first entry is the primary element.
    int GetSelectedCount() const { return m_selection.GetCount(); }
    _SCtrl* GetSelected(int i) const;
    int FindSelected(const _SCtrl* element) const;
    bool IsSelected(const _SCtrl* element) const { return FindSelected(element) >= 0; }
    bool Select(_SCtrl* element);
    bool Deselect(_SCtrl* element);
    void ClearSelection() { m_selection.RemoveAll(); }
    bool MakePrimary(_SCtrl* element);
    bool SelectOnly(_SCtrl* element);
    bool IsIdSelected(int id) const;
    bool IsDialogSelected() const;
    bool IsAnySelectedLocked() const;
    RECT GetSelectionBounds() const;
    bool DeleteSelection();

    // The clipboard.
    bool CopySelection();
    bool CutSelection();
    bool CanPaste();

    // Surface layout, coordinates and grid.
    void ComputeLayout();
    const RECT& GetDesignArea() const { return m_designArea; }
    const RECT& GetTopRuler() const { return m_topRuler; }
    const RECT& GetLeftRuler() const { return m_leftRuler; }
    POINT GetOrigin() const;
    POINT ClientToDesign(POINT point) const;
    RECT ClientToDesign(RECT rect) const;
    RECT DesignToClient(RECT rect) const;
    void SetScrollRanges();
    int GetGridStepX(bool invert) const;
    int GetGridStepY(bool invert) const;
    void SetGrid(int x, int y);
    bool IsSnapOn() const { return m_snap; }
    void SetSnap(bool on) { m_snap = on; }
    bool IsGridShown() const { return m_gridShown; }
    void ShowGrid(bool on) { m_gridShown = on; }
    bool AreRulersShown() const { return m_rulersShown; }
    void ShowRulers(bool on) { m_rulersShown = on; }

    // Colours and fonts of the surface.
    void SetWorkspaceColors(COLORREF workspace, COLORREF rulerBackground);
    void SetRulerTextColor(COLORREF color);
    void SetSelectionColors(COLORREF focused, COLORREF unfocused);
    void SetDefaultColors();
    COLORREF GetWorkspaceColor() const { return m_colors[SURFACE_WORKSPACE]; }
    COLORREF GetRulerBackColor() const { return m_colors[SURFACE_RULERBACK]; }
    COLORREF GetRulerTextColor() const { return m_colors[SURFACE_RULERTEXT]; }
    COLORREF GetSelectionColor(bool focused) const;
    void SetElementFont(const char* face, int height);
    HFONT GetElementFont() const;

    // Grab handles, rulers and mouse lines.
    RECT GetHandleRect(const _SCtrl* element, int i) const;
    void DrawRulers(HDC dc);
    void DrawMouseLines(HDC dc, const POINT* point = nullptr, HPEN pen = nullptr);
    int GetMouseLineX() const { return m_mouseLineX; }
    int GetMouseLineY() const { return m_mouseLineY; }

    // Mouse on the surface, client coordinates.
    void OnLButtonDown(int x, int y);
    void OnMouseHover(int x, int y);
    void OnDoubleClick(int x, int y);

    // The toolbox.
    bool SetTool(int type);
    int GetTool() const { return m_tool; }
    bool RefreshToolbox();

    // Undo snapshots.
    void TakeUndoSnapshot();
    int GetUndoCount() const { return m_undo.GetCount(); }
    _SUndo* GetUndoSnapshot(int i) const;
    void DeleteUndoSnapshots();
    bool DropLastUndoSnapshot();
    void EnableUndo(bool on) { m_undoEnabled = on; }

    // The designer's texts.
    void SetLanguage(bool english);
    SString GetText(const char* key) const { return m_language.GetText(key); }
    SString MakeChoice(const char* key) const;
    const SLanguageTable& GetLanguageTable() const { return m_language; }
    void ShowError(const char* key) const;

private:
    enum SurfaceColor
    {
        SURFACE_WORKSPACE, SURFACE_RULERBACK, SURFACE_RULERTEXT, SURFACE_FOCUSED, SURFACE_UNFOCUSED, SURFACE_COUNT
    };

    void SetColor(int which, COLORREF color);
    void RedrawAll();
    void ApplyDefaults(_SCtrl* element) const;
    void PlaceTool(int x, int y);
    void ChangeSelectionAt(int x, int y);
    bool DestroyElement(_SCtrl* element);
    void DrawRulerTicks(HDC dc, bool top);
    // The editing surface's drags; the loops come with the editing surface.
    bool DragMove(int x, int y);
    bool DragResize(int handle, int x, int y);
    bool DragRubberBand(int x, int y);
    // The control factory makes an element's preview; none yet.
    SWnd* CreatePreview(_SCtrl* element);

    std::unique_ptr<_SCtrl> m_dialog;
    bool m_open;
    SArray<_SCtrl*> m_elements;   // owned
    SArray<_SCtrl*> m_selection;  // entries of m_elements, or the dialog record
    SArray<_SUndo*> m_undo;       // owned, oldest first
    bool m_undoEnabled;
    int m_tool;
    int m_gridX, m_gridY;
    bool m_snap, m_rulersShown, m_gridShown;
    SDialogElementType m_types[DIALOG_TYPE_COUNT];
    int m_typeCount;
    SLanguageTable m_language;
    bool m_noPreviews;
    RECT m_clientRect, m_designArea, m_topRuler, m_leftRuler;
    int m_mouseLineX, m_mouseLineY;
    COLORREF m_colors[SURFACE_COUNT];
    SGdiObjectGuard<HBRUSH> m_brushes[SURFACE_COUNT];
    SGdiObjectGuard<HFONT> m_elementFont;  // null: the stock GUI font
    SString m_pageImageName;
    COLORREF m_pageImageColor;
    SKeyboard m_keyboard;
    SPropertyCtrl* m_properties;  // the property pane, once one is attached
    SPanelCtrl* m_toolbox;        // the toolbox panel, once one is attached
};
