// What the play window and the taskbar strip show of a playing file: the names
// taken from its path, its times, and labels whose text and colour change only
// when they differ, so that the 20 ms updates do not flicker.
#pragma once
#include "SPlatform.h"
#include "SString.h"

class SMediaCtrl;

class PTrackText
{
public:
    // The folder above the file's folder (its part three from the end, without
    // its separator), the file's folder and the file's title; "" for a part the
    // path lacks.
    struct _SNames
    {
        SString upper;
        SString folder;
        SString title;
    };

    static _SNames GetNames(const char* path);
    // Whole seconds as "#h:#+m:#+s": hours unpadded, minutes and seconds in two digits.
    static SString FormatSeconds(int seconds);
    static void SetText(SMediaCtrl& label, const char* text);
    static void SetColor(SMediaCtrl& label, COLORREF color);
};
