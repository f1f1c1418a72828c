// A self-drawn text view: its window text shown as plain text laid out by GDI+,
// or as rich text in a small tag language (bold, italic, underline, colours,
// links, pictures, per-line alignment). It can act as a push button and scroll
// its content as a timed marquee.
#pragma once
#include "SPlatform.h"
#include <gdiplus.h>
#include "SArray.h"
#include "SArrayString.h"
#include "SDisk.h"
#include "SNetwork.h"
#include "SWnd.h"

class SImage;
class SResource;

class SMediaCtrl : public SWnd
{
public:
    // Alignment flags: one horizontal, one vertical.
    enum
    {
        ALIGN_LEFT = 0,
        ALIGN_CENTER = 1,
        ALIGN_RIGHT = 2,
        ALIGN_LEFT_OTHER = 4, // drawn as left
        ALIGN_TOP = 0,
        ALIGN_MIDDLE = 16,
        ALIGN_BOTTOM = 32
    };
    static const UINT_PTR MARQUEE_TIMER = 82;

    // Kinds of tag.
    enum TagKind
    {
        TAG_BASE,
        TAG_BOLD,
        TAG_ITALIC,
        TAG_UNDERLINE,
        TAG_COLOR,
        TAG_LINK,
        TAG_IMAGE,
        TAG_LEFT,
        TAG_CENTER,
        TAG_RIGHT
    };

    // An array that deletes the objects it points to.
    template <class T>
    class _SOwnedArray : public SArray<T*>
    {
    public:
        ~_SOwnedArray() override { this->DeleteAndRemoveAll(); }
    };

    // One tag met in the source, with the runs of text it governs: from just
    // after it (and from the start of each following source line) to the next
    // tag's '<' or the end of the line (-1 for an empty line).
    class _STag
    {
    public:
        _STag(int kind, bool opening, DWORD color = 0) : kind(kind), opening(opening), color(color) {}
        int kind;
        bool opening;
        SArray<int> starts;
        SArray<int> ends;
        DWORD color; // ARGB, colour tags only
    };

    // One run of text, or one picture, with its place in its line.
    class _SText
    {
    public:
        int start = 0;
        int length = 0;
        float x = 0, y = 0, width = 0, height = 0;
        LOGFONTA font = {};
        DWORD color = 0; // ARGB
        bool link = false;
        SImage* image = nullptr; // from the picture cache; null for text
        int alignment = 0;       // 0 near, 1 centre, 2 far
    };

    // One laid-out line: a hard line of the source.
    class _SLine
    {
    public:
        virtual ~_SLine() {}
        float x = 0;
        float height = 0;
        float width = 0;
        int alignment = -1; // from the tags: 0 left, 1 centre, 2 right; -1 the view's own
        _SOwnedArray<_SText> runs;
    };

    // Measures runs of text; the view measures with GDI+, tests with fixed sizes.
    class _SMeasurer
    {
    public:
        virtual ~_SMeasurer() {}
        virtual float GetLineHeight(const LOGFONTA& font) = 0;
        // alignment 0 near, 1 centre, 2 far; boxWidth is the layout box's width.
        virtual bool Measure(const char* text, int length, const LOGFONTA& font, int alignment, float boxWidth,
                             float& width, float& height) = 0;
    };

    // Finds the picture a run in the image state names; null when there is none.
    class _SPictures
    {
    public:
        virtual ~_SPictures() {}
        virtual SImage* FindPicture(const SString& name) = 0;
    };

    // What runs take when no tag says otherwise.
    struct _SStyle
    {
        LOGFONTA font;
        DWORD textColor; // ARGB
        DWORD linkColor; // ARGB
    };

    // Opens a link target: the mail program for an address, else the shell.
    typedef bool (*LinkOpener)(SMediaCtrl& view, const char* target, bool mail);
    typedef DWORD(WINAPI* Clock)();

    SMediaCtrl();
    ~SMediaCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The tag language, apart from drawing (SMediaCtrlTags.cpp).
    static void ScanTags(const char* source, int length, SArray<_STag*>& tags);
    static DWORD ParseColorTag(const char* tag, int length);
    static void BuildLines(const char* source, const SArray<_STag*>& tags, const _SStyle& style,
                           _SPictures* pictures, SArray<_SLine*>& lines);
    // Measures and places the lines; returns the content size (SMediaCtrlLayout.cpp).
    static SIZE PlaceLines(SArray<_SLine*>& lines, const char* source, _SMeasurer& measurer,
                           const LOGFONTA& font, int innerWidth, bool wrapping, int viewAlignment);

    // Settings.
    void SetTags(bool on);
    bool GetTags() const { return m_tags; }
    void SetWrapping(bool on);
    void SetTrimming(bool on);
    void SetAlignment(int flags);
    void SetHorizontalAlignment(int flag);
    void SetVerticalAlignment(int flag);
    int GetHorizontalAlignment() const;
    int GetVerticalAlignment() const;
    void SetMargins(int left, int top, int right, int bottom);
    void SetTextColor(COLORREF color);
    void SetTextColorArgb(DWORD color);
    DWORD GetTextColor() const { return m_textColor; }
    void SetLinkColor(DWORD color);
    void SetResource(SResource* resource);
    void SetImage(SImage* image) { m_image = image; }
    int GetContentWidth() const { return m_contentWidth; }
    int GetContentHeight() const { return m_contentHeight; }
    RECT GetInnerRect() const;
    const SArray<_SLine*>& GetLines() const { return m_lines; }

    // Button mode.
    void SetButton(bool on);
    void SetChecked(bool on);

    // Scrolling (SMediaCtrlScroll.cpp).
    void SetAutoScroll(double speedX, double speedY, bool force = false, const POINT* start = nullptr);
    SMediaCtrl* SetAutoScrollLoop(bool on);
    bool IsScrollingX() const;
    bool IsScrollingY() const;
    bool IsAutoScrolling() const { return m_autoScroll; }
    int GetScrollOffsetX() const { return m_offsetX; }
    int GetScrollOffsetY() const { return m_offsetY; }

    // Links: the first link rectangle of the last paint holding the point, or -1.
    int LinkAt(int x, int y) const;
    int GetLinkCount() const { return m_linkTargets.GetCount(); }
    RECT GetLinkRect(int i) const;
    SString GetLinkTarget(int i) const { return m_linkTargets.GetAt(i); }

    // What the view reaches outside itself through: the measurer of its layout
    // (null: GDI+), the clock of its marquee and the opener of its links.
    void SetMeasurer(_SMeasurer* measurer);
    void SetClock(Clock clock) { m_clock = clock ? clock : DefaultClock(); }
    void SetLinkOpener(LinkOpener opener) { m_opener = opener ? opener : &OpenLink; }
    static bool OpenLink(SMediaCtrl& view, const char* target, bool mail);

    void ParseTags();
    void LayoutPlain();
    void Paint(HDC dc);

    // GDI+ pieces shared by measuring and drawing: a font of the record (the
    // caller deletes it; null when none can be made) and 0/1/2 as near, centre, far.
    static Gdiplus::Font* CreateGdiplusFont(HDC dc, const LOGFONTA& font);
    static Gdiplus::StringAlignment ToStringAlignment(int alignment);
    void SetupStringFormat(Gdiplus::StringFormat& format) const;

protected:
    RECT GetPlainTextRect() const;

private:
    // The pictures of one parse, named by their entries.
    class _SPictureCache : public _SPictures
    {
    public:
        ~_SPictureCache() override;
        SImage* FindPicture(const SString& name) override;
        void Clear();
        SResource* store = nullptr;
        SArray<SImage*> images; // owned
    };

    static Clock DefaultClock();
    void Relayout();
    void RelayoutAndRedraw();
    void Redraw();
    _SStyle GetRunStyle() const;
    SIZE Measure(bool tagged);
    SIZE MeasureWithView(_SMeasurer* measurer, bool tagged);
    LOGFONTA GetWindowLogFont() const;
    void SetSource(const char* text);

    // Painting steps (SMediaCtrlPaint.cpp).
    void PaintButtonEdge(HDC dc) const;
    void PaintPlain(HDC dc);
    void PaintTagged(HDC dc, const RECT& inner);
    void PaintRun(Gdiplus::Graphics& graphics, HDC dc, const _SText& run, const Gdiplus::RectF& rect,
                  const Gdiplus::StringFormat& viewFormat);
    int GetFirstLineTop(const RECT& inner) const;

    // Mouse and marquee steps (SMediaCtrlScroll.cpp).
    void StopAutoScroll();
    void StepAutoScroll();
    void RefreshCursor();
    bool PressLink(LPARAM lParam);
    LRESULT OnMouseMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnButtonDown(LPARAM lParam);
    void OnMouseEnter(WPARAM wParam);
    int GetButtonState() const;

    SDisk m_disk;
    SNetwork m_network;
    SString m_source;
    const wchar_t* m_wide; // the source's cached wide copy
    int m_wideLength;
    DWORD m_textColor;
    SImage* m_image;
    int m_alignment;
    bool m_wrapping;
    bool m_trimming;
    int m_marginLeft, m_marginTop, m_marginRight, m_marginBottom;
    int m_contentWidth, m_contentHeight;
    int m_offsetX, m_offsetY;
    bool m_autoScroll;
    bool m_autoScrollLoop;
    bool m_autoScrollVertical;
    double m_positionX, m_positionY;
    double m_speedX, m_speedY; // pixels per millisecond
    DWORD m_lastStep;
    bool m_tags;
    DWORD m_linkColor;
    SArrayString m_linkTargets;
    SArray<RECT> m_linkRects;
    _SPictureCache m_pictures;
    _SOwnedArray<_SLine> m_lines;
    bool m_button, m_checked, m_hover, m_pressed;
    _SMeasurer* m_measurer;
    Clock m_clock;
    LinkOpener m_opener;
};
