// In-process stand-ins for ActiveX controls, for tests of the hosts: what
// AtlAxAttachControl asks of a control (IOleObject), a connection point that
// fires events through the sink's IDispatch::Invoke, and the registration of
// a class object under the class id a host creates.
#pragma once
#include "SPlatform.h"
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

// An interface method the hosts never call.
#define FAKE_STUB(name, params) \
    HRESULT STDMETHODCALLTYPE name params override { return E_NOTIMPL; }
#define FAKE_DISPATCH_STUBS                                                              \
    FAKE_STUB(GetTypeInfoCount, (UINT*))                                                 \
    FAKE_STUB(GetTypeInfo, (UINT, LCID, ITypeInfo**))                                    \
    FAKE_STUB(GetIDsOfNames, (REFIID, LPOLESTR*, UINT, LCID, DISPID*))                   \
    FAKE_STUB(Invoke, (DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*))
// A part object whose reference count is its owner's.
#define FAKE_DELEGATED_COUNT(owner)                                          \
    ULONG STDMETHODCALLTYPE AddRef() override { return (owner)->AddRef(); } \
    ULONG STDMETHODCALLTYPE Release() override { return (owner)->Release(); }

bool SameIid(REFIID a, REFIID b);

// One connection point with at most one sink, for one event interface.
class FakeConnectionPoint : public IConnectionPoint
{
public:
    FakeConnectionPoint(IUnknown* owner, REFIID events) : m_owner(owner), m_events(events) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    FAKE_DELEGATED_COUNT(m_owner)
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    FAKE_STUB(GetConnectionPointContainer, (IConnectionPointContainer**))
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    FAKE_STUB(EnumConnections, (IEnumConnections**))

    // Calls the sink's Invoke; the arguments are given last first, as
    // DISPPARAMS holds them. E_FAIL without a sink.
    HRESULT Fire(DISPID id, VARIANT* arguments, UINT count);
    HRESULT Fire(DISPID id) { return Fire(id, nullptr, 0); }
    IDispatch* GetSink() const { return m_sink; }

    // A faulty control: Unadvise succeeds but the sink is kept.
    bool keepsSinkOnUnadvise = false;

private:
    IUnknown* m_owner;
    IID m_events;
    IDispatch* m_sink = nullptr;
};

// The parts every hosted control shares; Main is its main dispatch interface.
template <class Main>
class FakeOcxControl : public Main, public IOleObject, public IConnectionPointContainer
{
public:
    explicit FakeOcxControl(REFIID events) : m_point(static_cast<Main*>(this), events) {}
    virtual ~FakeOcxControl() { SetClientSite(nullptr); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        *out = nullptr;
        if (SameIid(iid, IID_IUnknown) || SameIid(iid, IID_IDispatch) || IsMainInterface(iid))
            *out = static_cast<Main*>(this);
        else if (SameIid(iid, IID_IOleObject))
            *out = static_cast<IOleObject*>(this);
        else if (SameIid(iid, IID_IConnectionPointContainer) && hasContainer)
            *out = static_cast<IConnectionPointContainer*>(this);
        if (!*out)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_count); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG count = InterlockedDecrement(&m_count);
        if (count == 0)
            delete this;
        return count;
    }
    FAKE_DISPATCH_STUBS

    // IOleObject: what the attach asks, and nothing more.
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override
    {
        if (site)
            site->AddRef();
        if (clientSite)
            clientSite->Release();
        clientSite = site;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override
    {
        *site = clientSite;
        if (clientSite)
            clientSite->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD) override { return S_OK; }
    FAKE_STUB(SetMoniker, (DWORD, IMoniker*)) FAKE_STUB(GetMoniker, (DWORD, DWORD, IMoniker**))
    FAKE_STUB(InitFromData, (IDataObject*, WINBOOL, DWORD))
    FAKE_STUB(GetClipboardData, (DWORD, IDataObject**))
    HRESULT STDMETHODCALLTYPE DoVerb(LONG, LPMSG, IOleClientSite*, LONG, HWND, LPCRECT) override { return S_OK; }
    FAKE_STUB(EnumVerbs, (IEnumOLEVERB**)) FAKE_STUB(Update, ()) FAKE_STUB(IsUpToDate, ())
    FAKE_STUB(GetUserClassID, (CLSID*)) FAKE_STUB(GetUserType, (DWORD, LPOLESTR*))
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL*) override { return S_OK; }
    FAKE_STUB(GetExtent, (DWORD, SIZEL*)) FAKE_STUB(Advise, (IAdviseSink*, DWORD*))
    FAKE_STUB(Unadvise, (DWORD)) FAKE_STUB(EnumAdvise, (IEnumSTATDATA**))
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override
    {
        *status = 0;
        return S_OK;
    }
    FAKE_STUB(SetColorScheme, (LOGPALETTE*))

    // IConnectionPointContainer.
    FAKE_STUB(EnumConnectionPoints, (IEnumConnectionPoints**))
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override
    {
        *out = nullptr;
        IID events = {};
        m_point.GetConnectionInterface(&events);
        if (!hasPoint || !SameIid(iid, events))
            return CONNECT_E_NOCONNECTION;
        *out = &m_point;
        m_point.AddRef();
        return S_OK;
    }

    FakeConnectionPoint& Events() { return m_point; }
    LONG GetCount() const { return m_count; }

    // Switches of the failure tests.
    bool hasContainer = true;
    bool hasPoint = true;
    IOleClientSite* clientSite = nullptr;

protected:
    virtual bool IsMainInterface(REFIID iid) const = 0;

private:
    volatile LONG m_count = 1;
    FakeConnectionPoint m_point;
};

// Hands out one object under a class id while it lives (CoRegisterClassObject).
class FakeClassRegistration : public IClassFactory
{
public:
    FakeClassRegistration(REFCLSID classId, IUnknown* object);
    ~FakeClassRegistration();
    FakeClassRegistration(const FakeClassRegistration&) = delete;
    FakeClassRegistration& operator=(const FakeClassRegistration&) = delete;

    bool IsRegistered() const { return m_cookie != 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    IUnknown* m_object;
    DWORD m_cookie = 0;
};
