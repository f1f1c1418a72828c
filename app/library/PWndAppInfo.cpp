// The information pane: counts of the selected subtree and the folder's web link.
#include "PWndApp.h"

bool PWndApp::UpdateInfoText() { return false; }
