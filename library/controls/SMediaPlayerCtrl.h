// A window hosting the Windows Media Player control: opens, plays, pauses,
// stops and seeks a media, sets the volume, reports the picture size, and
// tells its parent when the media ends. Derived classes follow buffering, the
// playing position and the end of a media through four virtual operations.
#pragma once
#include "SPlatform.h"
#include <cstdint>
#include "SKeyboard.h"
#include "SOcxEvents.h"
#include "SOcxHost.h"
#include "SOcxInterfaces.h"
#include "SPath.h"
#include "SWnd.h"

class SMediaPlayerCtrl : public SWnd
{
public:
    // The sink: play-state and buffering events become messages posted to the control.
    class _SEvents : public SOcxEvents
    {
    public:
        void SetOwner(SMediaPlayerCtrl* owner) { m_owner = owner; }
        bool QueryEventInterface(REFIID iid, void** out) override;
        HRESULT OnEvent(DISPID id, DISPPARAMS* params) override;

    private:
        SMediaPlayerCtrl* m_owner = nullptr;
    };

    // The timer that calls OnTimer while playing, and its period.
    static const UINT_PTR TIMER_ID = 150;
    static const UINT TIMER_PERIOD = 20;
    // How long Open waits for a media to open, unless told otherwise.
    static const DWORD DEFAULT_OPEN_TIME_LIMIT = 30000;

    SMediaPlayerCtrl();
    ~SMediaPlayerCtrl() override;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Buffering started (false) or finished (true).
    virtual void OnBuffering(bool finished) {}
    // The media ended and the loop flag is off.
    virtual void OnMediaEnded() {}
    // The media ended with the loop flag on and plays again from the start.
    virtual void OnRestarted() {}
    // Every 20 ms while playing.
    virtual void OnTimer() {}

    // Creation on SWM_CREATED and release; false refuses the window.
    bool CreatePlayer();
    void DestroyPlayer();

    bool Open(const char* path, bool start);
    bool Close();
    bool Play();
    bool Stop();
    bool TogglePause();
    bool Seek(uint32_t milliseconds);
    uint32_t GetDuration() const;
    uint32_t GetPosition() const;
    bool SetVolume(int volume);
    int GetVolume() const;
    void ShowControls(bool show);
    void EnableContextMenu(bool enable);
    void SetLoop(bool loop) { m_loop = loop; }
    bool GetLoop() const { return m_loop; }
    bool IsPlaying() const { return m_playing; }
    bool IsPaused() const { return m_paused; }
    bool HasMedia() const { return m_media != nullptr; }
    bool HasPlayer() const { return m_player != nullptr; }
    bool HasVideo() const { return m_hasVideo; }
    const SPath& GetPath() const { return m_path; }
    void GetVideoSize(int& width, int& height) const;
    RECT FitVideoRect() const;
    // The limit of Open's wait for the media; 0 restores the default.
    void SetOpenTimeLimit(DWORD milliseconds);

protected:
    bool AttachToWindow();

private:
    void ConfigureNewPlayer();
    bool TakeFurtherInterfaces();
    bool StartOpening(const char* path, bool start, int& savedVolume, bool& muted, bool& urlSet);
    WMPOpenState WaitForOpen();
    void PumpOneMessage(bool& quit);
    void StartTimer() const;
    void StopTimer() const;
    void OnStateChange(WPARAM state);
    void OnBufferingMessage(WPARAM finished);
    void PrintFilmStrip(HDC dc) const;

    SKeyboard m_keyboard;
    IWMPPlayer4* m_player;
    IWMPControls* m_controls;
    IWMPControls3* m_controls3;
    IWMPSettings* m_settings;
    SOcxHost m_host;
    bool m_loop;
    IWMPMedia* m_media;
    SPath m_path;
    bool m_hasVideo;
    bool m_playing;
    bool m_paused;
    DWORD m_openTimeLimit;
};
