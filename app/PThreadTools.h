// A background-job thread of the main window; built and destroyed with it,
// never started.
#pragma once
#include "SThread.h"

class PWndApp;

class PThreadTools : public SThread
{
public:
    PThreadTools() : m_owner(nullptr) {}
    ~PThreadTools() override { Stop(); }

    void SetOwner(PWndApp* owner) { m_owner = owner; }
    PWndApp* GetOwner() const { return m_owner; }

private:
    PWndApp* m_owner;
};
