// A stand-in for the WebBrowser control: records navigations, Quit and the
// silent mode; the tests fire DWebBrowserEvents2 through its connection point.
// Register it under CLSID_WebBrowser with FakeClassRegistration.
#pragma once
#include "FakeOcxControl.h"
#include "SOcxInterfaces.h"
#include <string>

class FakeBrowser : public FakeOcxControl<IWebBrowser2>
{
public:
    FakeBrowser() : FakeOcxControl<IWebBrowser2>(DIID_DWebBrowserEvents2) {}

    FAKE_STUB(GoBack, ()) FAKE_STUB(GoForward, ()) FAKE_STUB(GoHome, ()) FAKE_STUB(GoSearch, ())
    HRESULT STDMETHODCALLTYPE Navigate(BSTR url, VARIANT* flags, VARIANT*, VARIANT*, VARIANT*) override;
    FAKE_STUB(Refresh, ()) FAKE_STUB(Refresh2, (VARIANT*)) FAKE_STUB(Stop, ())
    FAKE_STUB(get_Application, (IDispatch**)) FAKE_STUB(get_Parent, (IDispatch**))
    FAKE_STUB(get_Container, (IDispatch**)) FAKE_STUB(get_Document, (IDispatch**))
    FAKE_STUB(get_TopLevelContainer, (VARIANT_BOOL*)) FAKE_STUB(get_Type, (BSTR*))
    FAKE_STUB(get_Left, (LONG*)) FAKE_STUB(put_Left, (LONG)) FAKE_STUB(get_Top, (LONG*))
    FAKE_STUB(put_Top, (LONG)) FAKE_STUB(get_Width, (LONG*)) FAKE_STUB(put_Width, (LONG))
    FAKE_STUB(get_Height, (LONG*)) FAKE_STUB(put_Height, (LONG)) FAKE_STUB(get_LocationName, (BSTR*))
    FAKE_STUB(get_LocationURL, (BSTR*)) FAKE_STUB(get_Busy, (VARIANT_BOOL*))
    HRESULT STDMETHODCALLTYPE Quit() override
    {
        quitCalls++;
        return S_OK;
    }
    FAKE_STUB(ClientToWindow, (int*, int*)) FAKE_STUB(PutProperty, (BSTR, VARIANT))
    FAKE_STUB(GetProperty, (BSTR, VARIANT*)) FAKE_STUB(get_Name, (BSTR*)) FAKE_STUB(get_HWND, (SHANDLE_PTR*))
    FAKE_STUB(get_FullName, (BSTR*)) FAKE_STUB(get_Path, (BSTR*)) FAKE_STUB(get_Visible, (VARIANT_BOOL*))
    FAKE_STUB(put_Visible, (VARIANT_BOOL)) FAKE_STUB(get_StatusBar, (VARIANT_BOOL*))
    FAKE_STUB(put_StatusBar, (VARIANT_BOOL)) FAKE_STUB(get_StatusText, (BSTR*))
    FAKE_STUB(put_StatusText, (BSTR)) FAKE_STUB(get_ToolBar, (int*)) FAKE_STUB(put_ToolBar, (int))
    FAKE_STUB(get_MenuBar, (VARIANT_BOOL*)) FAKE_STUB(put_MenuBar, (VARIANT_BOOL))
    FAKE_STUB(get_FullScreen, (VARIANT_BOOL*)) FAKE_STUB(put_FullScreen, (VARIANT_BOOL))
    FAKE_STUB(Navigate2, (VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*))
    FAKE_STUB(QueryStatusWB, (OLECMDID, OLECMDF*))
    FAKE_STUB(ExecWB, (OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*))
    FAKE_STUB(ShowBrowserBar, (VARIANT*, VARIANT*, VARIANT*)) FAKE_STUB(get_ReadyState, (READYSTATE*))
    FAKE_STUB(get_Offline, (VARIANT_BOOL*)) FAKE_STUB(put_Offline, (VARIANT_BOOL))
    FAKE_STUB(get_Silent, (VARIANT_BOOL*))
    HRESULT STDMETHODCALLTYPE put_Silent(VARIANT_BOOL on) override
    {
        silent = on;
        return S_OK;
    }
    FAKE_STUB(get_RegisterAsBrowser, (VARIANT_BOOL*)) FAKE_STUB(put_RegisterAsBrowser, (VARIANT_BOOL))
    FAKE_STUB(get_RegisterAsDropTarget, (VARIANT_BOOL*)) FAKE_STUB(put_RegisterAsDropTarget, (VARIANT_BOOL))
    FAKE_STUB(get_TheaterMode, (VARIANT_BOOL*)) FAKE_STUB(put_TheaterMode, (VARIANT_BOOL))
    FAKE_STUB(get_AddressBar, (VARIANT_BOOL*)) FAKE_STUB(put_AddressBar, (VARIANT_BOOL))
    FAKE_STUB(get_Resizable, (VARIANT_BOOL*)) FAKE_STUB(put_Resizable, (VARIANT_BOOL))

    // BeforeNavigate2 with the address; the sink's answer is in the result.
    bool FireBeforeNavigate(const wchar_t* address, VARIANT_BOOL* cancel);
    HRESULT FireProgress(int progress, int maximum);

    std::wstring url;
    VARTYPE flagsType = VT_EMPTY;
    int flags = -1;
    int navigateCalls = 0;
    int quitCalls = 0;
    VARIANT_BOOL silent = VARIANT_FALSE;

protected:
    bool IsMainInterface(REFIID iid) const override
    {
        return SameIid(iid, IID_IWebBrowser2) || SameIid(iid, IID_IWebBrowserApp) || SameIid(iid, IID_IWebBrowser);
    }
};
