#include "SOcxEvents.h"
#include <cstring>

SOcxEvents::SOcxEvents() : m_references(0)
{
}

SOcxEvents::~SOcxEvents()
{
}

HRESULT STDMETHODCALLTYPE SOcxEvents::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (QueryEventInterface(iid, out))
    {
        AddRef();
        return S_OK;
    }
    if (memcmp(&iid, &IID_IUnknown, sizeof(IID)) == 0 || memcmp(&iid, &IID_IDispatch, sizeof(IID)) == 0)
    {
        *out = static_cast<IDispatch*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE SOcxEvents::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG STDMETHODCALLTYPE SOcxEvents::Release()
{
    if (m_references == 0)
        return 0;
    return static_cast<ULONG>(InterlockedDecrement(&m_references));
}

HRESULT STDMETHODCALLTYPE SOcxEvents::GetTypeInfoCount(UINT*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SOcxEvents::GetTypeInfo(UINT, LCID, ITypeInfo**)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SOcxEvents::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE SOcxEvents::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                             EXCEPINFO*, UINT*)
{
    if (!params)
        return E_INVALIDARG;
    return OnEvent(id, params);
}

bool SOcxEvents::QueryEventInterface(REFIID, void**)
{
    return false;
}

HRESULT SOcxEvents::OnEvent(DISPID, DISPPARAMS*)
{
    return S_OK;
}

namespace
{
const VARIANT* ArgumentFromEnd(const DISPPARAMS* params, UINT fromEnd)
{
    if (!params || !params->rgvarg || fromEnd >= params->cArgs)
        return nullptr;
    // rgvarg holds the arguments in reverse: the last one first.
    return &params->rgvarg[fromEnd];
}
} // namespace

bool SOcxEvents::GetIntArgument(const DISPPARAMS* params, UINT fromEnd, int* out)
{
    const VARIANT* v = ArgumentFromEnd(params, fromEnd);
    if (!v || !out)
        return false;
    switch (V_VT(v))
    {
    case VT_I4: *out = V_I4(v); return true;
    case VT_INT: *out = V_INT(v); return true;
    case VT_UI4: *out = static_cast<int>(V_UI4(v)); return true;
    case VT_UINT: *out = static_cast<int>(V_UINT(v)); return true;
    case VT_I2: *out = V_I2(v); return true;
    case VT_UI2: *out = V_UI2(v); return true;
    default: return false;
    }
}

bool SOcxEvents::GetBoolArgument(const DISPPARAMS* params, UINT fromEnd, bool* out)
{
    const VARIANT* v = ArgumentFromEnd(params, fromEnd);
    if (!v || !out || V_VT(v) != VT_BOOL)
        return false;
    *out = V_BOOL(v) != VARIANT_FALSE;
    return true;
}
