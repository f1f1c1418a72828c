// A tour of the library's wrappers of the native controls: buttons, boxes, edits,
// the owner-drawn list, the list view and a folder tree, sliders and gauges, each
// page a child window that handles its own controls' notices. The pages sit on
// tabs between a control bar with a tool bar and a status bar (TourBars.cpp);
// the choosers and printing have a page of their own (TourChoosers.cpp).
#include "SPlatform.h"
#include <dsound.h>
#include <initializer_list>
#include "SButtonCtrl.h"
#include "SCheckCtrl.h"
#include "SComboCtrl.h"
#include "SEditCtrl.h"
#include "SExListCtrl.h"
#include "SGroupCtrl.h"
#include "SImageList.h"
#include "SLibrary.h"
#include "SListCtrl.h"
#include "SMemory.h"
#include "SRadioCtrl.h"
#include "SRichEditCtrl.h"
#include "STreeCtrl.h"
#include "TourBars.h"
#include "TourChoosers.h"

namespace
{
const char* const RTF_SAMPLE =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Tahoma;}}{\\colortbl;\\red0\\green0\\blue160;}"
    "\\f0\\fs18 A {\\b rich edit} filled from {\\cf1 RTF}.\\par Loaded from a library stream.}";

RECT MakeRect(int left, int top, int width, int height)
{
    RECT r = {left, top, left + width, top + height};
    return r;
}

// Buttons, boxes, edits: one page.
class ControlsPage : public SWnd
{
public:
    bool Open(HWND parent, const RECT& area)
    {
        // Not clipping its children: a group box shows the page through its middle.
        if (!CreateChild("", WS_VISIBLE, 0, &area, parent))
            return false;
        CreateButtons();
        CreateRadioGroup();
        CreateEdits();
        return true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message)
        {
        case SWM_BUTTON_CLICKED:
            m_check.SetCheck(0);
            m_radios[0].Select();
            return 0;
        case SWM_EDIT_RETURN:
            m_combo.AddString(m_edit.GetWindowText().GetText(), 0);
            m_combo.SendMessage(CB_SETCURSEL, 0);
            return 0;
        default:
            break;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    void CreateButtons()
    {
        RECT r = MakeRect(10, 10, 120, 26);
        m_button.Create("Reset", WS_VISIBLE | BS_PUSHBUTTON, 0, &r, GetHandle(), 100);
        r = MakeRect(140, 10, 160, 26);
        m_check.Create("Check box", WS_VISIBLE, 0, &r, GetHandle(), 101);
    }

    void CreateRadioGroup()
    {
        RECT r = MakeRect(10, 46, 290, 110);
        m_group.Create("Radio group", WS_VISIBLE, 0, &r, GetHandle(), 102);
        const char* captions[] = {"First", "Second", "Third"};
        for (int i = 0; i < 3; i++)
        {
            r = MakeRect(24, 68 + 26 * i, 200, 22);
            m_radios[i].Create(captions[i], WS_VISIBLE, 0, &r, GetHandle(), 103 + i);
            m_radios[i].SetGroup(1);
        }
        m_radios[0].Select();
    }

    void CreateEdits()
    {
        RECT r = MakeRect(10, 168, 290, 24);
        m_edit.Create("", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, &r, GetHandle(), 110);
        for (const char* word : {"Bach", "Bartok", "Beethoven", "Berlioz", "Brahms", "Britten"})
            m_edit.GetSuggestionWords().Add(word);
        m_edit.EnableSuggestions(true);
        r = MakeRect(10, 200, 290, 160);
        m_combo.Create("", WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, &r, GetHandle(), 111);
        for (const char* text : {"Albums", "Artists", "Genres"})
            m_combo.AddString(text);
        m_combo.SendMessage(CB_SETCURSEL, 0);
        r = MakeRect(10, 234, 290, 120);
        m_rich.Create("", WS_VISIBLE | WS_VSCROLL | ES_READONLY, WS_EX_CLIENTEDGE, &r, GetHandle(), 112);
        SMemory stream;
        stream.WriteText(RTF_SAMPLE);
        m_rich.LoadStream(&stream, true);
    }

    SButtonCtrl m_button;
    SCheckCtrl m_check;
    SGroupCtrl m_group;
    SRadioCtrl m_radios[3];
    SEditCtrl m_edit;
    SComboCtrl m_combo;
    SRichEditCtrl m_rich;
};

// The two lists and the folder tree: the other page.
class ListsPage : public SWnd
{
public:
    bool Open(HWND parent, const RECT& area)
    {
        if (!CreateChild("", WS_VISIBLE | WS_CLIPCHILDREN, 0, &area, parent))
            return false;
        CreateIcons();
        CreateOwnerDrawnList();
        CreateListView();
        CreateFolderTree();
        // The list and the tree share the lower area, split by a bar the user drags.
        const RECT lower = MakeRect(10, 170, 540, 190);
        return m_split.Join(this, lower, &m_list, &m_tree);
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == SWM_TREE_SELCHANGED)
        {
            // The selected folder's path goes to the list view's first row.
            const SString path = m_tree.GetItemPath(reinterpret_cast<HTREEITEM>(lParam));
            m_listView.SetItemText(0, path.GetText(), 1);
            return 0;
        }
        return SWnd::WindowProc(message, wParam, lParam);
    }

private:
    void CreateIcons()
    {
        m_icons.Create(16, 16, ILC_COLOR32);
        const COLORREF colours[] = {RGB(200, 40, 40), RGB(40, 160, 40), RGB(40, 80, 200)};
        HDC screen = ::GetDC(nullptr);
        for (COLORREF colour : colours)
        {
            HDC dc = CreateCompatibleDC(screen);
            HBITMAP bitmap = CreateCompatibleBitmap(screen, 16, 16);
            HGDIOBJ old = SelectObject(dc, bitmap);
            RECT r = {2, 2, 14, 14}, all = {0, 0, 16, 16};
            FillRect(dc, &all, GetSysColorBrush(COLOR_WINDOW));
            HBRUSH brush = CreateSolidBrush(colour);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
            SelectObject(dc, old);
            DeleteDC(dc);
            m_icons.Add(bitmap);
            DeleteObject(bitmap);
        }
        ::ReleaseDC(nullptr, screen);
    }

    void CreateOwnerDrawnList()
    {
        RECT r = MakeRect(10, 10, 200, 150);
        m_list.Create(WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, WS_EX_CLIENTEDGE, &r, GetHandle(), 200);
        m_list.SetImageList(m_icons.GetHandle());
        m_list.SetSecondImageList(m_icons.GetHandle());
        const char* texts[] = {"Playing now", "Queued", "Downloaded", "Shared", "Favourite"};
        for (int i = 0; i < 5; i++)
            m_list.AddItem(texts[i], -1, i % 3, i == 4 ? 0 : -1);
        m_list.SetSelection(0);
    }

    void CreateListView()
    {
        RECT r = MakeRect(10, 10, 540, 150);
        m_listView.Create(WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, WS_EX_CLIENTEDGE, &r, GetHandle(), 201);
        m_listView.SetExtendedStyle(LVS_EX_FULLROWSELECT);
        m_listView.SetImageList(m_icons.GetHandle(), true);
        m_listView.InsertColumn("Name", 120);
        m_listView.InsertColumn("Detail", 200);
        const char* rows[][2] = {{"Selected folder", ""}, {"Track 1", "3:12"}, {"Track 2", "4:05"}};
        for (int i = 0; i < 3; i++)
        {
            m_listView.InsertItem(rows[i][0], -1, i);
            m_listView.SetItemText(i, rows[i][1], 1);
        }
    }

    void CreateFolderTree()
    {
        RECT r = MakeRect(10, 170, 540, 190);
        m_tree.Create(WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
                      WS_EX_CLIENTEDGE, &r, GetHandle(), 202);
        const SString folder = GetProgramFolder();
        m_tree.SetFileSystemMode(true);
        m_tree.SetRootFolder(ParentFolder(folder).GetText());
        HTREEITEM top = m_tree.AddFolderItem(folder.GetText());
        // Expanding by message sends no notice: the tree is filled first.
        m_tree.OnItemExpanding(top, true);
        m_tree.SendMessage(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(top));
    }

    static SString ParentFolder(const SString& folder)
    {
        SString parent = folder;
        int end = parent.GetLength() - 1;
        if (end >= 0 && parent.GetAt(end) == '\\')
            end--;
        while (end >= 0 && parent.GetAt(end) != '\\')
            end--;
        parent.Truncate(end + 1);
        return parent;
    }

    SImageList m_icons;
    SListCtrl m_list;
    SExListCtrl m_listView;
    STreeCtrl m_tree;
    TourSplitter m_split;
};

class TourWnd : public SWnd
{
public:
    bool Open()
    {
        RECT r = MakeRect(120, 80, 600, 520);
        if (!Create("Controls tour", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, &r, nullptr))
            return false;
        if (!CreatePages())
            return false;
        LayoutPages();
        ShowWindow(SW_SHOW);
        return true;
    }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        LRESULT result = 0;
        if (m_bars.OnMessage(message, wParam, lParam, result))
            return result;
        switch (message)
        {
        case WM_SIZE:
            LayoutPages();
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
    bool CreatePages()
    {
        RECT area = {};
        if (!m_controls.Open(GetHandle(), area) || !m_lists.Open(GetHandle(), area) ||
            !m_gauges.Open(GetHandle()) || !m_choosers.Open(GetHandle()))
            return false;
        SWnd* const pages[] = {&m_controls, &m_lists, &m_gauges, &m_choosers};
        const char* const titles[] = {"Controls", "Lists", "Gauges", "Choosers"};
        return m_bars.Open(this, pages, titles, 4);
    }

    void LayoutPages() { m_bars.Layout(); }

    ControlsPage m_controls;
    ListsPage m_lists;
    GaugesPage m_gauges;
    ChoosersPage m_choosers;
    TourBars m_bars;
};
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    InitLibrary(instance, false);
    StartupGdiplus();
    StartupWinsock();
    CreateDirectSound(GetLibraryWindow(), DSSCL_PRIORITY);
    {
        TourWnd window;
        if (window.Open())
        {
            bool blocking = true;
            RunMessageLoop(&blocking, nullptr, 0);
        }
    }
    ReleaseDirectSound();
    ShutdownWinsock();
    ShutdownGdiplus();
    ShutdownLibrary(instance, false);
    return 0;
}
