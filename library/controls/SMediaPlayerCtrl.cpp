// Creation, release, opening and the playing operations of the player host.
// Window procedure, events and painting: SMediaPlayerCtrlEvents.cpp.
#include "SMediaPlayerCtrl.h"
#include "SBstr.h"
#include "SDrawing.h"
#include "SGuards.h"

namespace
{
// The background painter's view of a player: its fitted video rectangle.
RECT VideoAreaOf(SWnd* window)
{
    const SMediaPlayerCtrl* player = dynamic_cast<SMediaPlayerCtrl*>(window);
    const RECT none = {0, 0, 0, 0};
    return player ? player->FitVideoRect() : none;
}
} // namespace

SMediaPlayerCtrl::SMediaPlayerCtrl()
    : m_player(nullptr), m_controls(nullptr), m_controls3(nullptr), m_settings(nullptr), m_loop(false),
      m_media(nullptr), m_hasVideo(false), m_playing(false), m_paused(false),
      m_openTimeLimit(DEFAULT_OPEN_TIME_LIMIT)
{
    SetTypeId(STYPE_MEDIAPLAYER);
    SetVideoAreaFunction(VideoAreaOf);
}

SMediaPlayerCtrl::~SMediaPlayerCtrl()
{
    DestroyWindow();
    DestroyPlayer();
}

// --- Creation and release ---------------------------------------------------

bool SMediaPlayerCtrl::CreatePlayer()
{
    DestroyPlayer();
    if (!m_host.LoadAttachFunction() ||
        !SOcxHost::CreateControl(CLSID_WindowsMediaPlayer, IID_IWMPPlayer4, reinterpret_cast<void**>(&m_player)))
    {
        DestroyPlayer();
        return false;
    }
    ConfigureNewPlayer();
    _SEvents* sink = new _SEvents;
    sink->SetOwner(this);
    if (!m_host.Connect(m_player, IID__WMPOCXEvents, sink) || !TakeFurtherInterfaces() || !AttachToWindow())
    {
        DestroyPlayer();
        return false;
    }
    m_settings->put_volume(100);
    return true;
}

void SMediaPlayerCtrl::ConfigureNewPlayer()
{
    m_player->put_enableContextMenu(VARIANT_FALSE);
    m_player->put_stretchToFit(VARIANT_TRUE);
    SBstr mode("none");
    m_player->put_uiMode(mode.Get());
}

bool SMediaPlayerCtrl::TakeFurtherInterfaces()
{
    if (FAILED(m_player->get_controls(&m_controls)) || !m_controls)
    {
        m_controls = nullptr;
        return false;
    }
    if (FAILED(m_controls->QueryInterface(IID_IWMPControls3, reinterpret_cast<void**>(&m_controls3))) ||
        !m_controls3)
    {
        m_controls3 = nullptr;
        return false;
    }
    if (FAILED(m_player->get_settings(&m_settings)) || !m_settings)
    {
        m_settings = nullptr;
        return false;
    }
    return true;
}

bool SMediaPlayerCtrl::AttachToWindow()
{
    return m_host.Attach(m_player, m_handle);
}

void SMediaPlayerCtrl::DestroyPlayer()
{
    Close();
    m_loop = false;
    if (_SEvents* sink = static_cast<_SEvents*>(m_host.GetSink()))
        sink->SetOwner(nullptr);
    m_host.Disconnect();
    if (m_settings)
        m_settings->Release();
    if (m_controls3)
        m_controls3->Release();
    if (m_controls)
        m_controls->Release();
    m_settings = nullptr;
    m_controls3 = nullptr;
    m_controls = nullptr;
    if (m_player)
    {
        m_player->close();
        m_player->Release();
        m_player = nullptr;
    }
    m_host.Unload();
}

// --- Opening ------------------------------------------------------------------

void SMediaPlayerCtrl::SetOpenTimeLimit(DWORD milliseconds)
{
    m_openTimeLimit = milliseconds ? milliseconds : DEFAULT_OPEN_TIME_LIMIT;
}

bool SMediaPlayerCtrl::Open(const char* path, bool start)
{
    if (!m_player)
        return false;
    Close();
    int savedVolume = 0;
    bool muted = false;
    bool urlSet = false;
    bool opened = StartOpening(path, start, savedVolume, muted, urlSet) && WaitForOpen() == wmposMediaOpen;
    if (!start && urlSet && m_controls)
    {
        // Back to the start, stopped, at the volume the caller had.
        m_controls->stop();
        m_controls->put_currentPosition(0.0);
        SetVolume(savedVolume);
        muted = false;
    }
    if (opened && (FAILED(m_player->get_currentMedia(&m_media)) || !m_media))
    {
        m_media = nullptr;
        opened = false;
    }
    if (!opened)
    {
        if (muted)
            SetVolume(savedVolume);
        // A media still opening must not start on its own once given up.
        if (urlSet && start && m_controls)
            m_controls->stop();
        Close();
        return false;
    }
    LONG width = 0, height = 0;
    m_media->get_imageSourceWidth(&width);
    m_media->get_imageSourceHeight(&height);
    m_hasVideo = width != 0 || height != 0;
    m_path.Set(path ? path : "");
    if (start)
    {
        m_playing = true;
        StartTimer();
    }
    return true;
}

bool SMediaPlayerCtrl::StartOpening(const char* path, bool start, int& savedVolume, bool& muted, bool& urlSet)
{
    if (!m_settings || !m_controls)
        return false;
    m_settings->put_autoStart(VARIANT_FALSE);
    SBstr url(path);
    if (!url.Get() || FAILED(m_player->put_URL(url.Get())))
        return false;
    urlSet = true;
    if (start)
    {
        m_controls->play();
        return true;
    }
    // Loaded silently and held: played and paused at once, muted meanwhile.
    savedVolume = GetVolume();
    SetVolume(0);
    muted = true;
    m_controls->play();
    m_controls->pause();
    return true;
}

// The last open state seen; wmposUndefined when it could not be read.
WMPOpenState SMediaPlayerCtrl::WaitForOpen()
{
    const DWORD started = GetTickCount();
    WMPOpenState state = wmposUndefined;
    while (m_handle && m_player)
    {
        if (FAILED(m_player->get_openState(&state)))
            return wmposUndefined;
        if (state == wmposMediaOpen || state == wmposPlaylistOpenNoMedia)
            return state;
        bool quit = false;
        PumpOneMessage(quit);
        if (quit || m_keyboard.IsKeyDown(VK_ESCAPE) || GetTickCount() - started >= m_openTimeLimit)
            break;
    }
    return state;
}

namespace
{
bool IsUserInput(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}
} // namespace

// One message of the thread's queue while a media opens: input for the
// library's windows is dropped, so nothing reacts to clicks meanwhile; all
// else (the player's own windows, timers, paints, socket and thread notices)
// is dispatched so that nothing posted to the program is lost.
void SMediaPlayerCtrl::PumpOneMessage(bool& quit)
{
    MSG msg = {};
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
    {
        // Wait briefly for the next message instead of spinning.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        return;
    }
    if (msg.message == WM_QUIT)
    {
        PostQuitMessage(static_cast<int>(msg.wParam));
        quit = true;
        return;
    }
    if (msg.hwnd && IsUserInput(msg.message) && FromHandle(msg.hwnd))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

// --- Playing --------------------------------------------------------------------

// Without a window a timer would go to the thread under an id of the system's choosing.
void SMediaPlayerCtrl::StartTimer() const
{
    if (m_handle)
        SetTimer(TIMER_ID, TIMER_PERIOD);
}

void SMediaPlayerCtrl::StopTimer() const
{
    if (m_handle)
        KillTimer(TIMER_ID);
}

bool SMediaPlayerCtrl::Close()
{
    Stop();
    StopTimer();
    if (m_media)
        m_media->Release();
    m_media = nullptr;
    m_path.Set("");
    m_hasVideo = false;
    return true;
}

bool SMediaPlayerCtrl::Play()
{
    if (!m_media)
        return false;
    Seek(0);
    m_controls->play();
    m_playing = true;
    m_paused = false;
    StartTimer();
    return true;
}

bool SMediaPlayerCtrl::Stop()
{
    if (!m_media)
        return false;
    m_controls->stop();
    StopTimer();
    m_playing = false;
    m_paused = false;
    return true;
}

bool SMediaPlayerCtrl::TogglePause()
{
    if (!m_media)
        return false;
    if (m_paused)
    {
        m_controls->play();
        m_playing = true;
        m_paused = false;
        return true;
    }
    if (!m_playing)
        return false;
    m_controls->pause();
    m_playing = false;
    m_paused = true;
    return true;
}

bool SMediaPlayerCtrl::Seek(uint32_t milliseconds)
{
    if (!m_media)
        return false;
    const uint32_t duration = GetDuration();
    if (milliseconds > duration)
        milliseconds = duration;
    return m_controls->put_currentPosition(milliseconds / 1000.0) == S_OK;
}

uint32_t SMediaPlayerCtrl::GetDuration() const
{
    double seconds = 0;
    if (!m_media || FAILED(m_media->get_duration(&seconds)) || seconds <= 0)
        return 0;
    return static_cast<uint32_t>(seconds * 1000.0);
}

uint32_t SMediaPlayerCtrl::GetPosition() const
{
    double seconds = 0;
    if (!m_media || FAILED(m_controls->get_currentPosition(&seconds)) || seconds <= 0)
        return 0;
    return static_cast<uint32_t>(seconds * 1000.0);
}

bool SMediaPlayerCtrl::SetVolume(int volume)
{
    if (!m_player || !m_settings)
        return false;
    volume = volume < 0 ? 0 : (volume > 100 ? 100 : volume);
    return m_settings->put_volume(volume) == S_OK;
}

int SMediaPlayerCtrl::GetVolume() const
{
    LONG volume = 0;
    if (!m_player || !m_settings || FAILED(m_settings->get_volume(&volume)))
        return 0;
    return static_cast<int>(volume);
}

void SMediaPlayerCtrl::ShowControls(bool show)
{
    if (!m_player)
        return;
    SBstr mode(show ? "full" : "none");
    m_player->put_uiMode(mode.Get());
}

void SMediaPlayerCtrl::EnableContextMenu(bool enable)
{
    if (m_player)
        m_player->put_enableContextMenu(enable ? VARIANT_TRUE : VARIANT_FALSE);
}

void SMediaPlayerCtrl::GetVideoSize(int& width, int& height) const
{
    width = height = 0;
    LONG w = 0, h = 0;
    if (!m_media || !m_hasVideo || FAILED(m_media->get_imageSourceWidth(&w)))
        return;
    if (FAILED(m_media->get_imageSourceHeight(&h)))
        return;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
}

RECT SMediaPlayerCtrl::FitVideoRect() const
{
    RECT fitted = {0, 0, 0, 0};
    int width = 0, height = 0;
    GetVideoSize(width, height);
    if (!m_media || !m_hasVideo)
        return fitted;
    RECT client = {0, 0, 0, 0};
    GetClientRect(&client);
    return FitRectKeepingAspect(client.left, client.top, client.right, client.bottom, width, height);
}
