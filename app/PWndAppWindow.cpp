// Tool bar sets and the small window operations of the main window.
#include "PWndApp.h"
#include "PWndBook.h"
#include "PWndHelp.h"

namespace
{
const int TOOLBAR_PICTURES[] = {163, 134, 137, 219, 168, 167, 136, 131, 138, 133, 135, 141, 139, 218, 142, 205,
                                165, 172, 198, 173, 174, 140, 171, 146, 238, 177, 178, 183, 184, 208, 182, 175};

// One button of a set: command id, picture, text, check button; id 0 is a separator.
struct ToolButton
{
    int id;
    int picture;
    const char* text;
    bool check;
};

const ToolButton LOCAL_SET[] = {
    {1, 0, "Home...", false}, {2, 1, "Go to parent folder...", false}, {0, 0, nullptr, false},
    {3, 2, "Play tracks at...", false}, {5, 4, "Play tracks randomly", false},
    {4, 3, "Play all folders", false}, {6, 5, "Play tracks and folders randomly", false},
    {7, 6, "Play selected tracks", false}, {0, 0, nullptr, false},
    {8, 8, "Previous track", false}, {9, 9, "Next track", false}, {10, 10, "Pause", false},
    {11, 11, "Stop", false}, {0, 0, nullptr, false},
    {12, 12, "Repeat On/Off", true}, {13, 13, "Shutdown On/Off", true}, {0, 0, nullptr, false},
    {14, 14, "Hide window", false}, {0, 0, nullptr, false},
    {15, 15, "Open book", false}, {16, 16, "Make book", false}, {17, 17, "Send book", false},
    {18, 18, "Edit descriptions", false}, {0, 0, nullptr, false},
    {21, 21, "Preferences", false}, {0, 0, nullptr, false},
    {22, 22, "Help", false}, {23, 23, "About...", false}, {0, 0, nullptr, false},
    {24, 24, "Update", false}, {0, 0, nullptr, false},
    {19, 19, "Share library", true}, {20, 20, "Servers...", false}};

const ToolButton REMOTE_SET[] = {
    {1, 0, "Home...", false}, {2, 1, "Go to parent folder...", false}, {0, 0, nullptr, false},
    {26, 24, "Download folder", false}, {27, 25, "Download file", false}, {0, 0, nullptr, false},
    {30, 26, "Stop downloading", false}, {29, 27, "Resume downloading", false},
    {31, 28, "Remove selected files", false}, {32, 29, "Clear downloaded files", false},
    {0, 0, nullptr, false}, {28, 6, "Play on server", false}, {0, 0, nullptr, false},
    {33, 30, "Disconnect", false}, {0, 0, nullptr, false}, {14, 14, "Hide window", false}};

void AddButtons(SToolBarCtrl& toolBar, const ToolButton* buttons, int count)
{
    for (int i = 0; i < count; ++i)
    {
        const ToolButton& b = buttons[i];
        if (b.id == 0)
            toolBar.AddSeparator();
        else if (b.check)
            toolBar.AddButton(b.id, b.picture, b.text, BTNS_CHECK | BTNS_AUTOSIZE);
        else
            toolBar.AddButton(b.id, b.picture, b.text, BTNS_SHOWTEXT | BTNS_AUTOSIZE);
    }
}
}

void PWndApp::FillToolBar(bool local)
{
    m_toolBar.RemoveAllButtons();
    if (!local)
    {
        AddButtons(m_toolBar, REMOTE_SET, sizeof(REMOTE_SET) / sizeof(REMOTE_SET[0]));
        return;
    }
    AddButtons(m_toolBar, LOCAL_SET, sizeof(LOCAL_SET) / sizeof(LOCAL_SET[0]));
    const int queued = m_queue.GetCount();
    m_toolBar.EnableButton(8, queued > 1);
    m_toolBar.EnableButton(9, queued > 1);
    m_toolBar.EnableButton(10, queued == 1);
    m_toolBar.EnableButton(11, queued == 1);
    m_toolBar.CheckButton(12, m_repeat);
    m_toolBar.CheckButton(13, m_shutdown);
    m_toolBar.CheckButton(19, m_serverThread.IsRunning());
}

void PWndApp::SetToolbarImages(bool large, bool sizeOnly)
{
    const int size = large ? 32 : 24;
    m_toolBarImages.Create(size, size, ILC_COLOR32);
    for (int id : TOOLBAR_PICTURES)
        m_toolBarImages.AddResource(id, "BINARY");
    m_toolBar.SetImageList(m_toolBarImages.GetHandle());
    m_toolBar.SetBitmapSize(size, size);
    if (sizeOnly)
        return;
    m_controlBar.DeleteBand(0);
    m_controlBar.InsertBand(&m_toolBar, -1, 100, m_toolBar.GetButtonHeight(), -1, true);
    const int top = m_controlBar.GetWindowHeight();
    const int width = GetClientWidth();
    const int playHeight = m_playWindow.GetWindowHeight();
    m_playWindow.MoveWindow(0, top, width, playHeight, true);
    m_downloadQueue.MoveWindow(0, top, width, playHeight, true);
    const int bottom = GetClientHeight() - m_statusBar.GetWindowHeight();
    m_outerSplitter.MoveWindow(0, top + playHeight, width, bottom - top - playHeight, true);
}

bool PWndApp::IsLocal() const
{
    return !m_client.IsConnected();
}

void PWndApp::ToggleVisible(bool keepVisible)
{
    if (!IsVisible())
    {
        ShowWindow(SW_SHOW);
        BringToFront(true);
        if (m_thumbs.IsVisible())
            m_thumbs.SetFocus();
        if (m_fileList.IsVisible())
            m_fileList.SetFocus();
    }
    else if (!keepVisible)
    {
        ShowWindow(SW_HIDE);
    }
}

void PWndApp::LayoutStatusBar()
{
    if (!m_statusBar.GetHandle())
        return;
    const int width = GetClientWidth();
    m_statusBar.SetPartEdge(0, width - 400);
    m_statusBar.SetPartEdge(1, width - 100);
    m_statusBar.SetPartEdge(2, -1);
}

void PWndApp::SelectInList(const char* name)
{
    for (int i = 0; i < m_fileList.GetCount(); ++i)
    {
        if (m_fileList.GetItemText(i) == name)
        {
            m_fileList.SetSelection(i);
            SendMessage(SWM_LIST_SELCHANGE, reinterpret_cast<WPARAM>(&m_fileList), 0);
            return;
        }
    }
}

int PWndApp::GetSelectedFilePaths(SArrayString* out) const
{
    SArray<int> selected;
    const int count = m_fileList.GetSelectedItems(&selected);
    for (int i = 0; i < selected.GetCount(); ++i)
    {
        const int index = selected.GetAt(i);
        if (index >= 0 && index < m_filePaths.GetCount())
            out->Add(m_filePaths.GetAt(index).GetText());
    }
    return count;
}

void PWndApp::ShowHelp()
{
    if (m_help && m_help->GetHandle())
    {
        m_help->SetForegroundWindow();
        return;
    }
    delete m_help;
    m_help = new PWndHelp();
    m_help->SetOwner(this);
    m_help->Create("", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
}

void PWndApp::OpenBook(const char* page)
{
    const char* target = page && *page ? page : m_bookPage.GetText();
    if (m_book && m_book->GetHandle())
    {
        m_book->SetForegroundWindow();
        m_book->Navigate(target);
        return;
    }
    delete m_book;
    m_book = new PWndBook();
    m_book->SetOwner(this);
    m_book->Create("", WS_POPUP | WS_VISIBLE | WS_OVERLAPPEDWINDOW, 0, nullptr, nullptr);
    m_book->Navigate(target);
}
