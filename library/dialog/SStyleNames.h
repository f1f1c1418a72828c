// The style names of each element type in the order the writer tests them: the
// STYLE word's names and the EXSTYLE word's, by the values of the Windows headers.
#pragma once
#include "SPlatform.h"

class SStyleNames
{
public:
    struct _SName
    {
        const char* name;
        DWORD value;
        // The tab control's two names the writer follows with two blanks.
        bool twoBlanks;
    };

    // The names of type 0 to 30; a type outside has none.
    static SStyleNames ForType(int type);
    // "WS_VISIBLE" and "WS_DISABLED", which every type knows in STYLE.
    static const _SName* GetCommon(int* count);

    const _SName* style;
    int styleCount;
    const _SName* exstyle;
    int exstyleCount;
};
