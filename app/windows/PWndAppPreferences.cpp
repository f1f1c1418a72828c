// The Preferences dialog of the main window.
#include "PWndApp.h"

void PWndApp::ShowPreferences()
{
    ++m_preferencesRequests;
}
