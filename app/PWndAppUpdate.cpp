// The update check and the hand-over to the updater.
#include "PWndApp.h"

bool PWndApp::CheckUpdate() { return false; }
