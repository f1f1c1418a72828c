// The tour's frame: a control bar holding a tool bar with drop-down menus, tabs
// that hold the tour's pages, a three-part status bar, and a splitter whose panes
// pass their controls' notices on to the page that holds it.
#pragma once
#include "SControlBarCtrl.h"
#include "SLabelCtrl.h"
#include "SMenu.h"
#include "SProgressCtrl.h"
#include "SScrollCtrl.h"
#include "SSliderCtrl.h"
#include "SSplitterCtrl.h"
#include "SStaticCtrl.h"
#include "SStatusBarCtrl.h"
#include "STabCtrl.h"
#include "SToolBarCtrl.h"

// A splitter for controls that live in its panes: their notices go on to the
// splitter's parent, and each pane's control fills its pane.
class TourSplitter : public SSplitterCtrl
{
public:
    // Moves the two windows into the left and right panes of a new 2 x 1 grid.
    bool Join(SWnd* parent, const RECT& area, SWnd* left, SWnd* right);
    bool FilterPaneMessage(_SWnd* pane, UINT message, WPARAM wParam, LPARAM lParam,
                           LRESULT* result) override;
};

// A page of the small controls: a slider that drives a progress bar and a
// scroll bar, a label turned on its side and a frame.
class GaugesPage : public SWnd
{
public:
    bool Open(HWND parent);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SSliderCtrl m_slider;
    SProgressCtrl m_progress;
    SScrollCtrl m_scroll;
    SLabelCtrl m_label;
    SLabelCtrl m_turned;
    SStaticCtrl m_frame;
};

class TourBars
{
public:
    // The pages go on one tab each, in order.
    bool Open(SWnd* window, SWnd* const* pages, const char* const* titles, int count);
    // Places the bars along the window's edges and the pages inside the tabs.
    void Layout();
    // The window's messages the frame handles; false for the others.
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    bool CreateToolBar();
    bool CreateMenus();
    void ShowTab(int tab);

    SWnd* m_window = nullptr;
    SArray<SWnd*> m_pages;  // the window's
    SControlBarCtrl m_controlBar;
    SToolBarCtrl m_toolBar;
    SMenu m_pagesMenu;
    SMenu m_statusMenu;
    STabCtrl m_tabs;
    SStatusBarCtrl m_statusBar;
};
