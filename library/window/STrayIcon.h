// An icon in the notification area with a tooltip; its mouse events reach the
// owner window as SWM_TRAY_MOUSE with an SMouseNotify (screen point).
#pragma once
#include "SPlatform.h"
#include <shellapi.h>
#include "SWnd.h"

class STrayIcon : public SWnd
{
public:
    // The tooltip room of the notification record, without its terminator.
    static const int MAX_TIP_LENGTH = 127;

    STrayIcon();
    // Takes the icon out of the notification area when it is shown.
    ~STrayIcon() override;

    // Makes the hidden popup window that receives the icon's notices (owned by
    // owner) and adds the icon (NIM_ADD) when add is set, else deletes it.
    bool Add(HICON icon, const char* tip, HWND owner, bool add = true, LPARAM param = 0);
    bool Create(HICON icon, const char* tip, HWND owner, bool add = true, LPARAM param = 0)
    {
        return Add(icon, tip, owner, add, param);
    }
    bool IsShown() const { return m_shown; }
    bool IsAdded() const { return m_added; }
    const char* GetTip() const { return m_data.szTip; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetTip(const char* tip);
    void DeleteIcon();
    void NotifyOwner(UINT mouseMessage) const;

    NOTIFYICONDATAA m_data;
    bool m_shown;
    bool m_added;
};
