// The browsing connection to a remote library; its end is the main window's
// disconnection. It keeps the name, host text and port it was connected with
// (the library keeps only the resolved address).
#pragma once
#include "SSocketClient.h"

class PWndApp;

class PSocketClient : public SSocketClient
{
public:
    PSocketClient() : m_owner(nullptr), m_port(0) {}
    ~PSocketClient() override { m_owner = nullptr; }

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }
    void SetConnection(const char* name, const char* host, int port);
    const SString& GetName() const { return m_name; }
    const SString& GetHostName() const { return m_hostName; }
    int GetPort() const { return m_port; }
    // The access key as text, for the download thread's own connection.
    SString GetAccessText();

    void OnDisconnected() override;

private:
    PWndApp* m_owner;
    SString m_name;
    SString m_hostName;
    int m_port;
};
