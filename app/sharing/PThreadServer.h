// The sharing server's thread: owns the listening server while sharing is on
// and reports the peers connected to the main window.
#pragma once
#include <atomic>
#include "SThread.h"

class PWndApp;
class PSocketServer;

class PThreadServer : public SThread
{
public:
    PThreadServer() : m_owner(nullptr), m_server(nullptr), m_peerCount(0) {}
    ~PThreadServer() override { Stop(); }

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    // Distinct peer machines connected now.
    int GetPeerCount() const { return m_peerCount; }
    void SetPeerCount(int count) { m_peerCount = count; }
    // Listens on the port of the settings with their password; a listen that
    // fails is posted back to the main window and ends the thread.
    bool Run() override;
    // Closes every client and the listening socket, and deletes the server.
    void OnLoopEnd() override;

private:
    PWndApp* m_owner;
    PSocketServer* m_server;
    std::atomic<int> m_peerCount;
};
