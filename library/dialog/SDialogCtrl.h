// The dialog designer and the owner of the dialog description format: element
// records, reading and writing descriptions, the element list and selection,
// the clipboard, the layout with its rulers, new controls, undo snapshots and
// the designer's texts; and the builder that turns a description into a dialog.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include "SControlDescription.h"
#include "SDialogElementType.h"
#include "SDialogFormat.h"
#include "SGuards.h"
#include "SKeyboard.h"
#include "SLanguageTable.h"
#include "SMenu.h"
#include "SPropertyCtrl.h"
#include "SResource.h"
#include "SWndDialog.h"

class SPanelCtrl;

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

        // Type keys: KEY=value lines, keys compared with case. A set refuses (false,
        // nothing changed) a key that is empty or holds "=", CR or LF.
        SString GetValue(const char* key) const;
        bool SetValue(const char* key, const char* text);
        bool SetValueInt(const char* key, int n);
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

        // Style bits for the editing commands (exstyle true: the extended word). A
        // toggle sets the bits when not all of them are set, else clears them, and
        // tells whether all are set now; a zero mask counts as set.
        void SetStyleBits(DWORD mask, bool exstyle = false);
        void ClearStyleBits(DWORD mask, bool exstyle = false);
        bool ToggleStyleBits(DWORD mask, bool exstyle = false);
        bool HasStyleBits(DWORD mask, bool exstyle = false) const;
        void SwapSize();

    private:
        // Where a key's first piece holds its value in the type-key text.
        struct _SKeyPlace
        {
            int value;
            int length;
        };

        void ReadKeyLine(const SString& key, const SString& value, std::string& typeKeys);
        // Every change of the type-key text goes through these, which keep the key table true.
        void AssignTypeKeys(const SString& text);
        void AppendTypeKey(const SString& key, const SString& text);
        void ForgetKeyTable();
        // The key's place by the table, made on the first lookup after a change; null when absent.
        const _SKeyPlace* FindKey(const char* key) const;
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
        // Key to the place of its first piece; empty and invalid until a lookup needs it.
        mutable std::unordered_map<std::string, _SKeyPlace> m_keyTable;
        mutable bool m_keyTableValid;
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

    // The designer's property pane: applies an edited value to every selected element.
    class _SPropertyCtrl : public SPropertyCtrl
    {
    public:
        explicit _SPropertyCtrl(SDialogCtrl* designer = nullptr) : m_designer(designer) {}
        void SetDesigner(SDialogCtrl* designer) { m_designer = designer; }
        SDialogCtrl* GetDesigner() const { return m_designer; }
        bool OnItemChanged(int group, _SItem* item) override;

    private:
        SDialogCtrl* m_designer;
    };

    // One entry of the context menu as data: parent 0 for the menu itself, else
    // the id of the tab submenu that holds it.
    struct _SMenuEntry
    {
        int id;
        int parent;
        SString text;
        bool separator;
        bool submenu;
        bool enabled;
        bool checked;
    };

    // The toolbox's states for the selection: the runs of the alignment group
    // (0-3, 4-5, 6-7, 8-9, 10-12) and of the order group (0-1, 2-3), enabled or not.
    struct _SToolboxState
    {
        int count;  // 0 when nothing or the dialog itself is selected
        bool alignment[5];
        bool order[2];
        bool grid;
        bool snap;
    };

    // Toolbox groups, and the commands of the alignment and order groups by button.
    enum ToolboxGroup
    {
        TOOLBOX_CONTROLS, TOOLBOX_ALIGNMENT, TOOLBOX_ORDER, TOOLBOX_MISC
    };
    enum LayoutCommand
    {
        LAYOUT_LEFT, LAYOUT_RIGHT, LAYOUT_TOP, LAYOUT_BOTTOM, LAYOUT_HCENTER, LAYOUT_VCENTER,
        LAYOUT_HSPACE, LAYOUT_VSPACE, LAYOUT_NOHSPACE, LAYOUT_NOVSPACE, LAYOUT_WIDTH, LAYOUT_HEIGHT,
        LAYOUT_SIZE
    };
    enum OrderCommand
    {
        ORDER_FRONT, ORDER_BACK, ORDER_FORWARD, ORDER_BACKWARD
    };
    // Context-menu commands; tab t's submenu has the ids from 1000 x (t + 1).
    enum MenuCommand
    {
        MENU_CUT = 10, MENU_COPY, MENU_PASTE, MENU_SELECTALL, MENU_DELETE, MENU_TEST,
        MENU_TAB_BASE = 1000, MENU_TAB_SELECT = 1, MENU_TAB_ELEMENTS = 10
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

    // Undo snapshots. A snapshot made before a change is pushed only once the
    // change happens, so that a change that fails leaves the history as it was.
    void TakeUndoSnapshot();
    std::unique_ptr<_SUndo> MakeUndoSnapshot() const;
    void PushUndoSnapshot(std::unique_ptr<_SUndo> snapshot);
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

    // The interactive designer: its pane and toolbox (attached, not owned: they
    // must outlive the designer or be detached first), the resources its previews
    // and test runs load from.
    void SetPropertyPane(_SPropertyCtrl* pane);
    _SPropertyCtrl* GetPropertyPane() const { return m_properties; }
    void SetToolbox(SPanelCtrl* panel);
    SPanelCtrl* GetToolbox() const { return m_toolbox; }
    SResource& GetResources() { return m_resource; }

    // Property sets (SDialogCtrlProperties.cpp).
    void FillProperties(_SCtrl* element);
    bool AddPropertyGroup(const char* key);
    bool AddPropertyItem(bool singleOnly, bool sameTypeOnly, const char* key, int kind, const char* value,
                         const SArrayString* choices, int group);
    void AddBorderProperties(_SCtrl* element);

    // Applying an edited item to every selected element (SDialogCtrlApply.cpp).
    bool ApplyProperty(const SPropertyCtrl::_SItem* item);
    void UpdateTabChildren(int page, _SCtrl* control, bool add);
    // Whether the control with that id is listed as a page of the tab.
    bool IsTabPage(const _SCtrl* tab, int page, int id) const;

    // Context menu and toolbox (SDialogCtrlMenu.cpp).
    void ShowContextMenu(int x, int y);
    void GetContextMenuEntries(std::vector<_SMenuEntry>& entries);
    // A tab-page command for the selected tab: its page and the rest of the id
    // (1 select, 10 + i element i); false when the id names no page or element.
    bool DecodeTabCommand(int id, int* tab, int* rest) const;
    void OnMenuCommand(int id);
    _SToolboxState GetToolboxState() const;
    void OnToolboxClick(int group, int button);

    // Editing commands on the records (SDialogCtrlCommands.cpp, SDialogCtrlKeys.cpp).
    bool OnKeyDown(UINT key, bool shift, bool ctrl);
    // The value less the remainder of its truncating division by the step.
    static int RoundToStep(int value, int step);
    RECT GetMovedFrame(const RECT& rect, int dx, int dy, bool ctrl) const;
    RECT GetResizedFrame(const RECT& start, int handle, int dx, int dy, bool ctrl) const;
    // The end of a move, a resize and a rubber band (design coordinates, client for the band).
    bool MoveSelection(int dx, int dy, bool ctrl);
    bool ResizeElement(_SCtrl* element, const RECT& frame);
    bool SelectInBand(const RECT& band);
    bool Undo();
    bool ApplyLayoutCommand(int index);
    bool ApplyOrderCommand(int index);
    bool PasteFromStream(SVirtualFile* block);
    bool PasteFromClipboard();

    // Live previews, the test run and painting (SDialogCtrlLive.cpp, SDialogCtrlPaint.cpp).
    bool RemakeLiveControl(_SCtrl* element);
    bool TestRun();
    void PaintSurface(HDC dc);

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
    // The part of a removal before the element goes: deselected (and reported),
    // then asked when told to; true when it may be destroyed.
    bool ReleaseElement(_SCtrl* element, bool ask);
    void DrawRulerTicks(HDC dc, bool top);
    // The editing surface's drags; the loops come with the editing surface.
    bool DragMove(int x, int y);
    bool DragResize(int handle, int x, int y);
    bool DragRubberBand(int x, int y);
    // The factory's hidden image of the element, made in the surface; null without a window.
    SWnd* CreatePreview(_SCtrl* element);
    HCURSOR GetHandleCursor(int handle) const;
    // Property and apply steps.
    void BuildSharedChoices();
    void AddElementProperties(_SCtrl* element, bool caption);
    void AddTypeProperties(_SCtrl* element);
    void MakeTypeChoices(int list, SArrayString& out) const;
    bool ApplyCommonProperty(_SCtrl* element, const SPropertyCtrl::_SItem* item, bool* handled);
    void ApplyTypeProperty(_SCtrl* element, const SPropertyCtrl::_SItem* item);
    bool ApplyName(_SCtrl* element, const char* name);
    void ApplyBorder(_SCtrl* element, const SPropertyCtrl::_SItem* item);
    void SetPaneBool(const char* group, const char* key, bool value);
    void SetPaneText(const char* group, const char* key, int value);
    void OnRightButtonDown(int x, int y);
    // Command steps.
    void SpaceSelection(bool vertical, bool keepGap);
    bool MoveByKey(UINT key, bool ctrl);
    bool ResizeByKey(UINT key, bool ctrl);
    bool SelectNextByTab();
    // Drag steps: the loop runs until the left button is released and calls track
    // with each pointer position; false when Escape cancelled it.
    bool RunDragLoop(const std::function<void(POINT)>& track, POINT start);
    void DrawXorFrames(const std::vector<RECT>& frames);
    // Painting steps.
    void PaintPage(HDC dc, const RECT& page);
    void PaintGrid(HDC dc, const RECT& page);
    void PaintElement(HDC dc, _SCtrl* element);
    void PaintSelection(HDC dc);

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
    _SPropertyCtrl* m_properties;  // the property pane, once one is attached
    SPanelCtrl* m_toolbox;         // the toolbox panel, once one is attached
    int m_propertyGroup;           // the grid group items go to, -1 none
    SArrayString m_choices[5];     // the shared choice lists of one fill
    SMenu m_menu;
    std::vector<std::unique_ptr<SMenu>> m_tabMenus;
    SResource m_resource;
    SImage m_pageImage;
};
