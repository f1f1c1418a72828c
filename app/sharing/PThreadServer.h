// The sharing server's thread: owns the listening server while sharing is on
// and reports the peers connected to the main window.
#pragma once
#include <atomic>
#include "SThread.h"

class PWndApp;

class PThreadServer : public SThread
{
public:
    PThreadServer() : m_owner(nullptr), m_peerCount(0) {}
    ~PThreadServer() override { Stop(); }

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // Distinct peer machines connected now.
    int GetPeerCount() const { return m_peerCount; }
    void SetPeerCount(int count) { m_peerCount = count; }
    // Listening comes with the sharing server; until then the thread only waits.
    bool Run() override { return true; }

private:
    PWndApp* m_owner;
    std::atomic<int> m_peerCount;
};
