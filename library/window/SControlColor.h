// The background brush a native control wrapper answers its parent's reflected
// colour request with, and the device-context settings that go with it. The
// control owns one of these: at most one brush lives at a time, and it dies
// with the control.
#pragma once
#include "SPlatform.h"

class SControlColor
{
public:
    SControlColor() : m_brush(nullptr) {}
    ~SControlColor() { Free(); }
    SControlColor(const SControlColor&) = delete;
    SControlColor& operator=(const SControlColor&) = delete;

    // Buttons, boxes, edits, sliders, scroll bars: none gives 0 (the system
    // paints), transparent the stock null brush, a colour a solid brush.
    HBRUSH MakeBrush(COLORREF background);
    // Lists: only a real colour gives a brush; none and transparent give 0.
    HBRUSH MakeOpaqueBrush(COLORREF background);
    // Transparent: transparent background mode; a real colour: the context's
    // background colour. Nothing for none.
    static void PrepareContext(HDC dc, COLORREF background);
    // The context's text colour from an ARGB colour.
    static void SetTextColor(HDC dc, DWORD argb);

    HBRUSH GetBrush() const { return m_brush; }
    void Free();

    // The reserved forms of a window colour resolved: 0xFE000000 + n is the
    // system colour n.
    static COLORREF Resolve(COLORREF color);
    // ARGB (0xAARRGGBB) and COLORREF (0x00BBGGRR) of the same red, green and blue.
    static COLORREF ArgbToColorRef(DWORD argb);
    static DWORD ColorRefToArgb(COLORREF color, BYTE alpha = 0xFF);

private:
    HBRUSH m_brush;
};
