// The download queue window: one row per queued file with its state and
// percent; it shares the play window's place and comes with downloads.
#pragma once
#include "SWnd.h"

class PWndApp;

class PWndNet : public SWnd
{
public:
    PWndNet() : m_owner(nullptr) {}
    ~PWndNet() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // A hidden child of the main window at its place, anchored to the right.
    bool Create(HWND parent, const RECT& rect);
    // Rows leave the queue: the selected ones, or those downloaded.
    void RemoveSelected() {}
    void RemoveFinished() {}

private:
    PWndApp* m_owner;
};
