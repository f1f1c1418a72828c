// The main window's player: the media player control in its own top-most
// video window, handing buffering, the position tick and the end of each file
// to the main window.
#pragma once
#include "SMediaPlayerCtrl.h"

class PWndApp;

class PMedia : public SMediaPlayerCtrl
{
public:
    PMedia() : m_owner(nullptr) {}
    ~PMedia() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // The hidden video window: a top-most tool popup with a sizing frame.
    bool Create();

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnBuffering(bool finished) override;
    void OnMediaEnded() override;
    void OnRestarted() override {}
    void OnTimer() override;

private:
    PWndApp* m_owner;
};
