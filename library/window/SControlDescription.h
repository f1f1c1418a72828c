// What SWndDialog::AddChild reads of a control's description. The description
// classes belong to the dialog layer above this one; they implement this so the
// window layer reads them without including them.
#pragma once
#include "SString.h"

class SControlDescription
{
public:
    virtual ~SControlDescription() {}
    virtual unsigned short GetId() const = 0;
    virtual SString GetName() const = 0;
    // Empty when the description gives no font face.
    virtual SString GetFontName() const = 0;
    // The font height as CreateFont takes it: negative for a character height.
    virtual short GetFontSize() const = 0;
    // Style bits: 1 bold, 2 italic, 4 underline, 8 strikeout.
    virtual int GetFontStyle() const = 0;
};
