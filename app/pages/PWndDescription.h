// The description editor window: the library's folders beside the editor of
// their description texts; it comes with the description editor.
#pragma once
#include "SWnd.h"

class PWndDescription : public SWnd
{
public:
    PWndDescription() {}
    ~PWndDescription() override {}
    // Lists the library's folders.
    bool LoadTree() { return true; }
};
