// The main window of KLV Sonavel: owns the library views, the player, the play
// queue, the menus, the bars, the tray icon and the sharing objects, and turns
// every command, key and notification into the operation that does the work.
#pragma once
#include "SPlatform.h"
#include <memory>
#include <vector>
#include "SArray.h"
#include "SArrayString.h"
#include "SBrowserCtrl.h"
#include "SCodeEditCtrl.h"
#include "SControlBarCtrl.h"
#include "SDisk.h"
#include "SGuards.h"
#include "SImage.h"
#include "SImageList.h"
#include "SImageWater.h"
#include "SIni.h"
#include "SKeyboard.h"
#include "SLabelCtrl.h"
#include "SListCtrl.h"
#include "SMediaCtrl.h"
#include "SMemory.h"
#include "SMenu.h"
#include "SNetwork.h"
#include "SPath.h"
#include "SRegistry.h"
#include "SSelector.h"
#include "SSliderCtrl.h"
#include "SStatusBarCtrl.h"
#include "SString.h"
#include "SSystem.h"
#include "SToolBarCtrl.h"
#include "STrayIcon.h"
#include "SWnd.h"
#include "PLibraryFiles.h"
#include "PLibraryScan.h"
#include "PMedia.h"
#include "PRemoteBlocks.h"
#include "PSettings.h"
#include "PSocketClient.h"
#include "PSplitterCtrl.h"
#include "PThreadClientFiles.h"
#include "PThreadServer.h"
#include "PThreadTools.h"
#include "PWndNet.h"
#include "PWndPlay.h"
#include "PWndTask.h"
#include "PWndThumbs.h"

class PFolderNames;
class PWndBook;
class PWndDescription;
class PWndHelp;

// A play request of a sharing peer, sent by the server thread (wParam: the text).
// The handler owns the text and frees it (delete[]).
const UINT PWM_COMMAND104 = WM_USER + 1;
// Posted by the sharing server: distinct peer machines connected and transfers
// in progress (-1 each when the server closes), taking no action; and a
// listen that failed (wParam: the port).
const UINT PWM_PEERS = WM_USER + 2;
const UINT PWM_TRANSFERS = WM_USER + 3;
const UINT PWM_SHARINGFAILED = WM_USER + 4;

class PWndApp : public SWnd
{
public:
    // Control ids of the main window's children.
    enum
    {
        ID_CONTROLBAR = 1000,
        ID_FOLDERLIST = 1001,
        ID_FILELIST = 1002,
        ID_NOTES = 1003,
        ID_PAGEBROWSER = 1004,
        ID_SECONDBROWSER = 1005,
        ID_INFOPANE = 1006,
        ID_VOLUME = 1007,
        ID_THUMBS = 1008
    };
    static const UINT_PTR WATER_TIMER = 200;
    // While connected: reads past late browsing replies as they come.
    static const UINT_PTR CATCHUP_TIMER = 201;
    static const UINT CATCHUP_PERIOD = 200;
    static const char* const VERSION;

    // The folder picture: a text view whose surface ripples under the mouse.
    class _SMediaCtrl : public SMediaCtrl
    {
    public:
        _SMediaCtrl() : m_app(nullptr), m_water(nullptr) {}
        ~_SMediaCtrl() override {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        friend class PWndApp;
        void Ripple(LPARAM point, int radius, int depth);
        PWndApp* m_app;
        SImageWater* m_water;
    };

    // Replaceable steps that would otherwise reach the user or the outside:
    // questions asked in message boxes, the mail of the book, and shutting
    // Windows down after play.
    typedef int (*QuestionFunction)(HWND owner, const char* text, const char* caption, UINT style);
    typedef bool (*MailFunction)(SNetwork& network, const char* subject, const char* attachment);
    typedef bool (*ShutdownFunction)();
    static void SetQuestionFunction(QuestionFunction function);
    static void SetMailFunction(MailFunction function);
    // A question through the replaceable function, for the secondary windows too.
    static int AskQuestion(HWND owner, const char* text, const char* caption, UINT style);
    static void SetShutdownFunction(ShutdownFunction function);
    // The modal runs of the Preferences, the Properties, the cover search and
    // the About window (the window's DoModal unless replaced), and the picture
    // file the user chooses for a cover (false when none was chosen).
    typedef int (*ModalFunction)(SWnd* window);
    typedef bool (*FileChoiceFunction)(HWND owner, const char* filter, SString* chosen);
    static void SetModalFunction(ModalFunction function);
    static void SetFileChoiceFunction(FileChoiceFunction function);

    PWndApp();
    ~PWndApp() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Settings (PWndAppSettings.cpp).
    void LoadSettings(bool withSplash);
    void SavePlacements();
    void HideVideoWindow();

    // Tool bar sets and window operations (PWndAppWindow.cpp).
    void FillToolBar(bool local);
    void ToggleVisible(bool keepVisible);
    void LayoutStatusBar();
    void SelectInList(const char* name);
    int GetSelectedFilePaths(SArrayString* out) const;
    void ShowHelp();
    void OpenBook(const char* page);
    bool IsLocal() const;
    void SetToolbarImages(bool large, bool sizeOnly);

    // Local browsing (library/).
    bool OpenFolder(const char* name, const char* select, bool fromThumbs);
    // Opens a folder given by its full path, with the entry select selected.
    bool OpenFolderPath(const char* folder, const char* select, bool fromThumbs);
    // A ".link" address of a page: the folder it names opens in its parent.
    bool OpenFolderLink(const SPath& link);
    bool ShowFolder();
    void ListMediaFiles(SArrayString* result, const char* folder, bool recurse, bool songs, bool videos,
                        bool extras, bool noRadios);
    // With beside, the pictures listed in the folder's parent, only those are opened.
    void LoadFolderCover(SImage* image, const char* folder, bool small, const PFolderNames* beside = nullptr);
    void ScanLibrary();
    // The same through a walk of the caller's (tests supply their own listings).
    void ScanLibrary(PLibraryScan& scan);
    const SArrayString& GetFilePaths() const { return m_filePaths; }
    SString GetCountsText() const;
    bool LoadNotes();
    bool SaveNotes();
    SCodeEditCtrl& GetNotesEditor() { return m_notesEditor; }
    SMediaCtrl& GetInfoPane() { return m_infoPane; }
    const SImageList& GetFolderCovers() const { return m_folderCovers; }
    bool IsAutoHideAfterPlay() const { return m_autoHideAfterPlay; }
    // The shortest time the splash stays up at start (2 s); benchmarks and tests shorten it.
    static void SetSplashTime(DWORD milliseconds);

    // The information text, playback, covers, lyrics, the book, preferences,
    // sharing, downloads and the update check (one folder each).
    bool UpdateInfoText();
    bool StopPlayback();
    bool ClearQueue();
    bool PlayAt(int index, const char* folderName);
    bool PlayAll(bool allFolders, bool random);
    bool PlaySelected();
    bool PlayPrevious();
    bool PlayNext();
    bool TogglePause();
    bool AddToQueue(bool fromFolderList);
    bool PlayFromPeer(const char* text);
    bool MakeBook(const char* bookFile, bool pictures);
    bool MakeCover(const char* folder);
    bool DownloadCover(const char* name);
    bool FindLyrics(const char* title);
    SString DownloadLyrics(const char* title, bool parse);
    void ShowPreferences();
    // The Properties dialog of a folder's ini file (its "site" key).
    bool ShowProperties(const char* iniFile);
    bool StartSharing();
    bool StopSharing();
    bool Connect(const char* name, const char* host, const char* password, int port);
    void OnDisconnected();
    bool OpenRemoteFolder(const char* path);
    bool ParseRemoteFolders(const unsigned char* block, int size);
    bool ShowRemoteFolder();
    bool ParseRemoteFolderView(const unsigned char* block, int size);
    bool LoadRemoteNotes();
    bool ReceiveRemoteTree(SVirtualFile* stream);
    bool BuildRemoteWelcomePage(SVirtualFile* stream, const char* pictureAddress);
    bool DownloadSelection(bool folder);
    bool PlayOnServer();
    bool ResumeDownloads();
    bool StopDownloads();
    bool CheckUpdate();

    // What tests and the sharing server read.
    const SPath& GetRootFolder() const { return m_rootFolder; }
    const SPath& GetCurrentFolder() const { return m_currentFolder; }
    const SString& GetBookPage() const { return m_bookPage; }
    const SString& GetWelcomePage() const { return m_welcomePage; }
    const SArrayString& GetCoverNames() const { return m_coverNames; }
    const SArrayString& GetQueue() const { return m_queue; }
    SToolBarCtrl& GetToolBar() { return m_toolBar; }
    SStatusBarCtrl& GetStatusBar() { return m_statusBar; }
    SListCtrl& GetFolderList() { return m_folderList; }
    SListCtrl& GetFileList() { return m_fileList; }
    SMenu& GetServersMenu() { return m_serversMenu; }
    SMenu& GetFolderMenu() { return m_folderMenu; }
    SMenu& GetTrayMenu() { return m_trayMenu; }
    PSplitterCtrl& GetOuterSplitter() { return m_outerSplitter; }
    PSplitterCtrl& GetInnerSplitter() { return m_innerSplitter; }
    SSliderCtrl& GetVolumeSlider() { return m_volumeSlider; }
    PMedia& GetPlayer() { return m_player; }
    PThreadServer& GetServerThread() { return m_serverThread; }
    SBrowserCtrl& GetPageBrowser() { return m_pageBrowser; }
    PWndThumbs& GetThumbs() { return m_thumbs; }
    const PSettings::_SServer& GetServerSettings() const { return m_server; }
    bool IsRepeatOn() const { return m_repeat; }
    bool IsShutdownOn() const { return m_shutdown; }
    const SString& GetLastConnection() const { return m_lastConnection; }
    PSocketClient& GetClient() { return m_client; }
    PWndNet& GetDownloadQueue() { return m_downloadQueue; }
    PThreadClientFiles& GetDownloadThread() { return m_downloadThread; }
    SBrowserCtrl& GetSecondBrowser() { return m_secondBrowser; }
    const SPath& GetRemoteFolder() const { return m_remoteFolder; }
    const SString& GetRemotePicture() const { return m_remotePicture; }
    // The sharing server's copy of the root, the cover names, the server
    // settings and the folders the last scan read, taken under the lock that
    // loading the settings takes too.
    void CopySharingSettings(SString* root, SArrayString* coverNames, PSettings::_SServer* server,
                             std::shared_ptr<const PLibraryTree>* tree = nullptr) const;
    int GetPreferencesRequests() const { return m_preferencesRequests; }

    // The play queue and the views of what plays (playback/).
    bool PlayIndex(int index, bool startPaused);
    bool PlayFrom(int index, bool startPaused);
    bool SeekTo(int seconds);
    // Appends paths to the queue: an empty queue starts with its first entry,
    // a playing one goes on with the new count shown.
    bool AppendToQueue(const SArrayString& paths, bool startPaused);
    // A browser's address as a path (PWndAppLinks.cpp): a "file:" address or
    // a plain path, read as scheme, host and path before its names are
    // decoded; false for another scheme, left to the browser, and for a name
    // that decodes to a separator, NUL, colon or "..", which is refused.
    static bool AddressToPath(const char* address, SString* path);
    // Whether an address is a "file:" address or a plain path.
    static bool IsFileAddress(const char* address);
    // Whether a path lies at or below the root, through no junction or link.
    bool IsInLibrary(const SPath& path) const;
    // The position the shuffle takes among left entries, drawn by rand().
    static int DrawPosition(int left);
    // Whether a lower-cased extension is one of the media kinds.
    static bool IsMediaExtension(const SString& extension);
    void OnMediaEnded();
    void UpdatePlayerViews();
    int GetQueueNames(SArrayString* result) const;
    int GetQueueIndex() const { return m_queueIndex; }
    PWndPlay& GetPlayWindow() { return m_playWindow; }
    PWndTask& GetTaskStrip() { return m_taskStrip; }

private:
    // Set-up on SWM_CREATED (PWndAppCreate.cpp).
    bool OnCreated();
    void CreateMenus();
    void CreateBars();
    void CreateLowerArea();
    void CreatePaneOne(int width, int height);
    void CreatePanes(int width, int height);
    void CreateInfoStrip(HWND pane, int width, int height);
    void CreatePlayer();
    void PublishHandle();
    void RestoreSizes();
    void SetWaterSource(const SImage& picture);

    // Browsing steps (library/).
    // A list filled item by item draws once, after the last item.
    static void HoldRedraw(SWnd& window, bool hold);
    // Where covers are looked for, with the default pictures: the window's own.
    PLibraryFiles::_SCovers GetCovers() const;
    bool FindFolderCounts(const SString& folder, unsigned int counts[3]) const;
    bool EnterFolder(const SString& candidate, const char* select, bool fromThumbs);
    void OpenRootInstead(bool fromThumbs);
    void ShowEnteredFolder(const SArrayString& names, const char* select, bool fromThumbs);
    int ListSubFolders(const SString& folder, SArrayString* names);
    void FillFolderList(const SArrayString& names);
    void ShowNoFolder();
    void ShowCurrentFolderPicture();
    void FillFileList(const SString& folder);
    void ShowFolderPage(const SString& folder);
    SString GetNotePath(int* fileIndex) const;

    // Playback steps (playback/).
    void ShowVideoWindow();
    void Shuffle();
    void ShutDownAfterPlay();
    bool IsPeerPathAllowed(const SPath& path) const;

    // Remote views (sharing/).
    bool OpenRemoteSession();
    static bool ReadRemoteFolders(const unsigned char* block, int size, PRemoteBlocks::_SFolders* folders);
    void ShowRemoteFolders(const PRemoteBlocks::_SFolders& folders);
    void ShowRemoteStatus();
    void ReportRemoteFailure(const SString& folder, const char* what);
    void ShowRemotePictures(const PRemoteBlocks::_SFolderView& view, const SPath& shown);
    void ShowRemotePage(SMemory& page, bool mht);
    int WriteWelcomeFolder(SVirtualFile* stream, const SString& folder, int previous, const SString& picture);
    void ShowRemoteMode();
    void ShowLocalMode();
    void OnSharingFailed(int port);

    // Settings steps (PWndAppSettings.cpp).
    void HideFolder(const SString& folder);
    void ApplyTaskbar(const PSettings& settings);
    int Ask(const char* text, const char* caption, UINT style) const;
    static int RunModal(SWnd& window);
    bool ChooseFile(const char* filter, SString* chosen) const;
    bool Mail(const char* subject, const char* attachment);

    // Window life (PWndAppLife.cpp).
    LRESULT OnClose();
    bool CloseSecondaryWindow(SWnd*& window);
    void OnSetFocus();
    void OnWaterTimer();
    void OnTrayMouse(const SMouseNotify* notify);

    // Commands and notifications (PWndAppCommands.cpp, PWndAppNotify.cpp).
    void OnCommand(int id);
    bool OnLocalCommand(int id);
    bool OnRemoteCommand(int id);
    void OnFolderItemCommand(int id);
    void OnFileItemCommand(int id);
    void OnSharingSwitch();
    void ShowServersMenu();
    void ChooseServer(int id);
    void ShowDescriptionWindow();
    void ShowAbout();
    bool SendBook();
    // Covers (library/PWndAppCovers.cpp).
    bool WriteCover(const SImage& picture, const SString& file);
    void RefreshAfterCover(int selection, int top);
    bool ConfirmCoverReplace(const SString& file);
    bool OnKey(WPARAM key);
    LRESULT OnListNotify(UINT message, WPARAM wParam, LPARAM lParam);
    void OnListKey(int control, int key);
    void OnListReturn(int control);
    void OnListSelectionChange(int control);
    void ShowListMenu(int control, const SMouseNotify* notify);
    void OnRemoteControl(WPARAM wParam, LPARAM lParam);
    LRESULT OnBeforeNavigate(const char* address);
    int GetListControlId(WPARAM wParam) const;
    SString GetSelectedFolderName() const;
    SString GetSelectedFileTitle() const;

    SSystem m_system;
    SKeyboard m_keyboard;
    SDisk m_disk;
    SRegistry m_registry;
    SNetwork m_network;
    SSelector m_selector;
    SString m_settingsText;
    SMenu m_trayMenu;
    SMenu m_folderMenu;
    SMenu m_fileMenu;
    SMenu m_serversMenu;
    STrayIcon m_trayIcon;
    SControlBarCtrl m_controlBar;
    SToolBarCtrl m_toolBar;
    SStatusBarCtrl m_statusBar;
    PSplitterCtrl m_outerSplitter;
    PSplitterCtrl m_innerSplitter;
    SLabelCtrl m_volumeLabel;
    SSliderCtrl m_volumeSlider;
    SWnd m_band;
    bool m_repeat, m_shutdown;
    SArrayString m_statFolders;
    // The folders as the last scan read them, for the sharing server to start from.
    std::shared_ptr<const PLibraryTree> m_libraryTree;
    SArray<unsigned int> m_statSongs, m_statVideos, m_statRadios;
    SListCtrl m_folderList;
    SListCtrl m_fileList;
    SCodeEditCtrl m_notesEditor;
    SArrayString m_filePaths;
    SPath m_rootFolder;
    SString m_welcomePage, m_bookPage;
    SPath m_currentFolder;
    SIni m_folderIni;
    SMediaCtrl m_infoPane;
    PWndTask m_taskStrip;
    PWndPlay m_playWindow;
    PMedia m_player;
    SArrayString m_queue;
    int m_queueIndex;
    SString m_remotePicture;
    SPath m_remoteFolder;
    // The folder-list item whose view the remote panes show (-1 none).
    int m_shownRemoteItem;
    // The remote views are shown: the connection's end brings the local ones back.
    bool m_remoteShown;
    bool m_disconnecting;
    PWndNet m_downloadQueue;
    PThreadClientFiles m_downloadThread;
    PThreadServer m_serverThread;
    PSocketClient m_client;
    unsigned int m_lastDownloadStop;
    _SMediaCtrl m_coverPane;
    SMediaCtrl m_captionPane, m_picturePane, m_greyPane;
    SArrayString m_coverNames;
    SImageList m_toolBarImages, m_menuImages;
    SImage m_picture, m_smallPicture;
    SImageList m_listIcons, m_folderCovers;
    SImageWater m_water;
    PWndThumbs m_thumbs;
    SBrowserCtrl m_pageBrowser, m_secondBrowser;
    PThreadTools m_toolsThread;
    PWndBook* m_book;
    PWndDescription* m_description;
    PWndHelp* m_help;

    // Copies of the settings and the water's pixel buffers.
    bool m_autoHideAfterPlay;
    PSettings::_SServer m_server;
    mutable SCriticalSection m_sharingLock;
    unsigned int m_totalSongs, m_totalVideos, m_totalRadios;
    std::vector<DWORD> m_waterSource, m_waterOutput;
    SString m_lastConnection;
    int m_preferencesRequests;
};
