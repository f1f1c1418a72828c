#include "FakeMediaPlayer.h"

namespace
{
template <class T>
HRESULT Hand(T* part, void** out)
{
    *out = part;
    part->AddRef();
    return S_OK;
}
} // namespace

FakeMediaPlayer::FakeMediaPlayer()
    : FakeOcxControl<IWMPPlayer4>(IID__WMPOCXEvents), m_controls(this), m_settings(this), m_media(this)
{
}

bool FakeMediaPlayer::IsMainInterface(REFIID iid) const
{
    return SameIid(iid, IID_IWMPPlayer4) || SameIid(iid, IID_IWMPCore) || SameIid(iid, IID_IWMPCore2) ||
           SameIid(iid, IID_IWMPCore3);
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::close()
{
    closeCalls++;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::put_URL(BSTR text)
{
    if (putUrlFails)
        return E_FAIL;
    url = text ? text : L"";
    openStatePolls = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::get_openState(WMPOpenState* state)
{
    *state = openStatePolls++ < openingPolls ? wmposMediaOpening : finalState;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::get_controls(IWMPControls** out)
{
    return Hand(static_cast<IWMPControls*>(&m_controls), reinterpret_cast<void**>(out));
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::get_settings(IWMPSettings** out)
{
    return Hand(static_cast<IWMPSettings*>(&m_settings), reinterpret_cast<void**>(out));
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::get_currentMedia(IWMPMedia** out)
{
    if (url.empty())
    {
        *out = nullptr;
        return E_FAIL;
    }
    return Hand(static_cast<IWMPMedia*>(&m_media), reinterpret_cast<void**>(out));
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::put_enableContextMenu(VARIANT_BOOL on)
{
    contextMenu = on;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeMediaPlayer::put_uiMode(BSTR mode)
{
    uiMode = mode ? mode : L"";
    return S_OK;
}

HRESULT FakeMediaPlayer::FirePlayState(int state)
{
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_I4;
    V_I4(&argument) = state;
    return Events().Fire(5101, &argument, 1);
}

HRESULT FakeMediaPlayer::FireBuffering(bool start)
{
    VARIANT argument;
    VariantInit(&argument);
    V_VT(&argument) = VT_BOOL;
    V_BOOL(&argument) = start ? VARIANT_TRUE : VARIANT_FALSE;
    return Events().Fire(5402, &argument, 1);
}

// --- Controls ---------------------------------------------------------------

HRESULT STDMETHODCALLTYPE FakePlayerControls::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    const bool known = SameIid(iid, IID_IUnknown) || SameIid(iid, IID_IDispatch) || SameIid(iid, IID_IWMPControls) ||
                       SameIid(iid, IID_IWMPControls2) || (SameIid(iid, IID_IWMPControls3) && m_owner->hasControls3);
    return known ? Hand(static_cast<IWMPControls3*>(this), out) : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FakePlayerControls::AddRef() { return m_owner->AddRef(); }
ULONG STDMETHODCALLTYPE FakePlayerControls::Release() { return m_owner->Release(); }

HRESULT STDMETHODCALLTYPE FakePlayerControls::play()
{
    m_owner->playCalls++;
    m_owner->playState = FakeMediaPlayer::PLAYING;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerControls::stop()
{
    m_owner->playState = FakeMediaPlayer::STOPPED;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerControls::pause()
{
    m_owner->playState = FakeMediaPlayer::PAUSED;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerControls::get_currentPosition(double* seconds)
{
    *seconds = m_owner->position;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerControls::put_currentPosition(double seconds)
{
    m_owner->position = seconds;
    return S_OK;
}

// --- Settings and media ---------------------------------------------------------

HRESULT STDMETHODCALLTYPE FakePlayerSettings::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    const bool known = SameIid(iid, IID_IUnknown) || SameIid(iid, IID_IDispatch) || SameIid(iid, IID_IWMPSettings);
    return known ? Hand(static_cast<IWMPSettings*>(this), out) : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FakePlayerSettings::AddRef() { return m_owner->AddRef(); }
ULONG STDMETHODCALLTYPE FakePlayerSettings::Release() { return m_owner->Release(); }

HRESULT STDMETHODCALLTYPE FakePlayerSettings::put_autoStart(VARIANT_BOOL on)
{
    m_owner->autoStart = on != VARIANT_FALSE;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerSettings::get_volume(LONG* volume)
{
    *volume = m_owner->volume;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerSettings::put_volume(LONG volume)
{
    m_owner->volume = volume;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerMedia::QueryInterface(REFIID iid, void** out)
{
    *out = nullptr;
    const bool known = SameIid(iid, IID_IUnknown) || SameIid(iid, IID_IDispatch) || SameIid(iid, IID_IWMPMedia);
    return known ? Hand(static_cast<IWMPMedia*>(this), out) : E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE FakePlayerMedia::AddRef() { return m_owner->AddRef(); }
ULONG STDMETHODCALLTYPE FakePlayerMedia::Release() { return m_owner->Release(); }

HRESULT STDMETHODCALLTYPE FakePlayerMedia::get_imageSourceWidth(LONG* width)
{
    *width = m_owner->videoWidth;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerMedia::get_imageSourceHeight(LONG* height)
{
    *height = m_owner->videoHeight;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakePlayerMedia::get_duration(double* seconds)
{
    *seconds = m_owner->duration;
    return S_OK;
}
