// The native tool bar. Its notifications go to a hidden inner window, which
// turns button commands into SWM_TOOLBAR_COMMAND to the tool bar's parent and
// lets the user slide from one drop-down menu to the next along the bar.
#pragma once
#include "SWnd.h"

class SMenu;
struct _IMAGELIST;

class SToolBarCtrl : public SWnd
{
public:
    // Receives the tool bar's WM_COMMAND and WM_NOTIFY (its notify parent).
    class _SWnd : public SWnd
    {
    public:
        _SWnd() : m_toolBar(nullptr) {}
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    private:
        friend class SToolBarCtrl;
        SToolBarCtrl* m_toolBar;
    };

    SToolBarCtrl();
    ~SToolBarCtrl() override;

    // A TBSTYLE_FLAT request is applied after creation.
    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0,
                LPARAM param = 0);
    bool AddButton(int id, int image, const char* text = nullptr, BYTE style = 0,
                   BYTE state = 0x04 /* TBSTATE_ENABLED */, DWORD_PTR userData = 0);
    bool AddSeparator();
    void RemoveAllButtons();
    int GetButtonCount() const;
    bool EnableButton(int id, bool enable);
    bool IsButtonEnabled(int id) const;
    bool CheckButton(int id, bool check);
    bool IsButtonChecked(int id) const;
    void SetImageList(_IMAGELIST* list);
    _IMAGELIST* GetImageList() const { return m_imageList; }
    bool SetBitmapSize(int width, int height);
    int GetButtonHeight() const;
    void SetTransparent(bool on);
    bool IsTransparent() const;

    // Auto-size on the parent's resizing (never inside a control bar).
    void SetAutoSize(bool on) { m_autoSize = on; }
    bool GetAutoSize() const { return m_autoSize; }
    // The owner's per-button data: a command id and a drop-down menu (not
    // owned) for button index i.
    void SetCommandId(int button, int id);
    int GetCommandId(int button) const;
    void SetDropDownMenu(int button, SMenu* menu);
    SMenu* GetDropDownMenu(int button) const;

    // Opens the drop-down menu of button i below it, and the next one while the
    // user slides along the bar; returns when the last menu closed. False
    // without a menu for i.
    bool OpenDropDownMenu(int button);
    int GetOpenMenuButton() const { return m_openMenuButton; }
    // The cursor moved onto button i while a menu is open.
    void SwitchToButton(int button);
    // The button under a point of the client area, -1 when none.
    int HitTestButton(POINT point) const;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCreated();
    bool TrackMenuBelow(int button, SMenu* menu);

    _SWnd m_inner;
    _IMAGELIST* m_imageList;
    bool m_autoSize;
    int m_openMenuButton;
    bool m_switching;
    SArray<int> m_commandIds;
    SArray<SMenu*> m_menus;
};
