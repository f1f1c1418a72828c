// A stand-in for the Windows Media Player control: IWMPPlayer4 with its
// controls (IWMPControls3), settings and current media, whose state the tests
// set and read. Register it under CLSID_WindowsMediaPlayer with
// FakeClassRegistration before creating an SMediaPlayerCtrl.
#pragma once
#include "FakeOcxControl.h"
#include "SOcxInterfaces.h"
#include <string>

class FakeMediaPlayer;

class FakePlayerControls : public IWMPControls3
{
public:
    explicit FakePlayerControls(FakeMediaPlayer* owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    FAKE_DISPATCH_STUBS
    FAKE_STUB(get_isAvailable, (BSTR, VARIANT_BOOL*))
    HRESULT STDMETHODCALLTYPE play() override;
    HRESULT STDMETHODCALLTYPE stop() override;
    HRESULT STDMETHODCALLTYPE pause() override;
    FAKE_STUB(fastForward, ()) FAKE_STUB(fastReverse, ())
    HRESULT STDMETHODCALLTYPE get_currentPosition(double* seconds) override;
    HRESULT STDMETHODCALLTYPE put_currentPosition(double seconds) override;
    FAKE_STUB(get_currentPositionString, (BSTR*)) FAKE_STUB(next, ()) FAKE_STUB(previous, ())
    FAKE_STUB(currentItem, (IWMPMedia**)) FAKE_STUB(put_currentItem, (IWMPMedia*))
    FAKE_STUB(get_currentMarker, (LONG*)) FAKE_STUB(put_currentMarker, (LONG))
    FAKE_STUB(playItem, (IWMPMedia*)) FAKE_STUB(step, (LONG)) FAKE_STUB(get_audioLanguageCount, (LONG*))
    FAKE_STUB(getAudioLanguageID, (LONG, LONG*)) FAKE_STUB(getAudioLanguageDescription, (LONG, BSTR*))
    FAKE_STUB(get_currentAudioLanguage, (LONG*)) FAKE_STUB(put_currentAudioLanguage, (LONG))
    FAKE_STUB(get_currentAudioLanguageIndex, (LONG*)) FAKE_STUB(put_currentAudioLanguageIndex, (LONG))
    FAKE_STUB(getLanguageName, (LONG, BSTR*)) FAKE_STUB(get_currentPositionTimecode, (BSTR*))
    FAKE_STUB(put_currentPositionTimecode, (BSTR))

private:
    FakeMediaPlayer* m_owner;
};

class FakePlayerSettings : public IWMPSettings
{
public:
    explicit FakePlayerSettings(FakeMediaPlayer* owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    FAKE_DISPATCH_STUBS
    FAKE_STUB(get_isAvailable, (BSTR, VARIANT_BOOL*)) FAKE_STUB(get_autoStart, (VARIANT_BOOL*))
    HRESULT STDMETHODCALLTYPE put_autoStart(VARIANT_BOOL on) override;
    FAKE_STUB(get_baseURL, (BSTR*)) FAKE_STUB(put_baseURL, (BSTR)) FAKE_STUB(get_defaultFrame, (BSTR*))
    FAKE_STUB(put_defaultFrame, (BSTR)) FAKE_STUB(get_invokeURLs, (VARIANT_BOOL*))
    FAKE_STUB(put_invokeURLs, (VARIANT_BOOL)) FAKE_STUB(get_mute, (VARIANT_BOOL*))
    FAKE_STUB(put_mute, (VARIANT_BOOL)) FAKE_STUB(get_playCount, (LONG*)) FAKE_STUB(put_playCount, (LONG))
    FAKE_STUB(get_rate, (double*)) FAKE_STUB(put_rate, (double)) FAKE_STUB(get_balance, (LONG*))
    FAKE_STUB(put_balance, (LONG))
    HRESULT STDMETHODCALLTYPE get_volume(LONG* volume) override;
    HRESULT STDMETHODCALLTYPE put_volume(LONG volume) override;
    FAKE_STUB(getMode, (BSTR, VARIANT_BOOL*)) FAKE_STUB(setMode, (BSTR, VARIANT_BOOL))
    FAKE_STUB(get_enableErrorDialogs, (VARIANT_BOOL*)) FAKE_STUB(put_enableErrorDialogs, (VARIANT_BOOL))

private:
    FakeMediaPlayer* m_owner;
};

class FakePlayerMedia : public IWMPMedia
{
public:
    explicit FakePlayerMedia(FakeMediaPlayer* owner) : m_owner(owner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    FAKE_DISPATCH_STUBS
    FAKE_STUB(get_isIdentical, (IWMPMedia*, VARIANT_BOOL*)) FAKE_STUB(get_sourceURL, (BSTR*))
    FAKE_STUB(get_name, (BSTR*)) FAKE_STUB(put_name, (BSTR))
    HRESULT STDMETHODCALLTYPE get_imageSourceWidth(LONG* width) override;
    HRESULT STDMETHODCALLTYPE get_imageSourceHeight(LONG* height) override;
    FAKE_STUB(get_markerCount, (LONG*)) FAKE_STUB(getMarkerTime, (LONG, double*))
    FAKE_STUB(getMarkerName, (LONG, BSTR*))
    HRESULT STDMETHODCALLTYPE get_duration(double* seconds) override;
    FAKE_STUB(get_durationString, (BSTR*)) FAKE_STUB(get_attributeCount, (LONG*))
    FAKE_STUB(getAttributeName, (LONG, BSTR*)) FAKE_STUB(getItemInfo, (BSTR, BSTR*))
    FAKE_STUB(setItemInfo, (BSTR, BSTR)) FAKE_STUB(getItemInfoByAtom, (LONG, BSTR*))
    FAKE_STUB(isMemberOf, (IWMPPlaylist*, VARIANT_BOOL*)) FAKE_STUB(isReadOnlyItem, (BSTR, VARIANT_BOOL*))

private:
    FakeMediaPlayer* m_owner;
};

class FakeMediaPlayer : public FakeOcxControl<IWMPPlayer4>
{
public:
    enum PlayState { STOPPED, PLAYING, PAUSED };

    FakeMediaPlayer();

    HRESULT STDMETHODCALLTYPE close() override;
    FAKE_STUB(get_URL, (BSTR*))
    HRESULT STDMETHODCALLTYPE put_URL(BSTR url) override;
    HRESULT STDMETHODCALLTYPE get_openState(WMPOpenState* state) override;
    FAKE_STUB(get_playState, (WMPPlayState*))
    HRESULT STDMETHODCALLTYPE get_controls(IWMPControls** out) override;
    HRESULT STDMETHODCALLTYPE get_settings(IWMPSettings** out) override;
    HRESULT STDMETHODCALLTYPE get_currentMedia(IWMPMedia** out) override;
    FAKE_STUB(put_currentMedia, (IWMPMedia*)) FAKE_STUB(get_mediaCollection, (IWMPMediaCollection**))
    FAKE_STUB(get_playlistCollection, (IWMPPlaylistCollection**)) FAKE_STUB(get_versionInfo, (BSTR*))
    FAKE_STUB(launchURL, (BSTR)) FAKE_STUB(get_network, (IWMPNetwork**))
    FAKE_STUB(get_currentPlaylist, (IWMPPlaylist**)) FAKE_STUB(put_currentPlaylist, (IWMPPlaylist*))
    FAKE_STUB(get_cdromCollection, (IWMPCdromCollection**))
    FAKE_STUB(get_closedCaption, (IWMPClosedCaption**)) FAKE_STUB(get_isOnline, (VARIANT_BOOL*))
    FAKE_STUB(get_Error, (IWMPError**)) FAKE_STUB(get_status, (BSTR*)) FAKE_STUB(get_dvd, (IWMPDVD**))
    FAKE_STUB(newPlaylist, (BSTR, BSTR, IWMPPlaylist**)) FAKE_STUB(newMedia, (BSTR, IWMPMedia**))
    FAKE_STUB(get_enabled, (VARIANT_BOOL*)) FAKE_STUB(put_enabled, (VARIANT_BOOL))
    FAKE_STUB(get_fullScreen, (VARIANT_BOOL*)) FAKE_STUB(put_fullScreen, (VARIANT_BOOL))
    FAKE_STUB(get_enableContextMenu, (VARIANT_BOOL*))
    HRESULT STDMETHODCALLTYPE put_enableContextMenu(VARIANT_BOOL on) override;
    HRESULT STDMETHODCALLTYPE put_uiMode(BSTR mode) override;
    FAKE_STUB(get_uiMode, (BSTR*)) FAKE_STUB(get_stretchToFit, (VARIANT_BOOL*))
    HRESULT STDMETHODCALLTYPE put_stretchToFit(VARIANT_BOOL) override { return S_OK; }
    FAKE_STUB(get_windowlessVideo, (VARIANT_BOOL*)) FAKE_STUB(put_windowlessVideo, (VARIANT_BOOL))
    FAKE_STUB(get_isRemote, (VARIANT_BOOL*)) FAKE_STUB(get_playerApplication, (IWMPPlayerApplication**))
    FAKE_STUB(openPlayer, (BSTR))

    // Fires PlayStateChange or Buffering with a well-formed argument.
    HRESULT FirePlayState(int state);
    HRESULT FireBuffering(bool start);

    // Opening: openState answers an opening state this many times, then finalState.
    int openingPolls = 0;
    WMPOpenState finalState = wmposMediaOpen;
    int openStatePolls = 0;
    bool putUrlFails = false;
    bool hasControls3 = true;
    // What the host did and the media's properties.
    std::wstring url;
    std::wstring uiMode;
    VARIANT_BOOL contextMenu = VARIANT_TRUE;
    bool autoStart = true;
    LONG volume = 50;
    double position = 0;
    double duration = 60;
    LONG videoWidth = 0, videoHeight = 0;
    PlayState playState = STOPPED;
    int playCalls = 0;
    int closeCalls = 0;

protected:
    bool IsMainInterface(REFIID iid) const override;

private:
    FakePlayerControls m_controls;
    FakePlayerSettings m_settings;
    FakePlayerMedia m_media;
};
