// A self-drawn character LCD: a grid of cells each showing a 5 x 7 dot glyph,
// its window text one display line per text line, each line able to scroll
// sideways like a ticker at its own speed.
#pragma once
#include "SPlatform.h"
#include "SArray.h"
#include "SArrayString.h"
#include "SWnd.h"

class SLcdCtrl : public SWnd
{
public:
    static const UINT_PTR SCROLL_TIMER = 82;
    static const UINT SCROLL_PERIOD = 20;
    typedef DWORD(WINAPI* Clock)();

    SLcdCtrl();
    ~SLcdCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Called whenever a scrolling line's shown position changes; empty here.
    virtual void OnScrollStep(int line, int position) {}

    void SetPixelSize(int width, int height);
    void SetLineCount(int count);
    void SetScrollSpeed(int line, double charsPerSecond);
    void SetCharCount(int count);
    void SetCellColor(COLORREF color);
    void SetDotColor(COLORREF color);
    void SetTextColor(COLORREF color) { SetDotColor(color); }
    void SetScrolling(bool on);

    int GetDotWidth() const { return m_dotWidth; }
    int GetDotHeight() const { return m_dotHeight; }
    int GetCharCount() const { return m_charCount; }
    int GetLineCount() const { return m_lineCount; }
    bool IsScrolling() const { return m_scrolling; }
    COLORREF GetCellColor() const { return m_cellColor; }
    COLORREF GetDotColor() const { return m_dotColor; }
    double GetScrollOffset(int line) const;
    // The clock the scroll steps read; null restores timeGetTime.
    void SetClock(Clock clock) { m_clock = clock ? clock : &timeGetTime; }

    // The five column bytes of a character's glyph (bit 7 the top row).
    static const BYTE* GetGlyph(unsigned char c);
    // One scroll step over the text lines: what each line shows now.
    void ScrollStep(const SArrayString& lines, SArrayString& shown);
    void Paint(HDC dc);

private:
    void DrawGlyph(HDC dc, const RECT& client, long long x, long long y, unsigned char c) const;
    void FillCells(HDC dc, const RECT& client, long long left, long long top) const;
    void DrawText(HDC dc, const RECT& client, long long left, long long top, const SString& text) const;
    SString ScrollLine(int line, const SString& text, double elapsed);

    COLORREF m_cellColor;
    COLORREF m_dotColor;
    int m_dotWidth, m_dotHeight;
    int m_charCount;
    int m_lineCount;
    bool m_scrolling;
    DWORD m_lastStep;
    SArray<double> m_speeds;
    SArray<double> m_offsets;
    Clock m_clock;
};
