#include "PSocketClient.h"
#include "PWndApp.h"

void PSocketClient::SetConnection(const char* name, const char* host, int port)
{
    m_name = name ? name : "";
    m_hostName = host ? host : "";
    m_port = port;
}

SString PSocketClient::GetAccessText()
{
    SMemory& key = GetAccessKey();
    SString text;
    text.Assign(reinterpret_cast<const char*>(key.GetData()), key.GetSize());
    return text;
}

void PSocketClient::OnDisconnected()
{
    if (m_owner)
        m_owner->OnDisconnected();
}
