// A picture editor: one SImage on a hatched background, zoomed and scrolled,
// edited by seven mouse tools (pan, pen, fill, shapes, dropper, selection,
// zoom) in a main colour (left button) and a second colour (right button).
#pragma once
#include <memory>
#include <vector>
#include "SPlatform.h"
#include "SImage.h"
#include "SKeyboard.h"
#include "SLanguageTable.h"
#include "SPanelCtrl.h"
#include "SWnd.h"

class SVirtualFile;

class SPaintCtrl : public SWnd
{
public:
    enum Tool
    {
        TOOL_NONE = 0,
        TOOL_PEN = 1,
        TOOL_FILL = 2,
        TOOL_SHAPE = 3,
        TOOL_DROPPER = 4,
        TOOL_SELECT = 5,
        TOOL_ZOOM = 6
    };
    enum Shape
    {
        SHAPE_LINE = 0,
        SHAPE_RECTANGLE = 1,
        SHAPE_ELLIPSE = 2
    };
    enum PenTip
    {
        TIP_ROUND = 0,
        TIP_SQUARE = 1
    };
    static constexpr double MINIMUM_ZOOM = 1.0 / 16;
    static constexpr double MAXIMUM_ZOOM = 32.0;
    static const int GROUP_TOOLS = 0;
    static const int GROUP_COLORS = 1;

    // A button panel whose clicks reach the editor that owns it.
    class _SToolPanel : public SPanelCtrl
    {
    public:
        explicit _SToolPanel(SPaintCtrl* editor) : m_editor(editor) {}
        void OnButtonClick(int groupId, int buttonId, _SButton* button) override;

    private:
        SPaintCtrl* m_editor;
    };

    // The colour dialog: true with the chosen colour. Replaceable so that nothing
    // waits on a person where no one is.
    typedef bool (*ColorFunction)(HWND owner, COLORREF initial, COLORREF* chosen);
    static void SetColorFunction(ColorFunction function);

    SPaintCtrl();
    ~SPaintCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // After the pixel under the mouse was stored; empty here.
    virtual void OnPositionChanged() {}
    // After the dropper picked a colour; empty here.
    virtual void OnColorPicked(bool main, Gdiplus::ARGB color) {}
    // Fills the attached tool panel with the tools and the two colours.
    virtual void FillToolPanel(LPARAM first, LPARAM second);
    // After a click on the tool panel was handled; empty here.
    virtual void OnToolPanelClick(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* hit) {}

    // State (SPaintCtrl.cpp).
    void SetDefaults();
    void SetLanguage(bool english);
    SString GetText(const char* key) const { return m_language.GetText(key); }
    bool LoadImage(SVirtualFile* stream);
    SImage& GetImage() { return m_picture; }
    void ResetView();
    void SetTool(int tool);
    int GetTool() const { return m_tool; }
    void SetMainColor(Gdiplus::ARGB color) { m_mainColor = color; }
    Gdiplus::ARGB GetMainColor() const { return m_mainColor; }
    void SetSecondColor(Gdiplus::ARGB color) { m_secondColor = color; }
    Gdiplus::ARGB GetSecondColor() const { return m_secondColor; }
    void SetPenTip(int tip) { m_penTip = tip == TIP_SQUARE ? TIP_SQUARE : TIP_ROUND; }
    int GetPenTip() const { return m_penTip; }
    void SetShape(int shape) { m_shape = shape >= SHAPE_LINE && shape <= SHAPE_ELLIPSE ? shape : SHAPE_LINE; }
    int GetShape() const { return m_shape; }
    int GetSelectMode() const { return m_selectMode; }
    void SetPenSize(int size) { m_penSize = size < 0 ? 0 : size; }
    int GetPenSize() const { return m_penSize; }
    int GetPictureWidth() const { return m_picture.GetWidth(); }
    int GetPictureHeight() const { return m_picture.GetHeight(); }
    POINT GetMousePixel() const { return m_mousePixel; }
    void SetToolPanel(SPanelCtrl* panel);
    SPanelCtrl* GetToolPanel() const { return m_toolPanel.get(); }
    void HandleToolPanelClick(SPanelCtrl* panel, int groupId, int buttonId, SPanelCtrl::_SButton* hit);

    // View: one mapping at every zoom, pixel = (client - start + scroll) / zoom.
    double GetZoom() const { return m_zoom; }
    // Doubles or halves the zoom; false (nothing changes) beyond 1/16 .. 32.
    bool Zoom(bool in);
    int GetScrollX() const { return m_scrollX; }
    int GetScrollY() const { return m_scrollY; }
    void ScrollTo(int x, int y);
    static int ZoomedSize(int size, double zoom);
    // One axis of the picture rectangle: the visible part, centred when it fits.
    static void PlaceAxis(int zoomed, int scroll, int client, int& start, int& length);
    RECT GetPictureRect() const;
    // The picture pixel under a client point; false off the picture.
    bool ScreenToPixel(int x, int y, POINT& pixel) const;
    POINT PixelToScreen(int x, int y) const;

    // Tools (SPaintCtrlTools.cpp); each drag is a begin, moves and an end so that
    // the loops polling the mouse stay thin.
    void OnButtonDown(int x, int y, bool left);
    void OnKey(int key);
    void OnWheel(bool forward);
    bool FillAt(POINT pixel, bool left);
    bool PickColor(POINT pixel, bool left);
    void BeginPen(bool left);
    bool PenTo(const POINT* pixel);
    void BeginShape(POINT press, bool left);
    void ShapeTo(POINT pixel);
    void CancelShape();
    void BeginSelection(POINT press);
    void SelectionTo(POINT pixel);
    void EndSelection();
    bool HasSelection() const { return m_selectionPresent && m_outline.size() == 4; }
    // The selection's outline as a rectangle (left, top, right, bottom).
    RECT GetSelectionRect() const;
    void DropSelection();
    // Drops the selection, leaving its pixels where they are, before another tool.
    void CommitSelection();

    void Paint(HDC dc);

private:
    // One drag in progress: where it started and what it has drawn.
    struct _SDrag
    {
        // Forgets the previous drag, its copy of the picture too.
        void Reset(bool pressLeft, POINT at);

        bool left = true;
        bool moving = false;   // moving the selection rather than making one
        bool drawn = false;
        bool hasLast = false;
        POINT press = {};
        POINT last = {};
        RECT touched = {};     // picture pixels drawn so far
        std::vector<POINT> outlineAtPress;
        SImage copy;           // the picture before a shape
    };

    void OnCreated();
    void RefreshScrollBar(bool vertical);
    void RefreshCursor();
    void TrackMousePixel(int x, int y);
    void ClampScroll();
    bool MousePixel(POINT& pixel) const;
    void Redraw();
    void RedrawPixels(RECT pixels, int grow);
    void Touch(int left, int top, int right, int bottom);
    void StampPen(Gdiplus::Graphics& graphics, POINT pixel, Gdiplus::ARGB color);
    void DrawShape(Gdiplus::Graphics& graphics, POINT to);
    bool RestoreFrom(const SImage& copy);
    bool IsInsideSelection(POINT pixel) const;
    void TrackPan(POINT start);
    void TrackPen();
    void TrackShape();
    void TrackSelection(POINT press);
    void PaintSelection(HDC dc, const RECT& place) const;
    void ChooseColorOf(SPanelCtrl* panel, int buttonId);

    SKeyboard m_keyboard;
    SLanguageTable m_language;
    std::unique_ptr<Gdiplus::HatchBrush> m_hatch;
    SImage m_picture;
    bool m_selectionPresent;
    SImage m_cleared;
    SImage m_floating;
    std::vector<POINT> m_outline;
    int m_tool;
    Gdiplus::ARGB m_mainColor, m_secondColor;
    int m_penTip;
    int m_shape;
    int m_selectMode;
    int m_penSize;
    int m_scrollX, m_scrollY;
    POINT m_mousePixel;
    double m_zoom;
    std::unique_ptr<SPanelCtrl> m_toolPanel;
    _SDrag m_drag;
};
