// A self-drawn strip of document tabs, each owning a child page window in which
// its document's controls live; only the current tab's page shows. Tabs are
// picked, closed, scrolled and dragged (also onto other strips), and the parent
// is asked before each such change.
#pragma once
#include <memory>
#include "SPlatform.h"
#include "SArray.h"
#include "SKeyboard.h"
#include "SMenu.h"
#include "SString.h"
#include "SWnd.h"

class STabDocCtrl : public SWnd
{
public:
    static const int DEFAULT_BUTTON_SIZE = 22;
    // Library cursors shown while a tab is dragged.
    static const int CURSOR_NO = 6;
    static const int CURSOR_DROP = 14;

    class _SItem;

    // A page: passes its children's SWM_CHANGED on to the strip, with the child
    // as the sender and the strip's current index as the value.
    class _SWnd : public SWnd
    {
    public:
        explicit _SWnd(_SItem* item) : m_item(item) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        _SItem* m_item;
    };

    class _SItem
    {
    public:
        _SItem(STabDocCtrl* owner, int id, const char* caption);
        virtual ~_SItem();
        _SItem(const _SItem&) = delete;
        _SItem& operator=(const _SItem&) = delete;
        // The caption as the tab shows it: "*" after it when modified.
        SString GetShownCaption() const;

        int id;
        SString caption;
        _SWnd page;
        STabDocCtrl* owner;
        bool modified;
        int extra;
    };

    STabDocCtrl();
    ~STabDocCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Items (STabDocCtrl.cpp). InsertItem answers the current index, -1 when the
    // page cannot be made (nothing is kept then).
    int InsertItem(const char* caption, int index = -1, int id = 0);
    void SetSelection(int index);
    int GetSelection() const { return m_current; }
    bool MoveItem(int from, int to);
    bool DeleteItem(int index);
    void DeleteAllItems();
    bool AttachItem(_SItem* item);
    bool MoveItemTo(int index, STabDocCtrl* other);
    int GetItemCount() const { return m_items.GetCount(); }
    _SItem* GetItem(int index) const;
    SWnd* GetPage(int index) const;
    int FindItem(int id) const;
    bool SetItemModified(int index, bool modified);
    bool IsItemModified(int index) const;
    bool AddDropTarget(STabDocCtrl* target);
    bool RemoveDropTarget(STabDocCtrl* target);
    int GetDropTargetCount() const { return m_dropTargets.GetCount(); }

    void SetBackColors(COLORREF tab, COLORREF currentTab, COLORREF window);
    void SetTextColors(COLORREF text, COLORREF currentText);
    void SetCloseButton(bool shown);
    bool HasCloseButton() const { return m_closeShown != 0; }
    void SetMovable(bool movable) { m_movable = movable ? 1 : 0; }
    bool IsMovable() const { return m_movable != 0; }
    SMenu& GetContextMenu() { return m_menu; }

    // Geometry.
    void RecalcLayout();
    int GetStripHeight() const { return m_stripHeight; }
    int GetButtonSize() const { return m_buttonSize; }
    int GetFirstVisible() const { return m_firstVisible; }
    int GetVisibleCount() const { return m_fitCount; }
    RECT GetTabRect(int index) const;
    const RECT& GetCloseRect() const { return m_closeRect; }
    const RECT& GetRightArrowRect() const { return m_rightRect; }
    const RECT& GetLeftArrowRect() const { return m_leftRect; }
    // The tab under a client point, from the first visible; -1 for none.
    int TabAt(int x, int y) const;
    // The close box and the two arrows at the right end of a strip of that width.
    static void PlaceButtons(int width, int margin, int size, bool closeShown, RECT& close, RECT& right, RECT& left);
    // Tabs of those widths (margins included) from the first visible one, left of
    // the limit: out gets one rectangle per width (empty when not shown); returns
    // how many fit.
    static int PlaceTabs(const int* widths, int count, int first, int limit, int gap, int bottom, RECT* out);

    // Mouse steps (STabDocCtrlMouse.cpp).
    // Makes the tab current after SWM_TABDOC_SELCHANGING allowed it.
    bool RequestSelection(int index);
    // Asks SWM_TABDOC_CLOSEQUERY for the current item and deletes it on a 0 answer.
    bool CloseCurrent();
    // One step of a drag inside the strip: the dragged item moves onto the tab
    // under the point once the point has passed the middle of the place it
    // would take there, unless the parent refuses; false ends the drag.
    bool DragOver(int& dragged, int x, int y);
    // The drop target whose window holds the screen point.
    STabDocCtrl* FindDropTarget(POINT screen) const;
    // A click on the close box or an arrow.
    void ClickButtons(int x, int y);

    // Painting (STabDocCtrlPaint.cpp).
    void Paint(HDC dc);

private:
    void OnCreated();
    void MakeFonts();
    void RecalcTabs();
    void ShowCurrentPage();
    void RedrawStrip();
    _SItem* DetachItem(int index);
    float MeasureCaption(const SString& text, bool bold) const;
    void DragTab(int x, int y, bool right);
    void RunTabDrag(int dragged);
    int MiddleAfterMove(int dragged, int to) const;
    void LeaveDropTargets();
    static bool RemoveStrip(SArray<STabDocCtrl*>& strips, STabDocCtrl* strip);
    void OnMiddleUp(int x, int y);
    void PaintTabs(Gdiplus::Graphics& graphics);
    void PaintButtons(Gdiplus::Graphics& graphics);

    SKeyboard m_keyboard;
    COLORREF m_tabBack, m_currentBack, m_tabText, m_currentText, m_windowBack;
    std::unique_ptr<Gdiplus::Font> m_font;
    std::unique_ptr<Gdiplus::Font> m_boldFont;
    SMenu m_menu;
    SArray<STabDocCtrl*> m_dropTargets;
    // The strips that hold this one as a drop target, told when it goes.
    SArray<STabDocCtrl*> m_dropSources;
    BYTE m_closeShown;
    BYTE m_movable;
    RECT m_closeRect, m_rightRect, m_leftRect;
    SArray<_SItem*> m_items;
    SArray<RECT> m_tabRects;
    int m_current;
    int m_stripHeight;
    int m_margin;
    int m_gap;
    int m_band;
    int m_buttonSize;
    int m_firstVisible;
    int m_fitCount;
};
