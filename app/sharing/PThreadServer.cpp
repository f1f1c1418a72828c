#include "PThreadServer.h"
#include "PSocketServer.h"
#include "PWndApp.h"

bool PThreadServer::Run()
{
    m_server = new PSocketServer(m_owner, this);
    const PSettings::_SServer& settings = m_server->GetLibrary().GetServer();
    m_server->SetAccessCode(settings.password.GetText());
    if (m_server->Listen(settings.port))
        return true;
    const int port = settings.port;
    delete m_server;
    m_server = nullptr;
    if (m_owner && m_owner->GetHandle())
        PostMessageA(m_owner->GetHandle(), PWM_SHARINGFAILED, static_cast<WPARAM>(port), 0);
    return false;
}

void PThreadServer::OnLoopEnd()
{
    if (!m_server)
        return;
    m_server->CloseAll();
    delete m_server;
    m_server = nullptr;
    m_peerCount = 0;
}
