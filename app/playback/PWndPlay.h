// The strip above the library that shows the playing track, its time and the
// queue; its views and seek bar come with playback.
#pragma once
#include "SWnd.h"

class PWndApp;

class PWndPlay : public SWnd
{
public:
    PWndPlay() : m_owner(nullptr) {}
    ~PWndPlay() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A visible child of the main window at its place, anchored to the right.
    bool Create(HWND parent, const RECT& rect);

private:
    PWndApp* m_owner;
};
