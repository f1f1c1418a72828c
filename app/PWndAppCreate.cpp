// The main window's set-up when its window has just been made.
#include "PWndApp.h"
#include "SClipboard.h"
#include "SLibrary.h"

namespace
{
const int MENU_PICTURES[] = {159, 156, 157, 154, 160, 152, 153, 170, 222, 236};
const int LIST_PICTURES[] = {149, 143, 132, 220, 221};
const int PLAY_HEIGHT = 65;
const int COVER_SIZE = 150;

void FillImageList(SImageList& list, const int* ids, int count)
{
    list.Create(16, 16, ILC_COLOR32);
    for (int i = 0; i < count; ++i)
        list.AddResource(ids[i], "BINARY");
}

RECT MakeRect(int left, int top, int right, int bottom)
{
    RECT rect = {left, top, right, bottom};
    return rect;
}
}

bool PWndApp::OnCreated()
{
    m_repeat = false;
    m_shutdown = false;
    MoveWindow(0, 0, 800, 600, false);
    SetMinTrackSize(800, 600);
    CenterWindow(false);
    m_selector.SetOwner(m_handle);
    CreateMenus();
    m_trayIcon.Add(LoadIconA(GetInstance(), MAKEINTRESOURCEA(108)), "KLV Sonavel", m_handle);
    CreateBars();
    CreateLowerArea();
    CreatePlayer();
    m_toolsThread.SetOwner(this);
    m_downloadThread.SetOwner(this, &m_downloadQueue);
    m_serverThread.SetOwner(this);
    m_client.SetOwner(this);
    PublishHandle();
    if (!RestorePlacement(PSettings::COMPANY, PSettings::PRODUCT, "Window", true))
    {
        MoveWindow(0, 0, 1024, 600, false);
        CenterWindow(false);
    }
    RestoreSizes();
    LoadSettings(true);
    if (!m_disk.FileExists(m_bookPage.GetText()))
    {
        m_thumbs.ShowWindow(SW_HIDE);
        m_pageBrowser.ShowWindow(SW_SHOW);
        m_pageBrowser.Navigate(m_welcomePage.GetText(), nullptr);
    }
    return true;
}

void PWndApp::CreateMenus()
{
    FillImageList(m_menuImages, MENU_PICTURES, 10);
    m_trayMenu.Create(m_handle);
    m_trayMenu.SetImageList(&m_menuImages);
    m_trayMenu.InsertItem(8, "Previous track", 0);
    m_trayMenu.InsertItem(9, "Next track", 1);
    m_trayMenu.InsertItem(10, "Pause", 2);
    m_trayMenu.InsertItem(11, "Stop", 3);
    m_trayMenu.InsertSeparator();
    m_trayMenu.InsertItem(14, "Show window", 4);
    m_trayMenu.InsertSeparator();
    m_trayMenu.InsertItem(25, "Quit");
    m_folderMenu.Create(m_handle);
    m_folderMenu.SetImageList(&m_menuImages);
    m_fileMenu.Create(m_handle);
    m_fileMenu.SetImageList(&m_menuImages);
    m_fileMenu.InsertItem(40, "Add to playlist", 7);
    m_fileMenu.InsertSeparator();
    m_fileMenu.InsertItem(41, "Find lyrics", 9);
    m_fileMenu.InsertItem(42, "Download lyrics", 9);
    m_fileMenu.InsertItem(43, "Download && Parse lyrics", 9);
    m_serversMenu.Create(m_handle);
}

void PWndApp::CreateBars()
{
    m_controlBar.Create(WS_VISIBLE, 0, m_handle, ID_CONTROLBAR);
    const DWORD toolBarStyle = TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE;
    m_toolBar.Create(toolBarStyle | WS_VISIBLE, 0, nullptr, m_controlBar.GetHandle());
    m_toolBar.SetTransparent(true);
    SetToolbarImages(!PSettings().GetFlag("ToolBar"), true);
    FillToolBar(true);
    m_controlBar.InsertBand(&m_toolBar, -1, 100, m_toolBar.GetButtonHeight(), -1, true);
    m_statusBar.Create(WS_VISIBLE, 0, m_handle);
    m_statusBar.SetEqualParts(3);
    LayoutStatusBar();
    m_statusBar.SetText(0, "");
}

void PWndApp::CreateLowerArea()
{
    const int width = GetClientWidth();
    const int top = m_controlBar.GetWindowHeight();
    const int bottom = GetClientHeight() - m_statusBar.GetWindowHeight();
    const RECT play = MakeRect(0, top, width, top + PLAY_HEIGHT);
    m_playWindow.SetOwner(this);
    m_playWindow.Create(m_handle, play);
    m_taskStrip.SetOwner(this);
    m_taskStrip.Create();
    m_downloadQueue.SetOwner(this);
    m_downloadQueue.Create(m_handle, play);
    const RECT area = MakeRect(0, top + PLAY_HEIGHT, width, bottom);
    m_outerSplitter.SetOwner(this);
    m_outerSplitter.Create(WS_VISIBLE, 0, &area, m_handle);
    m_outerSplitter.SetAnchors(0x44);
    m_outerSplitter.SetGrid(2, 1);
    m_outerSplitter.SetPaneSize(0, 220);
    SSplitterCtrl::_SWnd* pane = m_outerSplitter.GetPane(0, 0);
    const RECT folders = m_outerSplitter.GetPaneClientRect(0, 0);
    const RECT list = MakeRect(0, 0, folders.right - folders.left, folders.bottom - folders.top);
    m_folderList.Create(WS_VISIBLE | WS_VSCROLL, 0, &list, pane->GetHandle(), ID_FOLDERLIST);
    m_folderList.SetAnchors(0x44);
    const RECT other = m_outerSplitter.GetPaneClientRect(1, 0);
    CreatePanes(other.right - other.left, other.bottom - other.top);
}

// Pane 1 of the outer splitter: thumbnails and browsers over the covers, the
// file list and notes, and the information strip along the bottom.
void PWndApp::CreatePanes(int width, int height)
{
    FillImageList(m_listIcons, LIST_PICTURES, 5);
    m_folderCovers.Create(16, 16, ILC_COLOR32);
    m_folderList.SetImageList(m_folderCovers.GetHandle());
    m_folderList.SetSecondImageList(m_listIcons.GetHandle());
    HWND pane = m_outerSplitter.GetPane(1, 0)->GetHandle();
    const RECT upper = MakeRect(0, 0, width, height - 61);
    m_thumbs.SetOwner(this);
    m_thumbs.Create(pane, upper, ID_THUMBS);
    m_secondBrowser.Create(0, 0, &upper, pane, ID_SECONDBROWSER);
    m_secondBrowser.SetSilent(false);
    m_secondBrowser.SetAnchors(0x44);
    CreatePaneOne(width, height);
    CreateInfoStrip(pane, width, height);
}

void PWndApp::CreatePaneOne(int width, int height)
{
    HWND pane = m_outerSplitter.GetPane(1, 0)->GetHandle();
    m_picture.LoadResource(MAKEINTRESOURCEA(130), "BINARY");
    m_smallPicture.CopyFrom(&m_picture);
    m_smallPicture.Resize(16, 16);
    m_folderCovers.AddImage(&m_smallPicture);
    RECT rect = MakeRect(0, 0, COVER_SIZE, COVER_SIZE);
    m_coverPane.m_app = this;
    m_coverPane.m_water = &m_water;
    m_coverPane.CreateChild("", WS_VISIBLE, 0, &rect, pane);
    m_coverPane.SetBackgroundColor(GetSysColor(COLOR_WINDOW));
    m_coverPane.SetBackgroundImageFromResource(MAKEINTRESOURCEA(130), "BINARY", COLOR_NONE, 11);
    m_water.Create(COVER_SIZE, COVER_SIZE);
    rect = MakeRect(0, COVER_SIZE, COVER_SIZE, 190);
    m_captionPane.CreateChild("", WS_VISIBLE, 0, &rect, pane);
    m_captionPane.SetAlignment(1);
    m_captionPane.SetWrapping(true);
    m_captionPane.SetAnchors(0x40);
    rect = MakeRect(0, height - 241, COVER_SIZE, height - 211);
    m_greyPane.CreateChild("", WS_VISIBLE, 0, &rect, pane);
    m_greyPane.SetTextColor(0x808080);
    m_greyPane.SetAlignment(0x11);
    m_greyPane.SetWrapping(true);
    m_greyPane.SetAnchors(0x20);
    rect = MakeRect(0, height - 211, COVER_SIZE, height - 61);
    m_picturePane.CreateChild("", WS_VISIBLE, 0, &rect, pane);
    m_picturePane.SetBackgroundImageFromResource(MAKEINTRESOURCEA(130), "BINARY", COLOR_NONE, 11);
    m_picturePane.SetAnchors(0x20);
    rect = MakeRect(COVER_SIZE, 0, width, height - 61);
    m_innerSplitter.SetOwner(this);
    m_innerSplitter.Create(WS_VISIBLE, 0, &rect, pane);
    m_innerSplitter.SetAnchors(0x44);
    m_innerSplitter.SetGrid(2, 1);
    m_innerSplitter.SetPaneSize(0, 200);
    const RECT files = m_innerSplitter.GetPaneClientRect(0, 0);
    rect = MakeRect(0, 0, files.right - files.left, files.bottom - files.top);
    m_fileList.Create(WS_VISIBLE | WS_VSCROLL | LBS_EXTENDEDSEL, 0, &rect,
                      m_innerSplitter.GetPane(0, 0)->GetHandle(), ID_FILELIST);
    m_fileList.SetAnchors(0x44);
    m_fileList.SetImageList(m_listIcons.GetHandle());
    m_fileList.SetSecondImageList(m_listIcons.GetHandle());
    const RECT notes = m_innerSplitter.GetPaneClientRect(1, 0);
    rect = MakeRect(0, 0, notes.right - notes.left, notes.bottom - notes.top);
    m_notesEditor.CreateChild("", WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, 0, &rect,
                              m_innerSplitter.GetPane(1, 0)->GetHandle(), ID_NOTES);
    m_notesEditor.SetBrEnabled(false);
    m_notesEditor.SetCommentsEnabled(false);
    m_notesEditor.SetBackColors(0xF0FFFF, 0xF0FFFF);
    m_notesEditor.SetAnchors(0x44);
    rect = MakeRect(COVER_SIZE, 0, width, height - 61);
    m_pageBrowser.Create(0, 0, &rect, pane, ID_PAGEBROWSER);
    m_pageBrowser.SetSilent(false);
    m_pageBrowser.SetAnchors(0x44);
}

void PWndApp::CreateInfoStrip(HWND pane, int width, int height)
{
    RECT rect = MakeRect(0, height - 61, width, height - 60);
    m_band.CreateChild("", WS_VISIBLE, 0, &rect, pane);
    m_band.SetBackgroundColor(0);
    m_band.SetAnchors(0x24);
    rect = MakeRect(0, height - 60, width - 48, height);
    m_infoPane.CreateChild("", WS_VISIBLE, 0, &rect, pane, ID_INFOPANE);
    const RECT frame = {20, 20, 80, 40};
    m_infoPane.SetBackgroundImageFromResource(MAKEINTRESOURCEA(237), "BINARY", COLOR_NONE, 10, &frame);
    m_infoPane.SetBackgroundColor(0xDEEDD7);
    m_infoPane.SetTextColor(0x400000);
    m_infoPane.SetLinkColor(0xFF000080);
    m_infoPane.SetVerticalAlignment(SMediaCtrl::ALIGN_TOP);
    m_infoPane.SetMargins(10, 1, 1, 1);
    m_infoPane.SetTags(true);
    m_infoPane.SetWrapping(true);
    m_infoPane.SetAutoScroll(0, 0);
    m_infoPane.SetAnchors(0x24);
    rect = MakeRect(width - 48, height - 60, width - 28, height);
    m_volumeLabel.Create("volume", WS_VISIBLE, 0, &rect, pane);
    m_volumeLabel.SetAlignment(0x11);
    m_volumeLabel.SetVertical(true);
    m_volumeLabel.SetAnchors(0x22);
    rect = MakeRect(width - 28, height - 60, width, height);
    m_volumeSlider.Create(WS_VISIBLE | TBS_VERT | TBS_BOTH | TBS_NOTICKS, 0, &rect, pane, ID_VOLUME);
    m_volumeSlider.SetRange(0, 50, false);
    m_volumeSlider.SetAnchors(0x22);
}

void PWndApp::CreatePlayer()
{
    m_player.SetOwner(this);
    m_player.Create();
    StopPlayback();
}

// Another program watching for VK_F16 reads our handle from the clipboard and
// then drives us with SWM_REMOTECONTROL.
void PWndApp::PublishHandle()
{
    SString text;
    text.SetUInt64(static_cast<unsigned long long>(reinterpret_cast<LONG_PTR>(m_handle)));
    SClipboard clipboard;
    clipboard.SetText(text.GetText());
    m_keyboard.PressKey(VK_F16);
}

void PWndApp::RestoreSizes()
{
    const PSettings settings;
    const int column = settings.GetNumber("Column");
    if (column > 100 && column < m_outerSplitter.GetClientWidth())
        m_outerSplitter.SetPaneSize(0, column);
    const int column2 = settings.GetNumber("Column2");
    if (column2 > 100 && column2 < m_innerSplitter.GetClientWidth())
        m_innerSplitter.SetPaneSize(0, column2);
    int volume = settings.GetNumber("Volume");
    volume = volume < 0 ? 0 : (volume > 50 ? 50 : volume);
    m_volumeSlider.SetPos(volume, true);
    m_player.SetVolume((50 - volume) * 100 / 50);
}
