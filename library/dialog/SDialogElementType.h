// One of the 31 element types of a dialog description: the index the element
// records carry and the display name the toolbox shows and sections are named by.
#pragma once
#include "SString.h"

class SDialogElementType
{
public:
    SDialogElementType() : index(-1), name("") {}
    SDialogElementType(short index, const char* name) : index(index), name(name) {}

    // The display name without blanks and tabs ("ExtendedList").
    SString GetBareName() const { return name.StripBlanks(true); }
    // What a section header holds: the bare name in capitals ("EXTENDEDLIST").
    SString GetSectionName() const { return GetBareName().ToUpper(); }

    short index;
    SString name;
};
