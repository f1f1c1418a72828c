// The help window: the program's documentation page; it comes with the help window.
#pragma once
#include "SWnd.h"

class PWndHelp : public SWnd
{
public:
    PWndHelp() {}
    ~PWndHelp() override {}
};
