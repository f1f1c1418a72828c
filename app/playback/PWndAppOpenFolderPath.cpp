#include "PWndApp.h"

bool PWndApp::OpenFolderPath(const char* folder, const char* select, bool fromThumbs)
{
    m_currentFolder.Set("");
    return OpenFolder(folder, select, fromThumbs);
}
