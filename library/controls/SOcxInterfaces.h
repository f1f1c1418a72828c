// The media player and browser interfaces the ActiveX hosts use, with what
// MinGW's headers leave out: the player's extended controls interface, and
// definitions of the player's identifiers (SOcxInterfaces.cpp), which no
// import library carries.
#pragma once
#include "SPlatform.h"
#include <ole2.h>
#include <ocidl.h>
#include <exdisp.h>
#include <exdispid.h>
#include <wmp.h>

EXTERN_C const IID IID_IWMPControls3;

// The player's extended controls (audio languages and time codes).
struct IWMPControls3 : public IWMPControls2
{
    virtual HRESULT STDMETHODCALLTYPE get_audioLanguageCount(LONG* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE getAudioLanguageID(LONG index, LONG* languageId) = 0;
    virtual HRESULT STDMETHODCALLTYPE getAudioLanguageDescription(LONG index, BSTR* description) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentAudioLanguage(LONG* languageId) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentAudioLanguage(LONG languageId) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentAudioLanguageIndex(LONG* index) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentAudioLanguageIndex(LONG index) = 0;
    virtual HRESULT STDMETHODCALLTYPE getLanguageName(LONG languageId, BSTR* name) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_currentPositionTimecode(BSTR* timecode) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_currentPositionTimecode(BSTR timecode) = 0;
};

// The player's event numbers the host reads.
const DISPID SDISPID_WMP_PLAYSTATECHANGE = 5101;
const DISPID SDISPID_WMP_BUFFERING = 5402;
