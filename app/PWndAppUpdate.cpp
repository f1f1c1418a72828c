// The update check: asks the update host for the published version and, when
// it differs, closes the program so that WinMain hands over to the updater.
#include "PWndApp.h"
#include <cstdlib>
#include "Hosts.h"
#include "SGlobals.h"
#include "SLibrary.h"
#include "SMemory.h"

namespace
{
// A published version counts only when line 1 looks like a version (two dots)
// and line 2 holds a checksum.
bool IsDifferentVersion(const SString& version, const SString& checksum)
{
    return version.CountChar('.') == 2 && version != PWndApp::VERSION && checksum.GetText() && atoi(checksum.GetText()) != 0;
}
}

bool PWndApp::CheckUpdate()
{
    if (!IsLocal())
        return true;
    const char* const language = " us";
    SMemory file;
    if (!m_network.Download(&file, (SString("http://") + UPDATE_HOST + "/klvsn.ver").GetText(), 1024, 0))
    {
        Ask("Connection failed.", "KLV Sonavel", MB_ICONINFORMATION);
        return true;
    }
    file.SeekToStart();
    const SString version = file.ReadLine();
    const SString checksum = file.ReadLine();
    if (!IsDifferentVersion(version, checksum))
    {
        Ask("You have the latest updates installed.", "KLV Sonavel", MB_ICONINFORMATION);
        return true;
    }
    UpdaterCommandLine = SString("\"") + GetProgramFileName().GetText() + "\" " + language;
    Close();
    return true;
}
