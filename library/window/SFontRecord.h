// A font by face name and point size, as the printer keeps its default and current font.
#pragma once
#include "SString.h"

struct SFontRecord
{
    SString face = "arial";
    int points = 11;
};
