// One update of the main program: the version file, the new program file
// written beside the old one and checked, the replacement and the restart.
// The old file is left as it was until a complete, checked copy replaces it
// in one rename, so a failure or a stop at any step never loses it.
#pragma once
#include "SPlatform.h"
#include <cstdint>
#include "SDisk.h"
#include "SNetwork.h"
#include "SString.h"
#include "SSystem.h"

class PUpdate
{
public:
    // How long the replacement and the restart wait for the main program to
    // finish ending, and how often they look.
    static const DWORD WAIT_MS = 10000;
    static const DWORD RETRY_MS = 200;

    PUpdate(SNetwork& network, const char* programPath, bool french);

    // The steps below in order; the main program is started again in every
    // case. True when its file was replaced.
    bool Run();
    // The low 32 bits of line 2 of the version file, read as a 64-bit decimal
    // number; 0 (no update) when the file cannot be fetched.
    uint32_t DownloadChecksum();
    // Writes the program file beside the old one (GetNewPath), then reads it
    // back: true when it is complete and its CRC-32 is the checksum.
    bool DownloadProgram(uint32_t checksum);
    // Renames the checked file over the old one, retried while the main
    // program still holds it.
    bool ReplaceProgram();
    // Starts the main program once no process runs its file any more: a copy
    // started while the old one still ends would end at once as a second copy.
    bool RestartProgram();

    // "http://" + host + "/klvsn", "_fr" for the French files, and the extension.
    SString GetAddress(const char* extension) const;
    SString GetNewPath() const;

private:
    SNetwork& m_network;
    SString m_programPath;
    bool m_french;
    SDisk m_disk;
    SSystem m_system;
};
