// A self-drawn two-column property grid: collapsible groups of named, typed items
// edited in place. It tells its owner about edits through OnItemChanged, then
// SWM_PROPERTY_EDITED to its parent; it never interprets the keys it holds.
#pragma once
#include "SPlatform.h"
#include <memory>
#include "SArray.h"
#include "SArrayString.h"
#include "SEditCtrl.h"
#include "SIdentifiants.h"
#include "SImage.h"
#include "SListCtrl.h"
#include "SString.h"
#include "SWnd.h"

class SPropertyCtrl : public SWnd
{
public:
    // Item kinds.
    enum Kind
    {
        KIND_READONLY = 0,
        KIND_BOOL = 1,
        KIND_COLOR = 2,
        KIND_TEXT = 3,
        KIND_INTEGER = 4,
        KIND_REAL = 5,
        KIND_FONT = 6,
        KIND_CHOICE = 7
    };

    // One named, typed value. Choices are "key|display text" or a bare text that serves as both.
    class _SItem
    {
    public:
        _SItem() = default;
        _SItem(const char* key, const char* caption, int kind)
            : key(key ? key : ""), caption(caption ? caption : ""), kind(kind)
        {
        }

        SString GetChoiceValue(int i) const;
        SString GetChoiceText(int i) const;
        int FindChoice(const char* text) const;
        // The current choice: the one whose value is the text value, -1 for none.
        int GetCurrentChoice() const { return FindChoice(text.GetText()); }

        SString key = "";
        SString caption = "";
        int kind = KIND_READONLY;
        unsigned char boolValue = 0;
        SString text = "";
        SArrayString choices;
        COLORREF color = 0xFE00000F;
        SString fontFace = "";
        int fontSize = 0;
        int fontStyle = 0;
        unsigned char mixed = 0;
    };

    class _SGroup
    {
    public:
        _SGroup(const char* key, const char* caption, bool expanded)
            : key(key ? key : ""), caption(caption ? caption : ""), expanded(expanded ? 1 : 0)
        {
        }
        virtual ~_SGroup();
        _SGroup(const _SGroup&) = delete;
        _SGroup& operator=(const _SGroup&) = delete;

        SString key;
        SString caption;
        unsigned char expanded;
        SArray<_SItem*> items;
    };

    // The in-place edit of text, integer and real items.
    class _SEditCtrl : public SEditCtrl
    {
    public:
        explicit _SEditCtrl(SPropertyCtrl* grid) : m_grid(grid) {}
        bool Open(const RECT& rect, _SItem* item);
        // Once per opening: commits or not, destroys the edit, redraws the grid when asked.
        void Close(bool commit, bool redraw);
        bool IsOpen() const { return !m_closed; }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SPropertyCtrl* m_grid;
        _SItem* m_item = nullptr;
        bool m_closed = true;
    };

    class _SWndList;

    // The drop-down list of a choice item (its own _SItem is the list entry: the
    // grid's item is named in full).
    class _SListCtrl : public SListCtrl
    {
    public:
        _SListCtrl(SPropertyCtrl* grid, _SWndList* popup) : m_grid(grid), m_popup(popup) {}
        // Made inside the popup, width pixels wide, filled with the item's choices.
        bool Open(SPropertyCtrl::_SItem* item, int width);
        // Once per opening: commits the selected choice or not, destroys the list and
        // its popup, redraws the grid when asked.
        void Close(bool commit, bool redraw);
        bool IsOpen() const { return !m_closed; }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SPropertyCtrl* m_grid;
        _SWndList* m_popup;
        SPropertyCtrl::_SItem* m_item = nullptr;
        bool m_closed = true;
    };

    // The popup window that holds the drop-down list.
    class _SWndList : public SWnd
    {
    public:
        explicit _SWndList(SPropertyCtrl* grid) : m_grid(grid), m_list(grid, this) {}
        // Opens under the cell (screen coordinates), or above the row when the work area ends first.
        bool Open(const RECT& cell, int rowHeight, _SItem* item);
        _SListCtrl& GetList() { return m_list; }

    private:
        void Place(const RECT& cell, int rowHeight);

        SPropertyCtrl* m_grid;
        _SListCtrl m_list;
    };

    // The choosers the editors run: the answer comes in as a copy of the item and
    // leaves with the chosen colour, or face, size and style bits. Replaceable, so
    // that no test waits on a person; null restores the library's choosers.
    enum Chooser
    {
        CHOOSER_COLOR = 0,
        CHOOSER_SYSTEMCOLOR = 1,
        CHOOSER_FONT = 2
    };
    typedef bool (*ChooserFunction)(HWND owner, int chooser, _SItem& answer);
    static void SetChooserFunction(ChooserFunction function);

    static const int BUTTON_WIDTH = 14;
    static const int TOGGLE_WIDTH = 16;
    static const int BORDER_GRIP = 3;
    static const int MINIMUM_NAME_WIDTH = 25;
    static const int MINIMUM_ROW_HEIGHT = 16;
    static const int IMAGE_COUNT = 8;

    SPropertyCtrl();
    ~SPropertyCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // After the view scrolled; empty here.
    virtual void OnScrolled() {}
    // After the user changed an item and before the change is announced; false puts
    // the old value back.
    virtual bool OnItemChanged(int group, _SItem* item) { return true; }

    // Groups and items (SPropertyCtrl.cpp).
    int AddGroup(const char* key, const char* caption, int position = -1, bool expanded = true);
    int SetItem(int group, const char* key, const char* caption, int kind, const char* value,
                const SArrayString* choices = nullptr, int position = -1);
    int FindGroup(const char* key) const;
    int FindItemIndex(int group, const char* key) const;
    _SItem* FindItem(int group, const char* key) const;
    _SItem* GetItem(int group, int index) const;
    _SGroup* GetGroup(int index) const;
    int GetGroupCount() const { return m_groups.GetCount(); }
    bool LocateItem(const _SItem* item, int* group, int* index) const;
    void RemoveEmptyGroups();
    void RemoveAll();
    void SetLanguage(bool english);
    void SetNameWidth(int width);
    int GetNameWidth() const { return m_nameWidth; }
    int GetRowHeight() const { return m_rowHeight; }

    // Rows, hit test and scrolling (SPropertyCtrlLayout.cpp). Rows count the headers
    // and the items of expanded groups.
    int GetRowCount() const;
    bool GetRowPlace(int row, int* group, int* item) const;
    int GetRowOf(int group, int item) const;
    int GetCurrentRow() const { return m_currentRow; }
    int GetCurrentGroup() const { return m_currentRow < 0 ? -1 : m_currentGroup; }
    int GetCurrentItem() const { return m_currentRow < 0 ? -1 : m_currentItem; }
    void SetCurrentRow(int row, bool redraw);
    // The row under a client point, with its group, item (-1 on a header) and part (1 the value column).
    int HitTest(int x, int y, int* group, int* item, int* part) const;
    bool GetRowRect(int row, int part, RECT* rect) const;
    bool GetButtonRect(int row, int n, RECT* rect) const;
    void UpdateScrollRange();
    void ToggleGroup(int group);

    // Painting (SPropertyCtrlPaint.cpp).
    void Paint(HDC dc);
    // The pictures of a kind's buttons, from the right; returns how many there are.
    static int GetButtonImages(int kind, int images[3]);
    // The text the value column shows for the item.
    SString GetDisplayText(const _SItem* item) const;

    // Editors and the change protocol (SPropertyCtrlEditors.cpp).
    void OpenEditor(int row, int group, int item, bool alternative);
    void CloseEditors(bool redraw);
    _SEditCtrl& GetEdit() { return m_edit; }
    _SWndList& GetDropDown() { return m_dropDown; }

private:
    // Announces a change already stored in the item, or puts old back when refused.
    void RunChangeProtocol(_SItem* item, const _SItem& old);
    void StepChoice(_SItem* item);
    void Toggle(_SItem* item);
    HFONT GetGuiFont() const { return m_guiFont; }
    void Redraw();
    // Layout steps.
    void KeepCurrent(const _SGroup* group, const _SItem* item);
    int GetVisibleRowCount() const;
    // Painting steps.
    void PaintHeader(Gdiplus::Graphics& graphics, const _SGroup* group, int top, int width);
    void PaintItem(Gdiplus::Graphics& graphics, const _SItem* item, int row, int top, int width, bool last);
    void PaintValue(Gdiplus::Graphics& graphics, const _SItem* item, const RECT& cell);
    void PaintSwatch(Gdiplus::Graphics& graphics, COLORREF color, const RECT& swatch);
    void PaintButtons(Gdiplus::Graphics& graphics, const _SItem* item, int row);
    void PaintText(Gdiplus::Graphics& graphics, const char* text, Gdiplus::Font* font, const RECT& rect,
                   Gdiplus::Brush* brush);
    void MakeImages();
    // Editor steps.
    void Choose(_SItem* item, int chooser);
    void PressButton(int row, _SItem* item, int button);
    // Input steps (SPropertyCtrlInput.cpp).
    void OnCreated();
    bool IsOnBorder(int x) const;
    void OnLeftDown(int x, int y);
    void OnLeftDoubleClick(int x, int y);
    void OnMouseMove(int x, WPARAM keys);
    void EndBorderDrag();
    void OnKeyDown(WPARAM key);
    void MoveToItemRow(int step);
    void OnWheel(int delta);
    void NotifyScrolled();

    SIdentifiants m_identifiants;
    Gdiplus::Color m_headerStart, m_headerEnd, m_valueStart, m_valueEnd;
    Gdiplus::Pen m_shadowPen;
    Gdiplus::SolidBrush m_backgroundBrush;
    Gdiplus::SolidBrush m_groupTextBrush;
    Gdiplus::SolidBrush m_nameBrush;
    Gdiplus::SolidBrush m_textBrush;
    Gdiplus::SolidBrush m_selectionBrush;
    Gdiplus::SolidBrush m_selectionTextBrush;
    HFONT m_guiFont;
    std::unique_ptr<Gdiplus::Font> m_font;
    std::unique_ptr<Gdiplus::Font> m_boldFont;
    SImage m_images[IMAGE_COUNT];
    SArrayString m_words;
    int m_rowHeight;
    int m_nameWidth;
    SArray<_SGroup*> m_groups;
    int m_currentRow, m_currentGroup, m_currentItem;
    _SEditCtrl m_edit;
    _SWndList m_dropDown;
    // The column border drag: where it started.
    bool m_borderDrag;
    int m_dragStartX, m_dragStartWidth;
};
