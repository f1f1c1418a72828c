// A window hosting the WebBrowser control: navigates to addresses, shows HTML
// from a stream through a temporary file, and reports the browser's events to
// its parent as messages; the parent's answer can cancel a navigation.
#pragma once
#include "SPlatform.h"
#include "SDisk.h"
#include "SOcxEvents.h"
#include "SOcxHost.h"
#include "SOcxInterfaces.h"
#include "SString.h"
#include "SVirtualFile.h"
#include "SWnd.h"

class SBrowserCtrl : public SWnd
{
public:
    // The sink: events are sent straight to the parent while the control has a window.
    class _SEvents : public SOcxEvents
    {
    public:
        void SetOwner(SBrowserCtrl* owner) { m_owner = owner; }
        bool QueryEventInterface(REFIID iid, void** out) override;
        HRESULT OnEvent(DISPID id, DISPPARAMS* params) override;

    private:
        void OnProgress(DISPPARAMS* params) const;
        void OnBeforeNavigate(DISPPARAMS* params) const;
        LRESULT Notify(UINT message, LPARAM lParam) const;

        SBrowserCtrl* m_owner = nullptr;
    };

    SBrowserCtrl();
    ~SBrowserCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id = 0);
    bool Navigate(const char* address, const char* remembered);
    bool Clear();
    bool ShowHtml(SVirtualFile* source, const char* remembered, const char* extension);
    void SetSilent(bool silent);
    SString GetCurrentUrl() const { return m_currentUrl; }
    void SetUrl(const char* address) { m_currentUrl = address ? address : ""; }
    bool HasBrowser() const { return m_browser != nullptr; }
    void SetKeepHistory(bool keep) { m_keepHistory = keep; }
    // The temporary file shown last; empty when none.
    const SString& GetTempFile() const { return m_tempFile; }

    bool CreateBrowser();
    void DestroyBrowser();

private:
    void DeleteTempFile();
    bool WriteTempFile(SVirtualFile* source, const char* extension);

    SDisk m_disk;
    SOcxHost m_host;
    IWebBrowser2* m_browser;
    bool m_keepHistory;
    SString m_currentUrl;
    SString m_tempFile;
    int m_tempCounter;
};
