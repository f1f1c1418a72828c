// The media player's class and interface identifiers: wmp.h declares them,
// but no import library defines them, so they are made here once.
#include "SPlatform.h"
#include <ole2.h>
#include <initguid.h>
#include <wmp.h>
#include "SOcxInterfaces.h"

// {A1D1110E-D545-476A-9A78-AC3E4CB1E6BD}
DEFINE_GUID(IID_IWMPControls3, 0xa1d1110e, 0xd545, 0x476a, 0x9a, 0x78, 0xac, 0x3e, 0x4c, 0xb1, 0xe6, 0xbd);
