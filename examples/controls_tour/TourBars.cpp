#include "TourBars.h"
#include <commctrl.h>

namespace
{
enum Command
{
    COMMAND_PLAY = 501,
    COMMAND_STOP = 502,
    COMMAND_PAGES = 503,
    COMMAND_STATUS = 504,
    MENU_PAGE_FIRST = 600,  // + the tab number
    MENU_STATUS_HELLO = 700,
    MENU_STATUS_CLEAR = 701
};

const int TOOLBAR_HEIGHT = 26;

RECT AreaOf(int left, int top, int width, int height)
{
    RECT r = {left, top, left + width, top + height};
    return r;
}
} // namespace

// --- Splitter ---------------------------------------------------------------

bool TourSplitter::Join(SWnd* parent, const RECT& area, SWnd* left, SWnd* right)
{
    if (!Create(WS_VISIBLE, 0, &area, parent->GetHandle()) || !SetGrid(2, 1))
        return false;
    SWnd* windows[2] = {left, right};
    for (int c = 0; c < 2; c++)
    {
        _SWnd* pane = GetPane(c, 0);
        ::SetParent(windows[c]->GetHandle(), pane->GetHandle());
        const RECT inside = GetPaneClientRect(c, 0);
        windows[c]->MoveWindowToRect(&inside, true);
    }
    SetPaneSize(0, 180);
    return true;
}

bool TourSplitter::FilterPaneMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                                     LRESULT* result)
{
    // The controls' notices belong to the page, not to the pane they sit in.
    if (message >= SWM_CONTROL_BASE && message < SWM_CONTROL_BASE + 1000)
    {
        *result = SendMessageToParent(message, wParam, lParam);
        return false;
    }
    if (message == WM_SIZE)
    {
        if (HWND child = GetWindow(pane->GetHandle(), GW_CHILD))
            ::MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
    }
    return true;
}

// --- Gauges page -------------------------------------------------------------

bool GaugesPage::Open(HWND parent)
{
    if (!CreateChild("", WS_VISIBLE | WS_CLIPCHILDREN, 0, nullptr, parent))
        return false;
    RECT r = AreaOf(10, 10, 260, 30);
    m_slider.Create(WS_VISIBLE | TBS_HORZ | TBS_AUTOTICKS, 0, &r, GetHandle(), 300);
    m_slider.SetRange(0, 100, false);
    r = AreaOf(10, 50, 260, 20);
    m_progress.Create(WS_VISIBLE, 0, &r, GetHandle(), 301);
    r = AreaOf(10, 80, 260, 18);
    m_scroll.Create(WS_VISIBLE | SBS_HORZ, 0, &r, GetHandle(), 302);
    m_scroll.SetRange(0, 100, true);
    r = AreaOf(10, 110, 260, 24);
    m_label.Create("Move the slider", WS_VISIBLE, 0, &r, GetHandle(), 303);
    m_label.SetAlignment(SLabelCtrl::ALIGN_CENTER | SLabelCtrl::ALIGN_VCENTER);
    r = AreaOf(290, 10, 40, 160);
    m_turned.Create("Turned label", WS_VISIBLE, 0, &r, GetHandle(), 304);
    m_turned.SetTextColor(RGB(0, 0, 160));
    m_turned.SetVertical(true);
    r = AreaOf(6, 6, 330, 170);
    m_frame.Create(WS_VISIBLE | WS_CLIPSIBLINGS, 0, &r, GetHandle(), 305);
    m_frame.SetEdge(EDGE_ETCHED);
    m_frame.SetBorders(BF_RECT);
    ::SetWindowPos(m_frame.GetHandle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

LRESULT GaugesPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SWM_SLIDER_CHANGED)
    {
        const int position = m_slider.GetPos();
        m_progress.SetPos(position);
        m_scroll.SetPos(position, true);
        char text[32];
        wsprintfA(text, "Slider at %d", position);
        m_label.SetWindowText(text);
        return 0;
    }
    if (message == SWM_SCROLL_CHANGED)
    {
        m_slider.SetPos(m_scroll.GetPos(), true);
        m_progress.SetPos(m_scroll.GetPos());
        return 0;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// --- Bars ----------------------------------------------------------------------

bool TourBars::Open(SWnd* window, SWnd* const* pages, const char* const* titles, int count)
{
    m_window = window;
    HWND handle = window->GetHandle();
    if (!m_controlBar.Create(WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | CCS_NODIVIDER, 0, handle, 400) ||
        !CreateToolBar() || !CreateMenus())
        return false;
    if (!m_statusBar.Create(WS_VISIBLE | SBARS_SIZEGRIP, 0, handle, 401) || !m_statusBar.SetEqualParts(3))
        return false;
    m_statusBar.SetText(0, "Ready");
    if (!m_tabs.Create(WS_VISIBLE | WS_CLIPSIBLINGS | TCS_TOOLTIPS, 0, nullptr, handle, 402))
        return false;
    // Under the pages, so that they show on top of it.
    ::SetWindowPos(m_tabs.GetHandle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    for (int i = 0; i < count; i++)
    {
        m_pages.Add(pages[i]);
        m_tabs.InsertTab(titles[i]);
        m_tabs.AttachPage(i, pages[i]);
        m_tabs.SetTabTip(i, titles[i]);
        m_pagesMenu.InsertItem(MENU_PAGE_FIRST + i, titles[i]);
    }
    ShowTab(0);
    return true;
}

bool TourBars::CreateToolBar()
{
    RECT r = AreaOf(0, 0, 400, TOOLBAR_HEIGHT);
    if (!m_toolBar.Create(WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_LIST | CCS_NORESIZE | CCS_NOPARENTALIGN, 0,
                          &r, m_controlBar.GetHandle(), 403))
        return false;
    m_toolBar.SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS | TBSTYLE_EX_MIXEDBUTTONS);
    m_toolBar.SetBitmapSize(0, 0);
    m_toolBar.AddButton(COMMAND_PLAY, I_IMAGENONE, "Play", BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    m_toolBar.AddButton(COMMAND_STOP, I_IMAGENONE, "Stop", BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    m_toolBar.AddSeparator();
    m_toolBar.AddButton(COMMAND_PAGES, I_IMAGENONE, "Pages", BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    m_toolBar.AddButton(COMMAND_STATUS, I_IMAGENONE, "Status", BTNS_WHOLEDROPDOWN | BTNS_AUTOSIZE | BTNS_SHOWTEXT);
    m_toolBar.EnableButton(COMMAND_STOP, false);
    return m_controlBar.InsertBand(&m_toolBar, -1, 200, TOOLBAR_HEIGHT, -1, false, "Player");
}

bool TourBars::CreateMenus()
{
    HWND owner = m_window->GetHandle();
    if (!m_pagesMenu.Create(owner) || !m_statusMenu.Create(owner))
        return false;
    m_statusMenu.InsertItem(MENU_STATUS_HELLO, "Say hello");
    m_statusMenu.InsertItem(MENU_STATUS_CLEAR, "Clear");
    // Buttons 3 and 4 (the separator is button 2) open these menus.
    m_toolBar.SetDropDownMenu(3, &m_pagesMenu);
    m_toolBar.SetDropDownMenu(4, &m_statusMenu);
    return true;
}

void TourBars::ShowTab(int tab)
{
    m_tabs.SetSelection(tab);
    m_statusBar.SetText(1, m_pagesMenu.GetItemText(MENU_PAGE_FIRST + tab).GetText());
    for (int i = 0; i < m_pagesMenu.GetItemCount(); i++)
        m_pagesMenu.CheckItem(MENU_PAGE_FIRST + i, i == tab);
}

void TourBars::Layout()
{
    if (!m_tabs.GetHandle())
        return;
    m_controlBar.SendMessage(WM_SIZE, 0, 0);
    m_statusBar.SendMessage(WM_SIZE, 0, 0);
    m_statusBar.SetEqualParts(3);
    RECT area = {};
    m_window->GetClientRectWithoutBars(&area);
    m_tabs.MoveWindowToRect(&area, true);
    // The pages fill the tabs' display area.
    m_tabs.SendMessage(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    for (int i = 0; i < m_pages.GetCount(); i++)
        m_pages.GetAt(i)->MoveWindowToRect(&area, true);
}

bool TourBars::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    result = 0;
    if (message == SWM_TOOLBAR_COMMAND)
    {
        const bool play = lParam == COMMAND_PLAY;
        if (play || lParam == COMMAND_STOP)
        {
            m_toolBar.EnableButton(COMMAND_PLAY, !play);
            m_toolBar.EnableButton(COMMAND_STOP, play);
            m_statusBar.SetText(2, play ? "Playing" : "Stopped");
        }
        return true;
    }
    if (message == SWM_MENUCOMMAND)
    {
        if (lParam >= MENU_PAGE_FIRST && lParam < MENU_PAGE_FIRST + m_tabs.GetItemCount())
            ShowTab(static_cast<int>(lParam) - MENU_PAGE_FIRST);
        else if (lParam == MENU_STATUS_HELLO || lParam == MENU_STATUS_CLEAR)
            m_statusBar.SetText(2, lParam == MENU_STATUS_HELLO ? "Hello from a drop-down menu" : "");
        return true;
    }
    if (message == SWM_TAB_SELCHANGE)
    {
        ShowTab(static_cast<int>(lParam));
        return true;
    }
    if (message == SWM_CONTROLBAR_AUTOSIZE)
    {
        Layout();
        return true;
    }
    return false;
}
