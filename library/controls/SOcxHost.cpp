#include "SOcxHost.h"
#include "SGuards.h"

SOcxHost::SOcxHost() : m_attach(nullptr), m_point(nullptr), m_sink(nullptr), m_cookie(0), m_container(nullptr)
{
}

SOcxHost::~SOcxHost()
{
    Disconnect();
    Unload();
}

bool SOcxHost::LoadAttachFunction()
{
    if (!m_atl.IsLoaded() && !m_atl.Load("atl.dll"))
        return false;
    m_attach = reinterpret_cast<AttachFunction>(m_atl.GetFunction("AtlAxAttachControl"));
    return m_attach != nullptr;
}

bool SOcxHost::CreateControl(REFCLSID classId, REFIID iid, void** out)
{
    *out = nullptr;
    const HRESULT hr = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, iid, out);
    if (FAILED(hr) || !*out)
    {
        *out = nullptr;
        return false;
    }
    return true;
}

bool SOcxHost::Connect(IUnknown* control, REFIID events, SOcxEvents* sink)
{
    Disconnect();
    m_sink = sink;
    m_cookie = 0;
    if (!sink)
        return false;
    // The host's own reference: the sink is freed once neither it nor the
    // control holds one.
    sink->AddRef();
    if (!control)
        return false;
    SComPtr<IConnectionPointContainer> container;
    if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, container.OutVoid())) || !container)
        return false;
    if (FAILED(container->FindConnectionPoint(events, &m_point)) || !m_point)
    {
        m_point = nullptr;
        return false;
    }
    if (FAILED(m_point->Advise(static_cast<IDispatch*>(sink), &m_cookie)))
    {
        m_cookie = 0;
        return false;
    }
    return true;
}

bool SOcxHost::Attach(IUnknown* control, HWND window)
{
    if (!m_attach || !control || !window)
        return false;
    // Wine's atl.dll hosts nothing unless asked for the container (it answers
    // S_OK all the same), so the container is always taken and held until the
    // release; Windows attaches either way.
    if (m_container)
        m_container->Release();
    m_container = nullptr;
    return m_attach(control, window, &m_container) == S_OK;
}

void SOcxHost::Disconnect()
{
    if (m_container)
        m_container->Release();
    m_container = nullptr;
    if (m_point)
    {
        if (m_cookie)
            m_point->Unadvise(m_cookie);
        m_point->Release();
        m_point = nullptr;
    }
    m_cookie = 0;
    if (m_sink)
    {
        // A control that still holds the sink after Unadvise would call into
        // freed memory: such a sink is left alive, its owner already cleared
        // by the host, rather than deleted.
        if (m_sink->Release() == 0)
            delete m_sink;
        m_sink = nullptr;
    }
}

void SOcxHost::Unload()
{
    m_attach = nullptr;
    m_atl.Free();
}
