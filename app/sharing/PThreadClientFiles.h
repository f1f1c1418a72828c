// The download thread: fetches the queued remote files over a connection of its
// own and reports rows to the download queue window.
#pragma once
#include "SThread.h"

class PWndApp;
class PWndNet;

class PThreadClientFiles : public SThread
{
public:
    PThreadClientFiles() : m_owner(nullptr), m_queue(nullptr) {}
    ~PThreadClientFiles() override { Stop(); }

    void SetOwner(PWndApp* owner, PWndNet* queue)
    {
        m_owner = owner;
        m_queue = queue;
    }
    PWndApp* GetOwner() const { return m_owner; }
    PWndNet* GetQueueWindow() const { return m_queue; }

private:
    PWndApp* m_owner;
    PWndNet* m_queue;
};
