// One mouse cursor chosen by a library cursor number: 0 to 13 are system
// cursors, 14 to 19 are drawn by the library, anything else is the arrow.
#pragma once
#include "SPlatform.h"

class SCursor
{
public:
    explicit SCursor(int number);
    virtual ~SCursor();
    SCursor(const SCursor&) = delete;
    SCursor& operator=(const SCursor&) = delete;

    bool Load(int number);
    void Release();

    HCURSOR GetHandle() const { return cursor; }
    bool IsShared() const { return shared; }

private:
    bool shared;     // a system cursor: never destroyed
    HCURSOR cursor;  // null when none
};
