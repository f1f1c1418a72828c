// The base of every window and control: one object owns one native window, found
// from its handle in the library's sorted registry, and every message is routed
// through the common pre-processor and then the class's own handler.
#pragma once
#include "SPlatform.h"
#include "SArray.h"
#include "SControlTypeId.h"
#include "SImage.h"
#include "SMessages.h"
#include "SMouseNotify.h"
#include "SString.h"

// Native control records, declared by commctrl.h and richedit.h.
struct _TREEITEM;
struct tagTVINSERTSTRUCTA;
struct tagTVHITTESTINFO;
struct _editstream;

class SWnd
{
public:
    // Bits of the key-command mask: each enables one shortcut key.
    enum KeyCommand
    {
        KEY_UNDO = 0x0001,       // Ctrl+Z
        KEY_CUT = 0x0002,        // Ctrl+X
        KEY_COPY = 0x0004,       // Ctrl+C
        KEY_PASTE = 0x0008,      // Ctrl+V
        KEY_DELETE = 0x0010,     // Delete
        KEY_SELECTALL = 0x0020,  // Ctrl+A
        KEY_FIND = 0x0040,       // Ctrl+F
        KEY_REPLACE = 0x0080,    // Ctrl+H
        KEY_GOTO = 0x0100,       // Ctrl+G
        KEY_PRINT = 0x0200,      // Ctrl+P
        KEY_ESCAPE = 0x0400,     // Escape
        KEY_NEW = 0x0800,        // Ctrl+N
        KEY_OPEN = 0x1000,       // Ctrl+O
        KEY_SAVE = 0x2000,       // Ctrl+S
        KEY_SAVEAS = 0x4000      // Ctrl+Shift+S
    };

    // Reserved colour values.
    static const COLORREF COLOR_NONE = 0xFF000000;
    static const COLORREF COLOR_TRANSPARENT = 0xFF000001;

    SWnd();
    virtual ~SWnd();
    SWnd(const SWnd&) = delete;
    SWnd& operator=(const SWnd&) = delete;

    // Virtual operations, in the order every class relies on.
    virtual LRESULT Print(HDC dc, DWORD flags);
    virtual void SetBackgroundColor(COLORREF color);
    virtual COLORREF GetBackgroundColor();
    virtual void OnUndo() {}
    virtual void OnCut() {}
    virtual void OnCopy() {}
    virtual void OnPaste() {}
    virtual void OnDelete() {}
    virtual void OnSelectAll() {}
    virtual void OnFind() {}
    virtual void OnReplace() {}
    virtual void OnGoTo() {}
    virtual void OnPrint() {}
    virtual void OnEscape() {}
    virtual void OnNew() {}
    virtual void OnOpen() {}
    virtual void OnSave() {}
    virtual void OnSaveAs() {}
    // The common pre-processor: true lets WindowProc run.
    virtual bool PreProcessMessage(UINT message, WPARAM& wParam, LPARAM& lParam, LRESULT& result);
    // The class's handler; derived classes fall back to their base for what they don't handle.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual HBRUSH OnCtlColorDlg(HDC dc) { return nullptr; }
    virtual HBRUSH OnCtlColorBtn(HDC dc) { return nullptr; }
    virtual HBRUSH OnCtlColorEdit(HDC dc) { return nullptr; }
    virtual HBRUSH OnCtlColorListBox(HDC dc) { return nullptr; }
    virtual HBRUSH OnCtlColorScrollBar(HDC dc) { return nullptr; }
    virtual HBRUSH OnCtlColorStatic(HDC dc) { return nullptr; }
    virtual void OnZoneEnter(const RECT* zone, int x, int y, int index) {}
    virtual void OnZoneMove(const RECT* zone, int x, int y, int index) {}
    virtual void OnZoneLeave(const RECT* zone, int x, int y, int index) {}
    virtual void OnNcZoneEnter(const RECT* zone, int x, int y, int index) {}
    virtual void OnNcZoneMove(const RECT* zone, int x, int y, int index) {}
    virtual void OnNcZoneLeave(const RECT* zone, int x, int y, int index) {}

    // Registry and window classes.
    static ATOM RegisterWindowClasses(HINSTANCE instance);
    static void UnregisterWindowClasses(HINSTANCE instance);
    static int FindHandleIndex(HWND handle);
    static SWnd* FromHandle(HWND handle);
    bool RegisterHandle();
    // Takes every window of a thread about to be forced down out of the
    // registry; their objects are not touched. Returns how many there were.
    static int ForgetThreadWindows(DWORD threadId);

    // Creation: false when the object already has a window, when the window
    // cannot be made, or when SWM_CREATED is refused.
    bool Create(const char* title, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                UINT_PTR idOrMenu = 0, LPARAM param = 0, HINSTANCE instance = nullptr,
                bool noClose = false);
    bool CreateSubclassed(const char* className, const char* title, DWORD style, DWORD exStyle,
                          const RECT* rect, HWND parent, UINT_PTR id = 0, LPARAM param = 0,
                          HINSTANCE instance = nullptr);
    bool CreateChild(const char* title, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                     UINT_PTR id, int ignored, LPARAM param);
    bool CreateChild(const char* title, DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                     UINT_PTR id = 0, LPARAM param = 0);
    bool CreateChildUntitled(DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                             UINT_PTR id, int ignored, LPARAM param);
    bool CreateChildUntitled(DWORD style, DWORD exStyle, const RECT* rect, HWND parent,
                             UINT_PTR id = 0, LPARAM param = 0);
    bool CreatePopup(const char* title, const RECT* rect, HWND owner, LPARAM param = 0,
                     bool resizable = true);
    bool CreateMessageWindow(LPARAM param = 0);

    // Destruction.
    bool DestroyWindow();
    bool Close();

    // Routing.
    static LRESULT CALLBACK SharedWindowProc(HWND handle, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    LRESULT CallDefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The library children of this window (parent handle equal to this one), in
    // registry order; children of excluded windows are not visited.
    int CollectChildren(SArray<SWnd*>* out, const SArray<SWnd*>* exclude, bool recursive,
                        int typeId = -1);

    // Members used across the library.
    HWND GetHandle() const { return m_handle; }
    void SetTypeId(int id) { m_typeId = id; }
    int GetType() const { return m_typeId; }
    void SetKeyCommandMask(int mask) { m_keyCommandMask = mask; }
    bool IsKeyCommandEnabled(int bit) const { return (m_keyCommandMask & bit) != 0; }
    void SetTabIndex(int group) { m_tabGroup = group < 0 ? -1 : group; }
    int GetTabGroup() const { return m_tabGroup; }
    int GetChildSequence() const { return m_creationSequence; }
    int GetNextChildSequence() { return m_nextChildSequence++; }
    void SetOwnBackground(bool on) { m_ownBackground = on; }
    void SetClientDrag(bool on) { m_clientDrag = on; }
    void EnableNcZones(bool on);
    bool IsModal() const { return m_modal; }
    void EndModal(int result);
    bool IsSubclassed() const { return m_previousProc != nullptr; }
    HWND GetParent() const;
    LRESULT SendMessageToParent(UINT message, WPARAM wParam, LPARAM lParam) const;
    LRESULT NotifyChanged(LPARAM value, SWnd* sender = nullptr);
    // The object's own control id and name (a dialog description's ID and NAME),
    // kept apart from the window's GWL_ID.
    void SetControlId(int id) { m_controlId = id; }
    int GetControlId() const { return m_controlId; }
    void SetName(const char* name) { m_name = name ? name : ""; }
    void SetName(const SString& name) { SetName(name.GetText()); }
    const SString& GetName() const { return m_name; }

    // Default handling: the window's own scroll bars, their steps, and anchoring
    // to the parent's edges.
    void SetScrollSteps(bool vertical, int line, int page, int snap);
    int GetScrollStep(bool vertical) const;
    int GetPageStep(bool vertical) const;
    int SetScrollPos(bool vertical, int position, bool redraw);
    int SetHScrollPos(int position, bool redraw) { return SetScrollPos(false, position, redraw); }
    int SetVScrollPos(int position, bool redraw) { return SetScrollPos(true, position, redraw); }
    int GetScrollPos(bool vertical) const;
    int GetHScrollPos() const { return GetScrollPos(false); }
    int GetVScrollPos() const { return GetScrollPos(true); }
    int GetScrollMin(bool vertical) const;
    int GetScrollMax(bool vertical) const;
    bool SetScrollRange(bool vertical, int minimum, int maximum, int page, bool redraw);
    int ScrollPageForward(bool vertical);
    int ScrollPageBackward(bool vertical);
    void SetAnchors(int flags);
    HWND ApplyAnchors();
    int GetAnchors() const { return m_anchorFlags; }

    // Background painting into the target context (the memory context of an erase).
    void PaintBackground(HDC windowDC, HDC target);
    // The context a self-drawn window paints its content into for this message:
    // the buffered erase's memory context, or the WM_PRINTCLIENT context once
    // the background is painted there; null for any other message.
    HDC GetContentPaintDC(UINT message, WPARAM wParam, LPARAM lParam);
    // Where a media player window's video draws itself (client coordinates,
    // empty for none); the player host, a layer above, installs it.
    typedef RECT (*VideoAreaFunction)(SWnd* window);
    static void SetVideoAreaFunction(VideoAreaFunction function) { s_videoArea = function; }
    // RedrawWindow on the window; while a transparent window redraws, its parent
    // repaints the area under it. False without a window.
    bool RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);

    // Skins, regions and layered windows (SWndSkin.cpp). A skin's margins give the
    // stretchable centre of a nine-slice frame; empty margins draw the whole
    // image by its draw mode. A transparent colour cuts the window to its opaque pixels.
    void SetBackgroundImage(Gdiplus::Bitmap* bitmap, COLORREF transparent = COLOR_NONE,
                            int drawMode = -1, const RECT* margins = nullptr, bool redraw = true);
    bool SetBackgroundImageFromResource(const char* name, const char* type,
                                        COLORREF transparent = COLOR_NONE, int drawMode = -1,
                                        const RECT* margins = nullptr, bool redraw = true);
    void SetImageDrawMode(int mode) { m_skinImage.SetDrawMode(mode); }
    const SImage& GetBackgroundImage() const { return m_skinImage; }
    COLORREF GetTransparentColor() const { return m_transparentColor; }
    const RECT& GetSkinMargins() const { return m_skinMargins; }
    void PaintSkin(HDC target, int width, int height);
    // Takes ownership of the extra region (null: the whole window).
    void UpdateRegion(HRGN extra);
    // 0 when user32 cannot be loaded or there is no window.
    int SetLayered(bool layered);
    // Shows the memory context's picture as the layered image, then frees the
    // context and its selected bitmap.
    void UpdateLayered(HDC memory, BYTE alpha);
    HDC RenderSkinToMemory();
    void UpdateLayeredFromSkin(BYTE alpha) { UpdateLayered(RenderSkinToMemory(), alpha); }

    // One piece of a nine-slice skin: where it goes, which part of the image, how.
    struct _SSkinPiece
    {
        enum Kind { PLAIN, TILED, CENTRE };
        Gdiplus::Rect destination;
        Gdiplus::Rect source;
        Kind kind;
    };
    // The drawable pieces of a w x h image with margins in a W x H area, at
    // most nine; pieces of no width or height are left out and no source
    // reaches outside the image. Returns the count.
    static int ComputeSkinPieces(int areaWidth, int areaHeight, int imageWidth, int imageHeight,
                                 const RECT& margins, _SSkinPiece pieces[9]);

    // Sizes and conversions: 0, 0 or false when the underlying call fails.
    SIZE GetClientSize() const;
    int GetClientWidth() const { return GetClientSize().cx; }
    int GetClientHeight() const { return GetClientSize().cy; }
    SIZE GetWindowSize() const;
    int GetWindowWidth() const { return GetWindowSize().cx; }
    int GetWindowHeight() const { return GetWindowSize().cy; }
    bool ClientToScreenRect(RECT* rect) const;
    bool ScreenToClientRect(RECT* rect) const;
    bool GetClientRectInWindow(RECT* rect) const;
    bool GetFrameSizes(int& left, int& top, int& right, int& bottom) const;
    bool GetFrameSizesForStyle(int& left, int& top, int& right, int& bottom) const;
    bool SetClientSize(int width, int height) const;
    bool GetClientRectWithoutBars(RECT* rect);
    bool CenterWindow(bool onParent) const;
    void BringToFront(bool force) const;
    void Minimize() const;
    void Maximize() const;
    void SetMinTrackSize(int width, int height);
    void SetMaxTrackSize(int width, int height);

    // Caret and cursor.
    bool CreateCaret(int height, int width, int x, int y, bool visible);
    bool ShowCaret(bool visible);
    bool SetCaretPos(int x, int y);
    bool DestroyCaret();
    void SetCursor(HCURSOR cursor);
    HCURSOR GetCursor() const { return m_cursor; }

    // Window families.
    HWND GetPopupAncestor(bool fromPopup) const;
    HWND GetOutermostPopupAncestor(bool outermost) const;
    int CollectSiblings(SArray<SWnd*>* out, const SArray<SWnd*>* exclude, int typeId = -1) const;
    static int CollectTopLevelWindows(SArray<SWnd*>* out);
    static int CollectChildHandles(HWND parent, SArray<HWND__*>* out,
                                   const SArray<HWND__*>* exclude, bool recursive);
    SWnd* GetNextTabWindow() const;

    // Modal runs and placement text.
    int DoModal(WPARAM first = 0, LPARAM second = 0, bool allWindows = false,
                const SArray<SWnd*>* exclude = nullptr, bool hideWhenDone = false);
    void EndModalOk() { EndModal(0); }
    void EndModalCancel() { EndModal(-1); }
    bool SavePlacement(const char* companyKey, const char* productKey, const char* valueName) const;
    bool RestorePlacement(const char* companyKey, const char* productKey, const char* valueName,
                          bool keepVisibility);

    // Small wrappers of one Win32 call on the window's own handle.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    static LRESULT SendMessageTo(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    HDC GetDC() const;
    int ReleaseDC(HDC dc) const;
    bool GetClientRect(RECT* rect) const;
    bool GetWindowRect(RECT* rect) const;
    bool ClientToScreen(POINT* point) const;
    bool ScreenToClient(POINT* point) const;
    bool ShowWindow(int command) const;
    bool IsVisible() const;
    bool EnableWindow(bool enable) const;
    bool IsEnabled() const;
    HWND SetFocus() const;
    bool HasFocus() const;
    bool SetForegroundWindow() const;
    bool UpdateWindow() const;
    bool IsZoomed() const;
    bool IsIconic() const;
    bool SetWindowText(const char* text) const;
    int GetWindowTextLength() const;
    int GetWindowTextBuffer(char* buffer, int size) const;
    SString GetWindowText() const;
    int GetId() const;
    DWORD GetStyle() const;
    DWORD SetStyle(DWORD style) const;
    DWORD GetExStyle() const;
    DWORD SetExStyle(DWORD style) const;
    bool IsPopup() const;
    UINT_PTR SetTimer(UINT_PTR id, UINT period, TIMERPROC callback = nullptr) const;
    bool KillTimer(UINT_PTR id) const;
    bool InvalidateRect(const RECT* rect, bool erase) const;
    bool ValidateRect(const RECT* rect) const;
    HWND SetCapture() const;
    bool SetMenu(HMENU menu) const;
    HMENU GetMenu() const;
    void SetFont(HFONT font, bool redraw) const;
    HFONT GetFont() const;
    void SetRedraw(bool on) const;
    void SetIcon(HICON bigIcon, HICON smallIcon) const;
    void SetClassIcon(HICON bigIcon, HICON smallIcon) const;
    int SetWindowRgn(HRGN region, bool redraw) const;
    bool SetWindowPos(HWND insertAfter, int x, int y, int width, int height, UINT flags) const;
    bool Move(int x, int y) const;
    bool MoveWindow(int x, int y, int width, int height, bool repaint) const;
    bool MoveWindowToRect(const RECT* rect, bool repaint) const;
    bool ShowScrollBar(bool vertical, bool show) const;

    // Messages the control classes send to their own native control; each
    // returns the control's answer (SWndControlMessages.cpp).
    LRESULT EditSetSel(int start, int end) const;  // a negative end: the text length
    LRESULT EditReplaceSel(const char* text) const;
    LRESULT RichEditStreamIn(WPARAM format, _editstream* stream) const;
    LRESULT RichEditFormatRange(bool measureOnly, LPARAM range) const;
    int ButtonGetCheck() const;
    LRESULT ButtonSetCheck(int state) const;
    int ScrollBarSetPos(int position, bool redraw) const;
    int ScrollBarGetPos() const;
    int ScrollBarGetMin() const;
    int ScrollBarGetMax() const;
    LRESULT ScrollBarSetRange(int minimum, int maximum, bool redraw) const;
    LRESULT SliderSetPos(bool redraw, int position) const;
    int ProgressSetPos(int position) const;
    LRESULT ProgressSetRange(int low, int high) const;
    int ProgressGetLimit(bool low) const;
    int ProgressGetPos() const;
    int StatusBarGetParts(int count, int* rightEdges) const;
    bool ToolBarEnableButton(int id, bool enable) const;
    bool ToolBarDeleteButton(int index) const;
    bool ToolBarSetBitmapSize(int width, int height) const;
    int ToolBarGetButtonHeight() const;
    bool ToolBarAddButton(int id, int bitmap) const;
    bool RebarDeleteBand(int index) const;
    int TabGetCurSel() const;
    int TabGetItemCount() const;
    int ListViewGetSelectedCount() const;
    bool ListViewDeleteAllItems() const;
    HWND ListViewGetHeader() const;
    _TREEITEM* TreeInsertItem(tagTVINSERTSTRUCTA* item) const;
    _TREEITEM* TreeHitTest(tagTVHITTESTINFO* hit) const;
    _TREEITEM* TreeGetSelection() const;
    _TREEITEM* TreeGetNextSibling(_TREEITEM* item) const;
    bool TreeGetItemRect(_TREEITEM* item, RECT* rect, bool textOnly) const;

protected:
    // Six button-pressed-on pointers: client left, middle, right, then non-client.
    static SWnd* s_buttonDown[3];
    static SWnd* s_ncButtonDown[3];
    static VideoAreaFunction s_videoArea;

    RECT m_workArea;
    WNDPROC m_previousProc;
    bool m_ownBackground;
    HWND m_handle;
    int m_typeId;
    int m_minTrackWidth, m_minTrackHeight;
    int m_maxTrackWidth, m_maxTrackHeight;
    bool m_clientDrag;
    int m_anchorFlags;
    int m_anchorParentWidth, m_anchorParentHeight;
    RECT m_anchorRect;
    int m_eraseNesting;
    int m_hLineStep, m_hPageStep, m_hSnapStep;
    int m_vLineStep, m_vPageStep, m_vSnapStep;
    HFONT m_font;
    int m_keyCommandMask;
    bool m_restored;
    bool m_modal;
    int m_modalResult;
    bool m_caretMade, m_caretCreated;
    int m_caretWidth, m_caretHeight;
    bool m_caretVisible;
    int m_caretX, m_caretY;
    HCURSOR m_cursor;
    bool m_mouseInside;
    bool m_zoneTracking;
    SArray<RECT> m_zones;
    int m_currentZone;
    bool m_ncZoneTracking;
    SArray<RECT> m_ncZones;
    int m_currentNcZone;
    bool m_dragging;
    int m_dragOffsetX, m_dragOffsetY;
    int m_nextChildSequence;
    int m_tabGroup;
    int m_creationSequence;
    COLORREF m_backgroundColor;
    COLORREF m_transparentColor;
    RECT m_skinMargins;
    bool m_redrawInProgress;
    SImage m_skinImage;
    int m_controlId = 0;
    SString m_name;

private:
    void ResetWindowState();
    bool CreateOfClass(const char* className, bool subclass, const char* title, DWORD style, DWORD exStyle,
                       const RECT* rect, HWND parent, UINT_PTR idOrMenu, LPARAM param, HINSTANCE instance);
    DWORD PrepareCreation(DWORD style, HWND parent, bool& visible);
    bool FinishCreation(HWND handle, bool subclass, LPARAM param, bool visible);
    static void ForgetRegistration(HWND handle, const SWnd* expected);
    static void UnregisterObject(SWnd* window);
    static int FindIndexLocked(HWND handle);
    void RelaySizeToChildren(WPARAM wParam, LPARAM lParam);

    // Pre-processing steps (SWndPreProcess.cpp).
    void PreCreated();
    void PreSize(WPARAM state);
    void PreEraseBackground(WPARAM wParam, LPARAM& lParam);
    void PreSetFocus();
    void PreKillFocus();
    bool ReflectControlColor(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool PreMeasureItem(LPARAM lParam, LRESULT& result);
    bool PreDrawItem(LPARAM lParam, LRESULT& result);
    void PreMinMaxInfo(LPARAM lParam) const;
    bool PreKeyDown(WPARAM key);
    void RunKeyCommand(WPARAM key);
    void PreDropFiles(WPARAM drop);
    bool PreClose(LRESULT& result);
    void PreDestroy();
    void PreMouseMove(WPARAM wParam, LPARAM lParam);
    void PreMouseLeave();
    void PreButtonDown(int button, LPARAM lParam);
    void PreButtonUp(int button, LPARAM lParam);
    void PreNcMouseMove(LPARAM lParam);
    void PreNcMouseLeave();
    void DragWindowToCursor();
    void TrackZones(int x, int y);
    int HitTestZone(int x, int y) const;
    int HitTestNcZone(int x, int y) const;

    // Default handling steps (SWndDefault.cpp).
    LRESULT FinishEraseBackground(WPARAM wParam, LPARAM lParam);
    void DispatchMenuCommand(WPARAM wParam, LPARAM lParam);
    bool HandleScroll(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    int ComputeScrollPosition(bool vertical, WPARAM request, int old, int minimum, int maximum,
                              int trackPosition) const;

    // Background and caret steps (SWndBackground.cpp, SWndGeometry.cpp).
    void ExcludeChildren(HDC windowDC, HDC target) const;
    void RedrawParentUnder() const;
    void PaintSkinOn(Gdiplus::Graphics& graphics, int width, int height);
    void PlaceCaret() const;

    // Family step (SWndFamily.cpp): the registered windows whose parent is the given
    // handle (with popupsOnly, only those of popup style), skipping one; a snapshot taken
    // under the registry lock.
    static void SnapshotByParent(HWND parent, const SWnd* skip, bool popupsOnly, SArray<SWnd*>& out);

    // Modal run steps (SWndModal.cpp).
    void CollectWindowsToDisable(bool allWindows, const SArray<SWnd*>* exclude,
                                 SArray<SWnd*>& list, SWnd*& previous);
    bool ApplyPlacementText(const SString& text, bool keepVisibility);

    // The handle this object is filed under in the registry; only touched while
    // the registry lock is held, so searches on other threads never see it change.
    HWND m_registeredHandle;
};

int GetScreenWidth();
int GetScreenHeight();
