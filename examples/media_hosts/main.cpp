// The two ActiveX hosts in one window: the media player plays the file named
// on the command line, the browser shows a page generated here. Where a
// control cannot be created, its area says so.
#include "SPlatform.h"
#include <cstdlib>
#include "SBrowserCtrl.h"
#include "SLibrary.h"
#include "SMediaPlayerCtrl.h"
#include "SMemory.h"
#include "SWnd.h"

namespace
{
const char* const PAGE =
    "<html><head><title>Media hosts</title></head>"
    "<body style=\"font-family: sans-serif\"><h1>Media hosts</h1>"
    "<p>This page was written to a temporary file and shown by the browser host.</p>"
    "</body></html>";

class HostsWnd : public SWnd
{
public:
    bool Open(const char* media)
    {
        RECT r = {100, 100, 740, 620};
        if (!Create("Media hosts", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &r, nullptr))
            return false;
        SetBackgroundColor(RGB(240, 240, 240));
        OpenPlayer(media);
        OpenBrowser();
        InvalidateRect(nullptr, true);
        return true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case WM_ERASEBKGND:
            PaintNotices(lParam ? reinterpret_cast<HDC>(lParam) : reinterpret_cast<HDC>(wParam));
            break;
        case SWM_PLAYER_ENDED:
            SetWindowText("Media hosts - playback ended");
            break;
        case SWM_BROWSER_DOCUMENTDONE:
            // The browser covers its area: its failure goes to the caption.
            if (lParam == 1)
                SetWindowText("Media hosts - the browser could not load the page");
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        default:
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    static RECT PlayerArea() { return {10, 10, 610, 250}; }
    static RECT BrowserArea() { return {10, 260, 610, 480}; }

    void OpenPlayer(const char* media)
    {
        const RECT area = PlayerArea();
        if (!m_player.CreateChildUntitled(WS_CHILD | WS_VISIBLE, 0, &area, GetHandle()))
            m_playerNotice = "The media player cannot be created here.";
        else if (!media)
            m_playerNotice = "Name a media file on the command line to play it.";
        else if (!m_player.Open(media, true))
            m_playerNotice = "The media file cannot be opened.";
    }

    void OpenBrowser()
    {
        const RECT area = BrowserArea();
        if (!m_browser.Create(WS_VISIBLE, 0, &area, GetHandle()))
        {
            m_browserNotice = "The web browser cannot be created here.";
            return;
        }
        SMemory page;
        page.WriteText(PAGE);
        page.SeekToStart();
        if (!m_browser.ShowHtml(&page, "Generated page", "htm"))
            SetWindowText("Media hosts - the generated page cannot be shown");
    }

    // The notices are drawn under the hosts' areas: a host that exists covers its own.
    void PaintNotices(HDC dc)
    {
        RECT client;
        GetClientRect(&client);
        HBRUSH brush = CreateSolidBrush(RGB(240, 240, 240));
        FillRect(dc, &client, brush);
        DeleteObject(brush);
        SetBkMode(dc, TRANSPARENT);
        RECT player = PlayerArea(), browser = BrowserArea();
        if (m_playerNotice.GetLength() > 0)
            DrawTextA(dc, m_playerNotice.GetText(), -1, &player, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        if (m_browserNotice.GetLength() > 0)
            DrawTextA(dc, m_browserNotice.GetText(), -1, &browser, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }

    SMediaPlayerCtrl m_player;
    SBrowserCtrl m_browser;
    SString m_playerNotice;
    SString m_browserNotice;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    {
        HostsWnd window;
        if (window.Open(__argc > 1 ? __argv[1] : nullptr))
        {
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ShutdownLibrary(instance, false);
    return 0;
}
