#include "SDialogCtrl.h"

SDialogCtrl::SDialogCtrl()
{
    SetTypeId(STYPE_DIALOG);
}

SDialogCtrl::~SDialogCtrl() = default;

bool SDialogCtrl::BuildWindow(SVirtualFile* description, SWndDialog* dialog, HWND parent,
                              SResource* resources, bool topLevel, LPARAM value)
{
    return false;
}

// The window layer's way to the builder (it cannot include this layer).
bool BuildDialogWindow(SVirtualFile* description, SWndDialog* dialog, HWND parent,
                       SResource* resources, bool topLevel, LPARAM value)
{
    return SDialogCtrl::BuildWindow(description, dialog, parent, resources, topLevel, value);
}
