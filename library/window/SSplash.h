// A picture in a borderless top-most window of its own, centred on the screen
// or at a given point and shaped by the picture, that closes itself after a
// time or when clicked.
#pragma once
#include "SPlatform.h"
#include "SImage.h"
#include "SWnd.h"

class SSplash
{
public:
    // The splash window: closes at the first timer tick after its duration, or
    // on a click or focus loss when asked to.
    class _SWnd : public SWnd
    {
    public:
        static const UINT_PTR TIMER_ID = 1;
        static const UINT TIMER_PERIOD = 100;

        _SWnd();
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

        DWORD m_startTime;
        bool m_closeOnClick;
        int m_duration;  // ms; 0 = no limit
        LPARAM m_creationValue;
    };

    SSplash();
    virtual ~SSplash();
    SSplash(const SSplash&) = delete;
    SSplash& operator=(const SSplash&) = delete;

    // Copies the picture and centres the window rectangle on the screen.
    bool SetImage(const SImage* image);
    // A picture of the program's resources ("BINARY" unless told otherwise).
    bool LoadImage(int resourceId, const char* type = "BINARY");
    void SetTransparentColor(COLORREF color) { m_transparentColor = color; }
    void SetPasteOnScreen(bool on) { m_pasteOnScreen = on; }
    void SetCloseOnClick(bool on) { m_closeOnClick = on; }
    void SetDuration(int milliseconds) { m_duration = milliseconds; }
    const RECT& GetRect() const { return m_rect; }
    // The splash window object, null when none.
    _SWnd* GetWindow() const { return m_window; }

    // False while shown or without a picture; with a point, the window's
    // top-left corner goes there.
    bool Show(SWnd* parent = nullptr, const POINT* point = nullptr);
    bool IsShown() const;
    void Close();

private:
    void ApplyPicture(_SWnd* window, const RECT& r);

    _SWnd* m_window;
    SImage m_image;
    bool m_imageSet;
    COLORREF m_transparentColor;
    bool m_pasteOnScreen;
    bool m_closeOnClick;
    int m_duration;
    RECT m_rect;
};
