// The browsing connection to a remote library; its end is the main window's
// disconnection.
#pragma once
#include "SSocketClient.h"

class PWndApp;

class PSocketClient : public SSocketClient
{
public:
    PSocketClient() : m_owner(nullptr) {}
    ~PSocketClient() override {}

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }

private:
    PWndApp* m_owner;
};
