#include "SBrowserCtrl.h"
#include "SBstr.h"
#include "SFile.h"
#include "SGuards.h"
#include <cstring>

SBrowserCtrl::SBrowserCtrl() : m_browser(nullptr), m_keepHistory(true), m_tempCounter(0)
{
    SetTypeId(STYPE_BROWSER);
}

SBrowserCtrl::~SBrowserCtrl()
{
    DestroyWindow();
    DestroyBrowser();
    DeleteTempFile();
}

bool SBrowserCtrl::Create(DWORD style, DWORD exStyle, const RECT* rect, HWND parent, UINT_PTR id)
{
    if (!(style & WS_POPUP))
        style |= WS_CHILD;
    return SWnd::Create("", style, exStyle, rect, parent, id);
}

LRESULT SBrowserCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case SWM_CREATED:
        if (!CreateBrowser())
            return -1;
        break;
    default:
        break;
    }
    return SWnd::WindowProc(message, wParam, lParam);
}

// --- Creation and release ---------------------------------------------------

bool SBrowserCtrl::CreateBrowser()
{
    DestroyBrowser();
    if (!m_host.LoadAttachFunction() ||
        !SOcxHost::CreateControl(CLSID_WebBrowser, IID_IWebBrowser2, reinterpret_cast<void**>(&m_browser)))
    {
        DestroyBrowser();
        return false;
    }
    _SEvents* sink = new _SEvents;
    sink->SetOwner(this);
    if (!m_host.Connect(m_browser, DIID_DWebBrowserEvents2, sink) || !m_host.Attach(m_browser, m_handle))
    {
        DestroyBrowser();
        return false;
    }
    return true;
}

void SBrowserCtrl::DestroyBrowser()
{
    if (_SEvents* sink = static_cast<_SEvents*>(m_host.GetSink()))
        sink->SetOwner(nullptr);
    m_host.Disconnect();
    if (m_browser)
    {
        m_browser->Quit();
        m_browser->Release();
        m_browser = nullptr;
    }
    m_host.Unload();
}

// --- Navigation -------------------------------------------------------------

bool SBrowserCtrl::Navigate(const char* address, const char* remembered)
{
    if (!m_browser)
        return false;
    m_currentUrl = remembered ? remembered : "";
    SBstr url(address);
    if (!url.Get())
        return false;
    VARIANT flags;
    VariantInit(&flags);
    V_VT(&flags) = VT_INT;
    V_INT(&flags) = m_keepHistory ? 0 : navNoHistory;
    VARIANT empty;
    VariantInit(&empty);
    return m_browser->Navigate(url.Get(), &flags, &empty, &empty, &empty) == S_OK;
}

bool SBrowserCtrl::Clear()
{
    if (!m_browser)
        return false;
    return Navigate("about:blank", "");
}

void SBrowserCtrl::SetSilent(bool silent)
{
    if (m_browser)
        m_browser->put_Silent(silent ? VARIANT_TRUE : VARIANT_FALSE);
}

// --- HTML through a temporary file -----------------------------------------------

bool SBrowserCtrl::ShowHtml(SVirtualFile* source, const char* remembered, const char* extension)
{
    if (!m_browser || !source)
        return false;
    DeleteTempFile();
    if (!WriteTempFile(source, extension))
        return false;
    return Navigate(m_tempFile.GetText(), remembered);
}

bool SBrowserCtrl::WriteTempFile(SVirtualFile* source, const char* extension)
{
    m_tempCounter++;
    char prefix[48];
    wsprintfA(prefix, "klvbrowser_%d_", m_tempCounter);
    SString folder = m_disk.GetTempFolder();
    const SString path = m_disk.MakeUniqueFileName(folder.GetText(), prefix, extension ? extension : "");
    if (path.GetLength() == 0)
        return false;
    const int expected = source->GetRemaining();
    SFile file;
    if (expected < 0 || !file.Open(path.GetText(), true, true, false))
        return false;
    const int copied = file.CopyFrom(source);
    file.Close();
    // A short copy (a failing source or a full disk) shows nothing.
    if (copied != expected || m_disk.GetFileSize(path.GetText()) != expected)
    {
        m_disk.DeleteFile(path.GetText());
        return false;
    }
    m_tempFile = path;
    return true;
}

void SBrowserCtrl::DeleteTempFile()
{
    if (m_tempFile.GetLength() == 0)
        return;
    m_disk.DeleteFile(m_tempFile.GetText());
    m_tempFile = "";
}

// --- Sink ------------------------------------------------------------------------

bool SBrowserCtrl::_SEvents::QueryEventInterface(REFIID iid, void** out)
{
    if (memcmp(&iid, &DIID_DWebBrowserEvents2, sizeof(IID)) != 0)
        return false;
    *out = static_cast<IDispatch*>(this);
    return true;
}

HRESULT SBrowserCtrl::_SEvents::OnEvent(DISPID id, DISPPARAMS* params)
{
    if (!m_owner || !m_owner->GetHandle())
        return S_OK;
    switch (id)
    {
    case DISPID_STATUSTEXTCHANGE: Notify(SWM_BROWSER_STATUSTEXT, 0); break;
    case DISPID_PROGRESSCHANGE: OnProgress(params); break;
    case DISPID_TITLECHANGE: Notify(SWM_BROWSER_TITLE, 0); break;
    case DISPID_BEFORENAVIGATE2: OnBeforeNavigate(params); break;
    case DISPID_ONQUIT: Notify(SWM_BROWSER_QUIT, 0); break;
    case DISPID_DOCUMENTCOMPLETE: Notify(SWM_BROWSER_DOCUMENTDONE, 0); break;
    case DISPID_NAVIGATEERROR: Notify(SWM_BROWSER_DOCUMENTDONE, 1); break;
    default: break;
    }
    return S_OK;
}

LRESULT SBrowserCtrl::_SEvents::Notify(UINT message, LPARAM lParam) const
{
    return m_owner->SendMessageToParent(message, reinterpret_cast<WPARAM>(m_owner), lParam);
}

void SBrowserCtrl::_SEvents::OnProgress(DISPPARAMS* params) const
{
    int values[2] = {0, 0};
    if (params->cArgs != 2 || !GetIntArgument(params, 1, &values[0]) || !GetIntArgument(params, 0, &values[1]))
        return;
    // -1 ends a download: nothing to show.
    if (values[0] == -1)
        return;
    Notify(SWM_BROWSER_PROGRESS, reinterpret_cast<LPARAM>(values));
}

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel).
void SBrowserCtrl::_SEvents::OnBeforeNavigate(DISPPARAMS* params) const
{
    if (params->cArgs < 7 || !params->rgvarg)
        return;
    const VARIANT& url = params->rgvarg[5];
    VARIANT& cancel = params->rgvarg[0];
    if (V_VT(&url) != (VT_BYREF | VT_VARIANT) || !V_VARIANTREF(&url) ||
        V_VT(V_VARIANTREF(&url)) != VT_BSTR || V_VT(&cancel) != (VT_BYREF | VT_BOOL) || !V_BOOLREF(&cancel))
        return;
    const SString address(V_BSTR(V_VARIANTREF(&url)));
    if (Notify(SWM_BROWSER_BEFORENAVIGATE, reinterpret_cast<LPARAM>(address.GetText() ? address.GetText() : "")) != 0)
        *V_BOOLREF(&cancel) = VARIANT_TRUE;
}
