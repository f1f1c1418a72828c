// A popup menu whose items carry a command id, a text and an optional picture
// from an image list. Newer systems show the picture as the item's bitmap; older
// ones have the menu measure and draw it. Chosen commands reach the owner as
// WM_MENUCOMMAND (notify by position), which the framework turns into
// SWM_MENUCOMMAND after the menu's OnCommand hook.
#pragma once
#include "SPlatform.h"
#include "SImage.h"
#include "SKeyboard.h"
#include "SString.h"

class SImageList;
class SWnd;

class SMenu
{
public:
    // One inserted item, found through the item's data word; it dies with its item.
    class _SItem
    {
    public:
        _SItem(SMenu* owner, UINT commandId, SMenu* subMenu, int imageIndex, bool separator);
        ~_SItem();
        _SItem(const _SItem&) = delete;
        _SItem& operator=(const _SItem&) = delete;

        SMenu* menu;
        UINT id;
        SMenu* subMenu;
        int imageIndex;  // -1: none
        SImage image;
        HBITMAP bitmap;  // made from the image, owned
        bool separator;
    };

    SMenu();
    virtual ~SMenu();
    SMenu(const SMenu&) = delete;
    SMenu& operator=(const SMenu&) = delete;

    // Owner-drawn items on older systems: false for an item without picture.
    virtual bool MeasureItem(_SItem* item, MEASUREITEMSTRUCT* measure);
    virtual bool DrawItem(_SItem* item, DRAWITEMSTRUCT* draw);
    // Called with the chosen command before SWM_MENUCOMMAND goes to the owner.
    virtual void OnCommand(int id) {}

    // False when the menu exists or cannot be made.
    bool Create(HWND owner);
    // The list stays the caller's; null removes it.
    void SetImageList(SImageList* list);
    // Items inserted while set have no picture and are never owner-drawn.
    void SetNoImage(bool on) { m_noImage = on; }

    // A position below 0 or beyond the item count appends.
    bool InsertItem(int id, const char* text, int image = -1, int position = -1);
    bool InsertSubMenu(int id, SMenu* subMenu, const char* text, int image = -1,
                       int position = -1);
    bool InsertSeparator(int id = 0, int position = -1);

    _SItem* GetItemData(int position) const;
    // 0 when there is no such item.
    int GetItemId(int position) const;
    // The first item with that id, or -1.
    int FindPosition(int id) const;
    int GetItemCount() const;

    // Items are addressed by command id from here on.
    SString GetItemText(int id) const;
    bool SetItemText(int id, const char* text);
    bool EnableItem(int id, bool enable);
    bool CheckItem(int id, bool check);
    bool IsItemChecked(int id) const;

    bool RemoveAll();
    void Destroy();
    HMENU GetHandle() const { return m_menu; }
    HWND GetOwner() const { return m_owner; }

    // Shows the menu and waits for the choice; a null window means the owner.
    bool Track(int x, int y, UINT flags = 0, HWND window = nullptr);
    bool Track(POINT point, UINT flags = 0, HWND window = nullptr)
    {
        return Track(point.x, point.y, flags, window);
    }
    bool TrackAtCursor(UINT flags = 0, HWND window = nullptr);
    // Brings the owner to the front first and wakes it after the menu closed.
    bool TrackEx(SWnd* owner, int x, int y, UINT flags = 0, HWND window = nullptr);

    // The modifier keys and screen point of the last menu shown.
    static int GetTrackModifiers() { return s_trackModifiers; }
    static POINT GetTrackPoint();

private:
    static void RegisterHandlers();
    bool InsertRecord(_SItem* item, const char* text, int position);
    void AttachImage(_SItem* item, MENUITEMINFOA& info);
    void RecordTracking(int x, int y);

    SKeyboard m_keyboard;
    SImageList* m_imageList;
    int m_iconWidth, m_iconHeight;
    HWND m_owner;
    HMENU m_menu;
    bool m_noImage;

    static int s_trackModifiers;
    static int s_trackX, s_trackY;
};
