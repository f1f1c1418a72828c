#include "FakeOcxControl.h"
#include <cstring>

bool SameIid(REFIID a, REFIID b)
{
    return memcmp(&a, &b, sizeof(IID)) == 0;
}

HRESULT STDMETHODCALLTYPE FakeConnectionPoint::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    if (!SameIid(iid, IID_IUnknown) && !SameIid(iid, IID_IConnectionPoint))
        return E_NOINTERFACE;
    *out = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeConnectionPoint::GetConnectionInterface(IID* iid)
{
    *iid = m_events;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeConnectionPoint::Advise(IUnknown* sink, DWORD* cookie)
{
    *cookie = 0;
    if (m_sink)
        return CONNECT_E_ADVISELIMIT;
    // As a real control does: the sink must answer the event interface.
    if (!sink || FAILED(sink->QueryInterface(m_events, reinterpret_cast<void**>(&m_sink))))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeConnectionPoint::Unadvise(DWORD cookie)
{
    if (cookie != 1 || !m_sink)
        return CONNECT_E_NOCONNECTION;
    if (keepsSinkOnUnadvise)
        return S_OK;
    m_sink->Release();
    m_sink = nullptr;
    return S_OK;
}

HRESULT FakeConnectionPoint::Fire(DISPID id, VARIANT* arguments, UINT count)
{
    if (!m_sink)
        return E_FAIL;
    DISPPARAMS params = {arguments, nullptr, count, 0};
    return m_sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
}

FakeClassRegistration::FakeClassRegistration(REFCLSID classId, IUnknown* object) : m_object(object)
{
    if (FAILED(CoRegisterClassObject(classId, this, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie)))
        m_cookie = 0;
}

FakeClassRegistration::~FakeClassRegistration()
{
    if (m_cookie)
        CoRevokeClassObject(m_cookie);
}

HRESULT STDMETHODCALLTYPE FakeClassRegistration::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    if (!SameIid(iid, IID_IUnknown) && !SameIid(iid, IID_IClassFactory))
        return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeClassRegistration::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    *out = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    return m_object ? m_object->QueryInterface(iid, out) : E_FAIL;
}
