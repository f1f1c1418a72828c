// Three rich-text views: styled text with a picture from the program's own
// resources, links whose targets the window shows in its title instead of
// opening them, and a marquee line.
#include "SPlatform.h"
#include "SLibrary.h"
#include "SMediaCtrl.h"
#include "SMemory.h"
#include "SResource.h"

namespace
{
const char* const STYLED_TEXT =
    "<B>Rich text</B> with <I>italic</I>, <U>underlined</U> and <#C03020>coloured</#> words,\r\n"
    "<#2060C0>blue <B>and bold</B></#>, <#20A04080>half transparent</#> too.\r\n"
    "<C><IMG>disc</IMG> a picture from the program's resources</C>\r\n"
    "<R>and a line on the right</R>";
const char* const LINK_TEXT =
    "Press <LINK>http://example.org/music</LINK> or <LINK>listener@example.org</LINK>:\r\n"
    "the window's title shows the target instead of opening it.";
const char* const MARQUEE_TEXT = "<B>Now playing:</B> a marquee line that enters from the right and loops.";

class RichTextWnd : public SWnd
{
public:
    bool Open()
    {
        LoadPictures();
        RECT r = {200, 150, 720, 470};
        if (!Create("Rich text", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, &r, nullptr))
            return false;
        SetBackgroundColor(0xFE000000 + COLOR_BTNFACE);
        RECT styled = {10, 10, 490, 120}, links = {10, 130, 490, 190}, marquee = {10, 200, 490, 226};
        m_styled.SetResource(&m_store);
        m_styled.SetTags(true);
        m_styled.CreateChild(STYLED_TEXT, WS_VISIBLE, 0, &styled, GetHandle());
        m_styled.SetMargins(4, 4, 4, 4);
        m_links.SetTags(true);
        m_links.CreateChild(LINK_TEXT, WS_VISIBLE, 0, &links, GetHandle());
        m_links.SetLinkColor(0xFF1040E0);
        m_marquee.SetTags(true);
        m_marquee.CreateChild(MARQUEE_TEXT, WS_VISIBLE, 0, &marquee, GetHandle());
        m_marquee.SetAutoScrollLoop(true)->SetAutoScroll(-60, 0, true);
        return true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case SWM_MEDIA_LINK:
            // Handled here: the view does not open the target.
            SetWindowText(reinterpret_cast<const char*>(lParam));
            return 1;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        default:
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    // The store lists the picture resource as the entry the <IMG> tag names.
    void LoadPictures()
    {
        SMemory* pack = new SMemory;
        if (!pack->LoadFromResource("DISC", "PICTURE", nullptr))
        {
            delete pack;
            return;
        }
        const int size = static_cast<int>(pack->GetSize());
        m_store.SetPackStream(pack);
        m_store.AddEntry("image\\disc", 0, size);
    }

    SResource m_store;
    SMediaCtrl m_styled;
    SMediaCtrl m_links;
    SMediaCtrl m_marquee;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    {
        RichTextWnd window;
        if (window.Open())
        {
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
