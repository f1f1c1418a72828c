// A central view surrounded by bars docked to its four sides. Each bar is a
// child window with a frame of its own (grip, close box, edges dragged to resize);
// bars on one side form bands of their own or share the band of the bar before.
#pragma once
#include <vector>
#include "SPlatform.h"
#include "SArray.h"
#include "SWnd.h"

class SGuiCtrl : public SWnd
{
public:
    enum BarFlag
    {
        BAR_VERTICAL = 1,      // docked left or right (else top or bottom)
        BAR_FAR = 2,           // docked right or bottom
        BAR_SHARED = 4,        // shares the band of the previous visible bar of its side
        BAR_HIDDEN = 8,
        BAR_NOCLOSE = 16,
        BAR_THIN = 32,         // 4-pixel grip, no close box
        BAR_FIXEDHEIGHT = 64,  // top and bottom edges cannot be dragged
        BAR_FIXEDWIDTH = 128   // left and right edges cannot be dragged
    };
    // What a point of a bar's frame is.
    enum HitCode
    {
        HIT_NONE = 0,
        HIT_CLOSE = 1,
        HIT_GRIP = 2,
        HIT_TOP = 3,
        HIT_BOTTOM = 4,
        HIT_LEFT = 5,
        HIT_RIGHT = 6
    };
    static const int MINIMUM_SIZE = 16;
    static const int BORDER = 2;

    class _SBar;

    // What the layout and the hit test read of a bar.
    struct _SBarShape
    {
        int flags;
        int width, height;
    };
    typedef std::vector<_SBarShape> Shapes;

    // The central window; every message it gets goes to OnChildMessage first.
    class _SWndView : public SWnd
    {
    public:
        explicit _SWndView(SGuiCtrl* owner) : m_owner(owner) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        SGuiCtrl* m_owner;
    };

    // A bar's window: its non-client frame is the grip, the close box and the edges.
    class _SWndBar : public SWnd
    {
    public:
        _SWndBar(SGuiCtrl* owner, _SBar* bar) : m_owner(owner), m_bar(bar) {}
        ~_SWndBar() override;
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
        void OnNcZoneEnter(const RECT* zone, int x, int y, int index) override;
        void OnNcZoneMove(const RECT* zone, int x, int y, int index) override;
        void OnNcZoneLeave(const RECT* zone, int x, int y, int index) override;
        // The frame drawn into a context of the window's size.
        void PaintFrame(HDC dc);

    private:
        LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
        void CalcClient(RECT* window) const;
        int HitTestScreen(int screenX, int screenY) const;
        void ShowCursorFor(int code) const;
        void PaintFrameOnWindow();
        void DragEdge(int code, POINT press);
        void OnFrameClick(LPARAM screenPoint);

        SGuiCtrl* m_owner;
        _SBar* m_bar;
    };

    class _SBar
    {
    public:
        _SBar(SGuiCtrl* owner, int id, int flags);
        virtual ~_SBar();
        _SBar(const _SBar&) = delete;
        _SBar& operator=(const _SBar&) = delete;

        void SetHidden(bool hidden);
        // Each value raised to the minimum size.
        void SetSize(int width, int height);
        bool IsVertical() const { return (flags & BAR_VERTICAL) != 0; }
        bool IsFar() const { return (flags & BAR_FAR) != 0; }
        bool IsShared() const { return (flags & BAR_SHARED) != 0; }
        bool IsHidden() const { return (flags & BAR_HIDDEN) != 0; }
        bool HasCloseBox() const { return (flags & (BAR_NOCLOSE | BAR_THIN)) == 0; }
        int GetGrip() const { return (flags & BAR_THIN) ? 4 : 8; }
        int GetSide() const { return flags & (BAR_VERTICAL | BAR_FAR); }
        int GetId() const { return id; }
        int GetFlags() const { return flags; }
        int GetWidth() const { return width; }
        int GetHeight() const { return height; }
        _SWndBar* GetWindow() { return &window; }
        void RedrawFrame();

        SGuiCtrl* owner;
        int id;
        int flags;
        int width, height;
        _SWndBar window;
        RECT placed = {};  // where the last layout put the window
    };

    SGuiCtrl();
    ~SGuiCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Called first for every message of the view (bar null) and of each bar;
    // false means handled, with *result the answer.
    virtual bool OnChildMessage(_SBar* bar, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
    {
        return true;
    }

    // False when the id exists or the bar's window cannot be made.
    bool AddBar(int id, int width, int height, int flags);
    _SBar* FindBar(int id) const;
    _SBar* GetBar(int index) const;
    int GetBarCount() const { return m_bars.GetCount(); }
    void RemoveAllBars();
    void Layout();
    _SWndView* GetView() { return &m_view; }

    // Where each bar goes (empty for hidden bars) and what is left for the view.
    static void ComputeLayout(const Shapes& bars, const RECT& client, std::vector<RECT>& placed, RECT& view);
    // The client area of a bar's window of that size, in window coordinates.
    static RECT GetBarClient(int flags, int width, int height);
    // The hit code of a point of bar index's window (window coordinates).
    static int HitTestBar(const Shapes& bars, int index, int x, int y, int width, int height);
    int HitTestBar(const _SBar* bar, int x, int y, int width, int height) const;
    Shapes GetShapes() const;
    // The size an edge drag gives: the dragged edge keeps its offset under the pointer.
    static int DragSize(int code, const RECT& window, POINT press, POINT pointer);
    // A dragged size for the bar and the nearest earlier visible bar of its
    // side; false when it changes nothing.
    bool ApplyDragSize(_SBar* bar, int code, int size);
    // The close box: asks the parent and hides the bar unless it says no.
    bool CloseBar(_SBar* bar);

private:
    int IndexOf(const _SBar* bar) const;
    // The nearest visible bar before (step -1) or after (+1) index on its side; -1 when none.
    static int NeighbourOnSide(const Shapes& bars, int index, int step);
    // The rectangle of a visible bar: from the room left, which it shrinks,
    // or from the band of the bar before it.
    static RECT PlaceBar(const Shapes& bars, int index, RECT& room, std::vector<RECT>& placed);
    void RedrawAll();

    _SWndView m_view;
    SArray<_SBar*> m_bars;
};
