// The sharing server: the library's TCP server with the peer limit, the
// counts it reports to the main window, and the requests "100" to "107"
// answered from the shared library's copy on the server's thread.
#pragma once
#include <atomic>
#include "SSocketServer.h"
#include "PRecentFiles.h"
#include "PSharedLibrary.h"

class PWndApp;
class PThreadServer;

class PSocketServer : public SSocketServer
{
public:
    // How long the server thread waits for the main window to take a play request.
    static const int PLAY_TIMEOUT = 2000;

    PSocketServer(PWndApp* owner, PThreadServer* thread);
    ~PSocketServer() override;

    void OnClosed() override;
    int OnAccept(int client, const char* address, uint32_t clientValue) override;
    void OnConnected(int client, const char* address, uint32_t clientValue) override;
    void OnDisconnected(int client) override;
    void OnReceiveText(int client, const char* name, const char* text) override;
    void OnSendStart(int client, int size, uint32_t tag) override;
    int OnSendProgress(int client, int sent, int size, uint32_t tag) override { return 0; }
    void OnSendEnd(int client, int sent, int size, uint32_t tag) override;

    // Takes a fresh copy of the main window's settings (under its lock).
    void UpdateLibrary();
    PSharedLibrary& GetLibrary() { return m_library; }

private:
    void Post(UINT message, int value) const;
    void ReportPeers();
    void SendTree(int client);
    void SendFolders(int client, const char* argument);
    void SendFolderView(int client, const char* argument);
    void SendFileList(int client, const char* argument);
    void PlayRequest(const char* argument);
    void SendFileSize(int client, const char* argument);
    void SendFilePart(int client, const char* argument);
    void SendNotes(int client, const char* argument);

    PWndApp* m_owner;
    PThreadServer* m_thread;
    HWND m_window;
    PSharedLibrary m_library;
    PRecentFiles m_recent;
    std::atomic<int> m_transfers;
};
